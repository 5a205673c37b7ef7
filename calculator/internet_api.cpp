#include "calculator/internet_api.h"

namespace vistrel {

namespace {

class PlatformInternet final : public InternetApi {
public:
    HINTERNET Open(const wchar_t* agent, DWORD accessType, const wchar_t* proxy,
                   const wchar_t* proxyBypass, DWORD flags) noexcept override {
        return InternetOpenW(agent, accessType, proxy, proxyBypass, flags);
    }
    BOOL SetOption(HINTERNET internet, DWORD option, void* buffer,
                   DWORD bufferLength) noexcept override {
        return InternetSetOptionW(internet, option, buffer, bufferLength);
    }
    HINTERNET Connect(HINTERNET internet, const wchar_t* serverName, INTERNET_PORT port,
                      const wchar_t* userName, const wchar_t* password, DWORD service, DWORD flags,
                      DWORD_PTR context) noexcept override {
        return InternetConnectW(internet, serverName, port, userName, password, service, flags,
                                context);
    }
    HINTERNET OpenRequest(HINTERNET connection, const wchar_t* verb, const wchar_t* objectName,
                          const wchar_t* version, const wchar_t* referrer,
                          const wchar_t** acceptTypes, DWORD flags,
                          DWORD_PTR context) noexcept override {
        return HttpOpenRequestW(connection, verb, objectName, version, referrer, acceptTypes, flags,
                                context);
    }
    BOOL SendRequest(HINTERNET request, const wchar_t* headers, DWORD headersLength, void* optional,
                     DWORD optionalLength) noexcept override {
        return HttpSendRequestW(request, headers, headersLength, optional, optionalLength);
    }
    BOOL QueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                   DWORD* index) noexcept override {
        return HttpQueryInfoW(request, infoLevel, buffer, bufferLength, index);
    }
    BOOL QueryDataAvailable(HINTERNET file, DWORD* bytesAvailable, DWORD flags,
                            DWORD_PTR context) noexcept override {
        return InternetQueryDataAvailable(file, bytesAvailable, flags, context);
    }
    BOOL Read(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) noexcept override {
        return InternetReadFile(file, buffer, bytesToRead, bytesRead);
    }
    BOOL Close(HINTERNET internet) noexcept override { return InternetCloseHandle(internet); }
};

}  // namespace

InternetApi& WinInet() noexcept {
    static PlatformInternet internet;
    return internet;
}

}  // namespace vistrel
