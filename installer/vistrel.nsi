; The Vistrel installer, in Polish. Built by makensis with:
;   -DVERSION=1.0.0 -DOUTFILE=<setup.exe> -DDLL64=<64-bit Vistrel.dll>
;   and for the installer of 32-bit Windows and Office: -DDLL32=<32-bit Vistrel.dll>
;   or, for a 64-bit-only installer (64-bit spreadsheets only): -DONLY64
; The 32-bit installer puts the 32-bit library in the installation folder and registers it with
; its own DllRegisterServer; on 64-bit Windows it also puts the 64-bit library into x64\ and
; registers it through the 64-bit regsvr32, in the 64-bit registry view.
;
; The installation is for every user of the computer unless asked otherwise: the smart tag lists
; (Recognizers, Actions) go under HKLM in each library's registry view, which Office 2003 and later
; read for every user, and an Active Setup entry writes them under HKCU once for each user at the
; user's next logon, for Office XP, which reads HKCU only. The installing user gets the HKCU lists
; at once from DllRegisterServer. /TYLKOJA, or the choice on the page "Dla kogo", installs for the
; installing user only: the HKCU lists of DllRegisterServer and nothing under HKLM's lists.
;
; Command line: /S silent; /D=<folder> the installation folder; /TYLKOJA for the installing user
; only; /ADRES=<url> the rate page's address (HKCU\Software\Brevant\Vistrel, AdresStronyOdsetek);
; /WBUDOWANE the rates built into the library, without fetching the page (the same key,
; StopyWbudowane, DWORD 1).

Unicode true
!ifdef ONLY64
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include "MUI2.nsh"
!include "x64.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "nsDialogs.nsh"

