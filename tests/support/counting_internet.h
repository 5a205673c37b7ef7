// The platform's WinINet with a record of every handle opened and closed and every option set,
// and one call that the test makes fail the way the platform fails it: nothing opened, nothing
// read.
#pragma once

#include <vector>

#include "calculator/internet_api.h"

namespace vistrel::test {

enum class InternetCall {
    None,
    Open,
    SetOption,
    Connect,
    OpenRequest,
    SendRequest,
    QueryInfo,
    QueryDataAvailable,
    Read
};

// One DWORD option set on a handle.
struct SetOptionCall {
    HINTERNET handle;
    DWORD option;
    DWORD value;

    friend bool operator==(const SetOptionCall&, const SetOptionCall&) = default;
};

class CountingInternet final : public InternetApi {
public:
    // Makes the `occurrence`-th call of `call` (counted from 1) fail.
    void FailAt(InternetCall call, int occurrence = 1) {
        failing_ = call;
        failingOccurrence_ = occurrence;
    }

    HINTERNET Open(const wchar_t* agent, DWORD accessType, const wchar_t* proxy,
                   const wchar_t* proxyBypass, DWORD flags) noexcept override {
        if (Fails(InternetCall::Open)) return nullptr;
        return Opened(WinInet().Open(agent, accessType, proxy, proxyBypass, flags));
    }
    BOOL SetOption(HINTERNET internet, DWORD option, void* buffer,
                   DWORD bufferLength) noexcept override {
        options_.push_back(
            {internet, option, bufferLength == sizeof(DWORD) ? *static_cast<DWORD*>(buffer) : 0});
        if (Fails(InternetCall::SetOption)) return FALSE;
        return WinInet().SetOption(internet, option, buffer, bufferLength);
    }
    HINTERNET Connect(HINTERNET internet, const wchar_t* serverName, INTERNET_PORT port,
                      const wchar_t* userName, const wchar_t* password, DWORD service, DWORD flags,
                      DWORD_PTR context) noexcept override {
        if (Fails(InternetCall::Connect)) return nullptr;
        return Opened(WinInet().Connect(internet, serverName, port, userName, password, service,
                                        flags, context));
    }
    HINTERNET OpenRequest(HINTERNET connection, const wchar_t* verb, const wchar_t* objectName,
                          const wchar_t* version, const wchar_t* referrer,
                          const wchar_t** acceptTypes, DWORD flags,
                          DWORD_PTR context) noexcept override {
        requestFlags_.push_back(flags);
        if (Fails(InternetCall::OpenRequest)) return nullptr;
        return Opened(WinInet().OpenRequest(connection, verb, objectName, version, referrer,
                                            acceptTypes, flags, context));
    }
    BOOL SendRequest(HINTERNET request, const wchar_t* headers, DWORD headersLength, void* optional,
                     DWORD optionalLength) noexcept override {
        if (Fails(InternetCall::SendRequest)) return FALSE;
        return WinInet().SendRequest(request, headers, headersLength, optional, optionalLength);
    }
    BOOL QueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                   DWORD* index) noexcept override {
        if (Fails(InternetCall::QueryInfo)) return FALSE;
        return WinInet().QueryInfo(request, infoLevel, buffer, bufferLength, index);
    }
    BOOL QueryDataAvailable(HINTERNET file, DWORD* bytesAvailable, DWORD flags,
                            DWORD_PTR context) noexcept override {
        if (Fails(InternetCall::QueryDataAvailable)) return FALSE;
        return WinInet().QueryDataAvailable(file, bytesAvailable, flags, context);
    }
    BOOL Read(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) noexcept override {
        readSizes_.push_back(bytesToRead);
        if (Fails(InternetCall::Read)) return FALSE;
        return WinInet().Read(file, buffer, bytesToRead, bytesRead);
    }
    BOOL Close(HINTERNET internet) noexcept override {
        closed_.push_back(internet);
        return WinInet().Close(internet);
    }

    // Handles in the order they were opened and closed.
    const std::vector<HINTERNET>& opened() const { return opened_; }
    const std::vector<HINTERNET>& closed() const { return closed_; }
    // Every option set, the flags of every request opened and the size asked of every read.
    const std::vector<SetOptionCall>& options() const { return options_; }
    const std::vector<DWORD>& requestFlags() const { return requestFlags_; }
    const std::vector<DWORD>& readSizes() const { return readSizes_; }
    int calls() const { return calls_ + static_cast<int>(closed_.size()); }

private:
    bool Fails(InternetCall call) {
        ++calls_;
        const int count = ++counts_[static_cast<int>(call)];
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
    int calls_ = 0;
    int counts_[static_cast<int>(InternetCall::Read) + 1] = {};
    std::vector<HINTERNET> opened_;
    std::vector<HINTERNET> closed_;
    std::vector<SetOptionCall> options_;
    std::vector<DWORD> requestFlags_;
    std::vector<DWORD> readSizes_;
};

}  // namespace vistrel::test
