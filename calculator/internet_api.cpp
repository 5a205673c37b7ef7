#include "calculator/internet_api.h"

#include "base/status.h"
#include "platform/system_function.h"

namespace vistrel {

namespace {

// WinINet's functions, bound when the first page is fetched (platform/system_function.h). Where
// wininet.dll cannot be loaded, every call fails with the loader's error, as a failed connection
// does, and the fetch reports it.
class PlatformInternet final : public InternetApi {
public:
    PlatformInternet() noexcept {
        const HMODULE wininet = LoadSystemLibrary(L"wininet.dll");
        loadError_ = wininet == nullptr ? GetLastError() : ERROR_SUCCESS;
        open_ = FunctionOf<decltype(InternetOpenW)>(wininet, "InternetOpenW");
        setOption_ = FunctionOf<decltype(InternetSetOptionW)>(wininet, "InternetSetOptionW");
        connect_ = FunctionOf<decltype(InternetConnectW)>(wininet, "InternetConnectW");
        openRequest_ = FunctionOf<decltype(HttpOpenRequestW)>(wininet, "HttpOpenRequestW");
        sendRequest_ = FunctionOf<decltype(HttpSendRequestW)>(wininet, "HttpSendRequestW");
        queryInfo_ = FunctionOf<decltype(HttpQueryInfoW)>(wininet, "HttpQueryInfoW");
        queryDataAvailable_ =
            FunctionOf<decltype(InternetQueryDataAvailable)>(wininet, "InternetQueryDataAvailable");
        read_ = FunctionOf<decltype(InternetReadFile)>(wininet, "InternetReadFile");
        close_ = FunctionOf<decltype(InternetCloseHandle)>(wininet, "InternetCloseHandle");
        crackUrl_ = FunctionOf<decltype(InternetCrackUrlW)>(wininet, "InternetCrackUrlW");
    }

    BOOL CrackUrl(const wchar_t* url, URL_COMPONENTSW* parts) const noexcept {
        if (!Bound(crackUrl_)) return FALSE;
        return crackUrl_(url, 0, 0, parts);
    }

    HINTERNET Open(const wchar_t* agent, DWORD accessType, const wchar_t* proxy,
                   const wchar_t* proxyBypass, DWORD flags) noexcept override {
        if (!Bound(open_)) return nullptr;
        return open_(agent, accessType, proxy, proxyBypass, flags);
    }
    BOOL SetOption(HINTERNET internet, DWORD option, void* buffer,
                   DWORD bufferLength) noexcept override {
        if (!Bound(setOption_)) return FALSE;
        return setOption_(internet, option, buffer, bufferLength);
    }
    HINTERNET Connect(HINTERNET internet, const wchar_t* serverName, INTERNET_PORT port,
                      const wchar_t* userName, const wchar_t* password, DWORD service, DWORD flags,
                      DWORD_PTR context) noexcept override {
        if (!Bound(connect_)) return nullptr;
        return connect_(internet, serverName, port, userName, password, service, flags, context);
    }
    HINTERNET OpenRequest(HINTERNET connection, const wchar_t* verb, const wchar_t* objectName,
                          const wchar_t* version, const wchar_t* referrer,
                          const wchar_t** acceptTypes, DWORD flags,
                          DWORD_PTR context) noexcept override {
        if (!Bound(openRequest_)) return nullptr;
        return openRequest_(connection, verb, objectName, version, referrer, acceptTypes, flags,
                            context);
    }
    BOOL SendRequest(HINTERNET request, const wchar_t* headers, DWORD headersLength, void* optional,
                     DWORD optionalLength) noexcept override {
        if (!Bound(sendRequest_)) return FALSE;
        return sendRequest_(request, headers, headersLength, optional, optionalLength);
    }
    BOOL QueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                   DWORD* index) noexcept override {
        if (!Bound(queryInfo_)) return FALSE;
        return queryInfo_(request, infoLevel, buffer, bufferLength, index);
    }
    BOOL QueryDataAvailable(HINTERNET file, DWORD* bytesAvailable, DWORD flags,
                            DWORD_PTR context) noexcept override {
        if (!Bound(queryDataAvailable_)) return FALSE;
        return queryDataAvailable_(file, bytesAvailable, flags, context);
    }
    BOOL Read(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) noexcept override {
        if (!Bound(read_)) return FALSE;
        return read_(file, buffer, bytesToRead, bytesRead);
    }
    BOOL Close(HINTERNET internet) noexcept override {
        if (!Bound(close_)) return FALSE;
        return close_(internet);
    }

private:
    // Whether `function` was found; if not, the last error says why, as a failed call's does.
    template <typename Function>
    bool Bound(Function* function) const noexcept {
        if (function != nullptr) return true;
        SetLastError(Win32Failed(loadError_) ? loadError_ : ERROR_PROC_NOT_FOUND);
        return false;
    }

    DWORD loadError_ = ERROR_SUCCESS;
    decltype(InternetOpenW)* open_ = nullptr;
    decltype(InternetSetOptionW)* setOption_ = nullptr;
    decltype(InternetConnectW)* connect_ = nullptr;
    decltype(HttpOpenRequestW)* openRequest_ = nullptr;
    decltype(HttpSendRequestW)* sendRequest_ = nullptr;
    decltype(HttpQueryInfoW)* queryInfo_ = nullptr;
    decltype(InternetQueryDataAvailable)* queryDataAvailable_ = nullptr;
    decltype(InternetReadFile)* read_ = nullptr;
    decltype(InternetCloseHandle)* close_ = nullptr;
    decltype(InternetCrackUrlW)* crackUrl_ = nullptr;
};

PlatformInternet& ThePlatformInternet() noexcept {
    static PlatformInternet internet;
    return internet;
}

}  // namespace

InternetApi& WinInet() noexcept { return ThePlatformInternet(); }

BOOL CrackUrl(const wchar_t* url, URL_COMPONENTSW* parts) noexcept {
    return ThePlatformInternet().CrackUrl(url, parts);
}

}  // namespace vistrel