!define PRODUCT "Vistrel"
!define PUBLISHER "Brevant"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vistrel"
!define SETTING_KEY "Software\Brevant\Vistrel"
!define SETTING_VALUE "AdresStronyOdsetek"
!define BUILT_IN_RATES_VALUE "StopyWbudowane"
; The smart tag lists: the same names under HKCU (DllRegisterServer's) and HKLM (for all users).
!define SMART_TAG_KEY "Software\Microsoft\Office\Common\Smart Tag"
!define RECOGNIZER_ENTRY "Recognizers\Vistrel.STRecognizer"
!define ACTION_ENTRY "Actions\Vistrel.STAction"
!define RECOGNIZER_STATUS 8
; Active Setup runs StubPath once for each user whose HKCU copy of this key lacks this Version.
!define ACTIVE_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\{CAD6624C-6CD5-46D0-A428-86DF508F668A}"
!searchreplace ACTIVE_SETUP_VERSION "${VERSION}" "." ","
; The HKCU lists as a registry file in the installation folder, which StubPath imports.
!define USER_LISTS_FILE "znaczniki-uzytkownika.reg"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!ifdef ONLY64
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1045 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1045 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1045 "FileDescription" "Instalator Vistrel: odsetki za zwłokę w arkuszu Excel"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom ScopePage ScopePageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

; A library that does not register is taken back with the folder, and the installation ends
; with error level 3.
!macro FailRegistration DLL
  MessageBox MB_ICONSTOP|MB_OK "Nie udało się zarejestrować biblioteki ${DLL}." /SD IDOK
  SetOutPath "$TEMP"
  Delete "$INSTDIR\Vistrel.dll"
  Delete "$INSTDIR\x64\Vistrel.dll"
  RMDir "$INSTDIR\x64"
  RMDir "$INSTDIR"
  SetErrorLevel 3
  Abort
!macroend

; The registry view of the library that the installer itself loads: 64-bit for the 64-bit-only
; installer, otherwise 32-bit.
!macro UseOwnView
  !ifdef ONLY64
    SetRegView 64
  !else
    SetRegView 32
  !endif
!macroend

; 1 installs for every user of the computer, 0 for the installing user only (/TYLKOJA).
Var ForAllUsers
Var ScopeAllUsersButton

; The page "Dla kogo": every user of the computer (the default) or only the installing user.
Function ScopePage
  !insertmacro MUI_HEADER_TEXT "Dla kogo" "Wybierz, kto na tym komputerze będzie korzystał ze znacznika Vistrel."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 30u "Instalacja dla wszystkich użytkowników udostępnia znacznik każdemu, kto pracuje na tym komputerze w programie Excel. Instalacja tylko dla Ciebie udostępnia go wyłącznie Twojemu kontu."
  Pop $0
  ${NSD_CreateFirstRadioButton} 10u 40u -10u 12u "Dla wszystkich użytkowników tego komputera (zalecane)"
  Pop $ScopeAllUsersButton
  ${NSD_CreateAdditionalRadioButton} 10u 56u -10u 12u "Tylko dla mnie"
  Pop $1
  ${If} $ForAllUsers == 1
    ${NSD_Check} $ScopeAllUsersButton
  ${Else}
    ${NSD_Check} $1
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ScopePageLeave
  ${NSD_GetState} $ScopeAllUsersButton $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $ForAllUsers 1
  ${Else}
    StrCpy $ForAllUsers 0
  ${EndIf}
FunctionEnd

; The smart tag lists under ROOT in the current registry view, as DllRegisterServer writes them
; under HKCU: the action's entry is a key without values (NSIS makes a key only by writing a value).
!macro WriteSmartTagLists ROOT
  WriteRegDWORD ${ROOT} "${SMART_TAG_KEY}\${RECOGNIZER_ENTRY}" "Status" ${RECOGNIZER_STATUS}
  WriteRegStr ${ROOT} "${SMART_TAG_KEY}\${ACTION_ENTRY}" "" ""
  DeleteRegValue ${ROOT} "${SMART_TAG_KEY}\${ACTION_ENTRY}" ""
!macroend

; Our entries of the smart tag lists under ROOT in the current registry view, and the list keys
; that hold nothing else (those that no other smart tag and no Office uses).
!macro DeleteSmartTagLists ROOT
  DeleteRegKey ${ROOT} "${SMART_TAG_KEY}\${RECOGNIZER_ENTRY}"
  DeleteRegKey ${ROOT} "${SMART_TAG_KEY}\${ACTION_ENTRY}"
  DeleteRegKey /ifempty ${ROOT} "${SMART_TAG_KEY}\Recognizers"
  DeleteRegKey /ifempty ${ROOT} "${SMART_TAG_KEY}\Actions"
  DeleteRegKey /ifempty ${ROOT} "${SMART_TAG_KEY}"
  DeleteRegKey /ifempty ${ROOT} "Software\Microsoft\Office\Common"
  DeleteRegKey /ifempty ${ROOT} "Software\Microsoft\Office"
!macroend

; The registry view of the system's own programs (Explorer, which runs Active Setup, and reg.exe
; in System32): 64-bit on 64-bit Windows.
!macro UseSystemView
  !ifdef ONLY64
    SetRegView 64
  !else
    SetRegView 32
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !endif
!macroend

