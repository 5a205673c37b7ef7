; The Vistrel installer, in Polish. Built by makensis with:
;   -DVERSION=1.0.0 -DOUTFILE=<setup.exe> -DDLL64=<64-bit Vistrel.dll>
;   and for the installer of 32-bit Windows and Office: -DDLL32=<32-bit Vistrel.dll>
;   or, for a 64-bit-only installer (64-bit spreadsheets only): -DONLY64
; The 32-bit installer puts the 32-bit library in the installation folder and registers it with
; its own DllRegisterServer; on 64-bit Windows it also puts the 64-bit library into x64\ and
; registers it through the 64-bit regsvr32, in the 64-bit registry view.
;
; Command line: /S silent; /D=<folder> the installation folder; /ADRES=<url> the rate page's
; address (HKCU\Software\Brevant\Vistrel, AdresStronyOdsetek); /WBUDOWANE the rates built into
; the library, without fetching the page (the same key, StopyWbudowane, DWORD 1).

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

!define PRODUCT "Vistrel"
!define PUBLISHER "Brevant"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vistrel"
!define SETTING_KEY "Software\Brevant\Vistrel"
!define SETTING_VALUE "AdresStronyOdsetek"
!define BUILT_IN_RATES_VALUE "StopyWbudowane"

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
  Delete "$INSTDIR\CZYTAJ.txt"
  Delete "$INSTDIR\odinstaluj.exe"
  RMDir "$INSTDIR"

  DeleteRegValue HKCU "${SETTING_KEY}" "${SETTING_VALUE}"
  DeleteRegValue HKCU "${SETTING_KEY}" "${BUILT_IN_RATES_VALUE}"
  DeleteRegKey /ifempty HKCU "${SETTING_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Brevant"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
