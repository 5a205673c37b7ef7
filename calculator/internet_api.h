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
    virtual HINTERNET OpenUrl(HINTERNET internet, const wchar_t* url, const wchar_t* headers,
                              DWORD headersLength, DWORD flags, DWORD_PTR context) noexcept = 0;
    virtual BOOL QueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                           DWORD* index) noexcept = 0;
    virtual BOOL Read(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) noexcept = 0;
    virtual BOOL Close(HINTERNET internet) noexcept = 0;

protected:
    ~InternetApi() = default;
};

// The platform's WinINet.
InternetApi& WinInet() noexcept;

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