; For every user of the computer: the lists under HKLM in the view of each installed library, the
; registry file of the HKCU lists and the Active Setup entry that imports it at each user's logon.
Function InstallForAllUsers
  !ifdef ONLY64
    !insertmacro WriteSmartTagLists HKLM
  !else
    SetRegView 32
    !insertmacro WriteSmartTagLists HKLM
    ${If} ${RunningX64}
      SetRegView 64
      !insertmacro WriteSmartTagLists HKLM
    ${EndIf}
  !endif

  ; HKCU\Software\Microsoft\Office is the same for 32- and 64-bit programs: one file serves both.
  ; Without the file there is no Active Setup entry either, and the installation ends with error
  ; level 4.
  IntFmt $1 "%08x" ${RECOGNIZER_STATUS}
  ClearErrors
  FileOpen $0 "$INSTDIR\${USER_LISTS_FILE}" w
  FileWrite $0 "REGEDIT4$\r$\n$\r$\n"
  FileWrite $0 "[HKEY_CURRENT_USER\${SMART_TAG_KEY}\${RECOGNIZER_ENTRY}]$\r$\n"
  FileWrite $0 '"Status"=dword:$1$\r$\n$\r$\n'
  FileWrite $0 "[HKEY_CURRENT_USER\${SMART_TAG_KEY}\${ACTION_ENTRY}]$\r$\n$\r$\n"
  FileClose $0
  ${If} ${Errors}
    MessageBox MB_ICONSTOP|MB_OK "Nie udało się zapisać pliku $INSTDIR\${USER_LISTS_FILE}: użytkownicy programu Excel 2002 (XP) nie otrzymają znacznika." /SD IDOK
    SetErrorLevel 4
    Return
  ${EndIf}

  !insertmacro UseSystemView
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "" "${PRODUCT}"
  WriteRegExpandStr HKLM "${ACTIVE_SETUP_KEY}" "StubPath" '"%SystemRoot%\System32\reg.exe" import "$INSTDIR\${USER_LISTS_FILE}"'
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "Version" "${ACTIVE_SETUP_VERSION}"
  WriteRegDWORD HKLM "${ACTIVE_SETUP_KEY}" "IsInstalled" 1
  !insertmacro UseOwnView
FunctionEnd

; What InstallForAllUsers wrote, in every view it may have written it, and the Active Setup mark
; of the current user (Windows writes it under HKCU once StubPath has run for the user).
!macro RemoveForAllUsersInView
  !insertmacro DeleteSmartTagLists HKLM
  DeleteRegKey HKLM "${ACTIVE_SETUP_KEY}"
  DeleteRegKey HKCU "${ACTIVE_SETUP_KEY}"
!macroend

!macro RemoveForAllUsers
  SetRegView 32
  !insertmacro RemoveForAllUsersInView
  !ifdef ONLY64
    SetRegView 64
    !insertmacro RemoveForAllUsersInView
  !else
    ${If} ${RunningX64}
      SetRegView 64
      !insertmacro RemoveForAllUsersInView
    ${EndIf}
  !endif
  !insertmacro UseOwnView
  Delete "$INSTDIR\${USER_LISTS_FILE}"
!macroend

; An installation over an earlier one starts from neither kind: this one writes its own.
Function RemovePreviousForAllUsers
  !insertmacro RemoveForAllUsers
FunctionEnd

Function un.RemoveForAllUsers
  !insertmacro RemoveForAllUsers
FunctionEnd

; The value of /ADRES= on the command line into $R1, with the error flag set when there is none.
; NSIS's GetOptions would cut the value at its first "/", so the option is read here: the text
; after "/ADRES=" up to the next space, or between quotes when it starts with one.
Function ReadAddressOption
  ${GetParameters} $R0
  StrLen $R2 $R0
  StrCpy $R3 0
  search:
    IntCmp $R3 $R2 absent 0 absent
    StrCpy $R4 $R0 7 $R3
    StrCmp $R4 "/ADRES=" found
    IntOp $R3 $R3 + 1
    Goto search
  found:
    IntOp $R3 $R3 + 7
    StrCpy $R1 $R0 "" $R3
    StrCpy $R6 " "
    StrCpy $R4 $R1 1
    StrCmp $R4 '"' 0 +3
      StrCpy $R1 $R1 "" 1
      StrCpy $R6 '"'
    StrCpy $R5 0
  measure:
    StrCpy $R4 $R1 1 $R5
    StrCmp $R4 "" cut
    StrCmp $R4 $R6 cut
    IntOp $R5 $R5 + 1
    Goto measure
  cut:
    StrCpy $R1 $R1 $R5
    ClearErrors
    Return
  absent:
    StrCpy $R1 ""
    SetErrors
FunctionEnd

