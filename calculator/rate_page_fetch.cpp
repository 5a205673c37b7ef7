#include "calculator/rate_page_fetch.h"

#include <algorithm>
#include <cstdlib>

#include "calculator/download_buffer.h"

namespace vistrel {

namespace {

constexpr wchar_t UserAgent[] = L"Brevant Smart tag";
// The ministry writes the page in Latin-2, whatever the user's ANSI code page is.
constexpr UINT RatePageCodePage = 28592;

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the held text is UTF-16 on Windows");

// An error page must not become the rate page: only a 2xx answer counts.
bool AnswersSuccess(InternetApi& internet, HINTERNET request) noexcept {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!internet.QueryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &size, nullptr)) {
        return false;
    }
    return status >= 200 && status <= 299;
}

// Reads the body at `url` into `buffer`; both handles are closed, request first, on return.
bool Download(InternetApi& internet, const wchar_t* url, DownloadBuffer& buffer) noexcept {
    InternetHandle root(internet, internet.Open(UserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr,
                                                nullptr, 0));
    if (!root) return false;
    InternetHandle request(internet, internet.OpenUrl(root.get(), url, nullptr, 0,
                                                      INTERNET_FLAG_RELOAD, 0));
    if (!request || !AnswersSuccess(internet, request.get())) return false;
    return ReadBody(buffer, [&](std::byte* destination, std::uint32_t size, std::uint32_t& count) {
        DWORD delivered = 0;
        if (!internet.Read(request.get(), destination, size, &delivered)) return false;
        count = delivered;
        return true;
    });
}

// Converts the received bytes into a new text for `page`; false when the text cannot be had.
bool HoldText(const DownloadBuffer& buffer, RatePage& page) noexcept {
    const auto* bytes = reinterpret_cast<const char*>(buffer.Data());
    const int count = static_cast<int>(buffer.Received());
    const int length =
        count == 0 ? 0 : MultiByteToWideChar(RatePageCodePage, 0, bytes, count, nullptr, 0);
    // A held empty page still needs a text that is not null.
    auto* text = static_cast<char16_t*>(
        std::malloc(static_cast<std::size_t>(std::max(length, 1)) * sizeof(char16_t)));
    if (text == nullptr) return false;
    if (length > 0) {
        MultiByteToWideChar(RatePageCodePage, 0, bytes, count, reinterpret_cast<wchar_t*>(text),
                            length);
    }
    page.text = text;
    page.length = length;
    return true;
}

}  // namespace

bool FetchRatePage(InternetApi& internet, const wchar_t* url, RatePage& page) noexcept {
    if (page.text != nullptr) return true;
    DownloadBuffer buffer;
    if (!Download(internet, url, buffer) || !HoldText(buffer, page)) {
        page.text = nullptr;
        page.length = 0;
        return false;
    }
    return true;
}

bool FetchRatePage(const wchar_t* url, RatePage& page) noexcept {
    return FetchRatePage(WinInet(), url, page);
}

}  // namespace vistrel
