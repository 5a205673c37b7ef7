// The WinINet calls the page fetch makes, behind an interface so that tests can count the
// handles opened and closed, and fail a call, while the requests still go over the network.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

namespace vistrel {

class InternetApi {
public:
    virtual HINTERNET Open(const wchar_t* agent, DWORD accessType, const wchar_t* proxy,
                           const wchar_t* proxyBypass, DWORD flags) noexcept = 0;
    virtual BOOL SetOption(HINTERNET internet, DWORD option, void* buffer,
                           DWORD bufferLength) noexcept = 0;
    virtual HINTERNET Connect(HINTERNET internet, const wchar_t* serverName, INTERNET_PORT port,
                              const wchar_t* userName, const wchar_t* password, DWORD service,
                              DWORD flags, DWORD_PTR context) noexcept = 0;
    virtual HINTERNET OpenRequest(HINTERNET connection, const wchar_t* verb,
                                  const wchar_t* objectName, const wchar_t* version,
                                  const wchar_t* referrer, const wchar_t** acceptTypes, DWORD flags,
                                  DWORD_PTR context) noexcept = 0;
    virtual BOOL SendRequest(HINTERNET request, const wchar_t* headers, DWORD headersLength,
                             void* optional, DWORD optionalLength) noexcept = 0;
    virtual BOOL QueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                           DWORD* index) noexcept = 0;
    virtual BOOL QueryDataAvailable(HINTERNET file, DWORD* bytesAvailable, DWORD flags,
                                    DWORD_PTR context) noexcept = 0;
    virtual BOOL Read(HINTERNET file, void* buffer, DWORD bytesToRead,
                      DWORD* bytesRead) noexcept = 0;
    virtual BOOL Close(HINTERNET internet) noexcept = 0;

protected:
    ~InternetApi() = default;
};

// The platform's WinINet.
InternetApi& WinInet() noexcept;

// The platform's InternetCrackUrlW (no flags), bound with the calls above. It opens nothing, so
// it stays outside the interface that tests count.
BOOL CrackUrl(const wchar_t* url, URL_COMPONENTSW* parts) noexcept;

// Owns one handle opened through `api` and closes it there, once.
class InternetHandle {
public:
    InternetHandle(InternetApi& api, HINTERNET handle) noexcept : api_(api), handle_(handle) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() { reset(); }

    HINTERNET get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    void reset() noexcept {
        if (HINTERNET old = std::exchange(handle_, nullptr)) api_.Close(old);
    }

private:
    InternetApi& api_;
    HINTERNET handle_;
};

}  // namespace vistrel