Function .onInit
  !insertmacro UseOwnView
  StrCpy $ForAllUsers 1
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/TYLKOJA" $R1
  ${IfNot} ${Errors}
    StrCpy $ForAllUsers 0
  ${EndIf}
  !ifdef ONLY64
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP|MB_OK "Ten instalator jest przeznaczony dla 64-bitowego systemu Windows." /SD IDOK
      Abort
    ${EndIf}
  !endif
FunctionEnd

Function un.onInit
  !insertmacro UseOwnView
FunctionEnd

Section "Vistrel" SectionMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  !ifdef ONLY64
    File "/oname=Vistrel.dll" "${DLL64}"
    ClearErrors
    RegDLL "$INSTDIR\Vistrel.dll"
    ${If} ${Errors}
      !insertmacro FailRegistration "$INSTDIR\Vistrel.dll"
    ${EndIf}
  !else
    File "/oname=Vistrel.dll" "${DLL32}"
    ClearErrors
    RegDLL "$INSTDIR\Vistrel.dll"
    ${If} ${Errors}
      !insertmacro FailRegistration "$INSTDIR\Vistrel.dll"
    ${EndIf}
    ${If} ${RunningX64}
      SetOutPath "$INSTDIR\x64"
      File "/oname=Vistrel.dll" "${DLL64}"
      ${DisableX64FSRedirection}
      ExecWait '"$WINDIR\System32\regsvr32.exe" /s "$INSTDIR\x64\Vistrel.dll"' $0
      ${EnableX64FSRedirection}
      ${If} $0 != 0
        UnRegDLL "$INSTDIR\Vistrel.dll"
        !insertmacro FailRegistration "$INSTDIR\x64\Vistrel.dll"
      ${EndIf}
      SetOutPath "$INSTDIR"
    ${EndIf}
  !endif
  File "/oname=CZYTAJ.txt" "${README}"

  Call RemovePreviousForAllUsers
  ${If} $ForAllUsers == 1
    Call InstallForAllUsers
  ${EndIf}

  ; The rate page's address, when the command line gives one.
  Call ReadAddressOption
  ${IfNot} ${Errors}
    WriteRegStr HKCU "${SETTING_KEY}" "${SETTING_VALUE}" "$R1"
  ${EndIf}

  ; The built-in rates, for a computer that cannot reach the page, when the command line asks.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/WBUDOWANE" $R1
  ${IfNot} ${Errors}
    WriteRegDWORD HKCU "${SETTING_KEY}" "${BUILT_IN_RATES_VALUE}" 1
  ${EndIf}

  WriteUninstaller "$INSTDIR\odinstaluj.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}: odsetki za zwłokę w arkuszu Excel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\odinstaluj.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\odinstaluj.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\odinstaluj.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !ifdef ONLY64
    UnRegDLL "$INSTDIR\Vistrel.dll"
  !else
    UnRegDLL "$INSTDIR\Vistrel.dll"
    ${If} ${RunningX64}
    ${AndIf} ${FileExists} "$INSTDIR\x64\Vistrel.dll"
      ${DisableX64FSRedirection}
      ExecWait '"$WINDIR\System32\regsvr32.exe" /u /s "$INSTDIR\x64\Vistrel.dll"'
      ${EnableX64FSRedirection}
    ${EndIf}
    Delete "$INSTDIR\x64\Vistrel.dll"
    RMDir "$INSTDIR\x64"
  !endif
  Delete "$INSTDIR\Vistrel.dll"
  Call un.RemoveForAllUsers
  Delete "$INSTDIR\CZYTAJ.txt"
  Delete "$INSTDIR\odinstaluj.exe"
  RMDir "$INSTDIR"

  ; DllUnregisterServer took our HKCU list entries; the list keys it leaves go when empty (HKCU's
  ; Office settings are the same in both registry views).
  !insertmacro DeleteSmartTagLists HKCU

  DeleteRegValue HKCU "${SETTING_KEY}" "${SETTING_VALUE}"
  DeleteRegValue HKCU "${SETTING_KEY}" "${BUILT_IN_RATES_VALUE}"
  DeleteRegKey /ifempty HKCU "${SETTING_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Brevant"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
