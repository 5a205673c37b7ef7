#include "calculator/internet_api.h"

namespace vistrel {

namespace {

class PlatformInternet final : public InternetApi {
public:
    HINTERNET Open(const wchar_t* agent, DWORD accessType, const wchar_t* proxy,
                   const wchar_t* proxyBypass, DWORD flags) noexcept override {
        return InternetOpenW(agent, accessType, proxy, proxyBypass, flags);
    }
    HINTERNET OpenUrl(HINTERNET internet, const wchar_t* url, const wchar_t* headers,
                      DWORD headersLength, DWORD flags, DWORD_PTR context) noexcept override {
        return InternetOpenUrlW(internet, url, headers, headersLength, flags, context);
    }
    BOOL QueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                   DWORD* index) noexcept override {
        return HttpQueryInfoW(request, infoLevel, buffer, bufferLength, index);
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
