// The platform's WinINet with a record of every handle opened and closed, and one call that the
// test makes fail the way the platform fails it: nothing opened, nothing read.
#pragma once

#include <vector>

#include "calculator/internet_api.h"

namespace vistrel::test {

enum class InternetCall { None, Open, OpenUrl, QueryInfo, Read };

class CountingInternet final : public InternetApi {
public:
    // Makes the `occurrence`-th call of `call` (counted from 1) fail.
    void FailAt(InternetCall call, int occurrence = 1) {
        failing_ = call;
        failingOccurrence_ = occurrence;
    }

    HINTERNET Open(const wchar_t* agent, DWORD accessType, const wchar_t* proxy,
                   const wchar_t* proxyBypass, DWORD flags) noexcept override {
        if (Fails(InternetCall::Open, opens_)) return nullptr;
        return Opened(WinInet().Open(agent, accessType, proxy, proxyBypass, flags));
    }
    HINTERNET OpenUrl(HINTERNET internet, const wchar_t* url, const wchar_t* headers,
                      DWORD headersLength, DWORD flags, DWORD_PTR context) noexcept override {
        urlFlags_.push_back(flags);
        if (Fails(InternetCall::OpenUrl, urlOpens_)) return nullptr;
        return Opened(WinInet().OpenUrl(internet, url, headers, headersLength, flags, context));
    }
    BOOL QueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                   DWORD* index) noexcept override {
        if (Fails(InternetCall::QueryInfo, queries_)) return FALSE;
        return WinInet().QueryInfo(request, infoLevel, buffer, bufferLength, index);
    }
    BOOL Read(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) noexcept override {
        readSizes_.push_back(bytesToRead);
        if (Fails(InternetCall::Read, reads_)) return FALSE;
        return WinInet().Read(file, buffer, bytesToRead, bytesRead);
    }
    BOOL Close(HINTERNET internet) noexcept override {
        closed_.push_back(internet);
        return WinInet().Close(internet);
    }

    // Handles in the order they were opened and closed.
    const std::vector<HINTERNET>& opened() const { return opened_; }
    const std::vector<HINTERNET>& closed() const { return closed_; }
    // The flags of every URL opened and the size asked of every read.
    const std::vector<DWORD>& urlFlags() const { return urlFlags_; }
    const std::vector<DWORD>& readSizes() const { return readSizes_; }
    int calls() const { return opens_ + urlOpens_ + queries_ + reads_ + static_cast<int>(closed_.size()); }

private:
    bool Fails(InternetCall call, int& count) {
        ++count;
        if (failing_ != call || count != failingOccurrence_) return false;
        SetLastError(ERROR_INTERNET_CANNOT_CONNECT);
        return true;
    }
    HINTERNET Opened(HINTERNET handle) {
        if (handle != nullptr) opened_.push_back(handle);
        return handle;
    }

    InternetCall failing_ = InternetCall::None;
    int failingOccurrence_ = 0;
    int opens_ = 0;
    int urlOpens_ = 0;
    int queries_ = 0;
    int reads_ = 0;
    std::vector<HINTERNET> opened_;
    std::vector<HINTERNET> closed_;
    std::vector<DWORD> urlFlags_;
    std::vector<DWORD> readSizes_;
};

}  // namespace vistrel::test
