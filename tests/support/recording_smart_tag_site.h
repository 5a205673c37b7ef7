// The host's side of recognition, played by the test: a recognizer site and the property bags
// it hands out. Both record every call in one log, count the references held on them, and fail
// the test on any call that recognition has no business making.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "smarttag/smarttag_host.h"
#include "tests/support/strict_dispatch.h"

namespace vistrel::test {

// The calls of one host-side object that were neither planned nor recorded fail the test.
template <typename Interface>
class UnplannedCalls : public StrictDispatch<Interface> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        ADD_FAILURE() << "unexpected QueryInterface";
        if (out != nullptr) *out = nullptr;
        return E_NOINTERFACE;
    }

protected:
    static HRESULT Unplanned() {
        ADD_FAILURE() << "unexpected call on a host object";
        return E_NOTIMPL;
    }
};

inline std::wstring Text(BSTR text) {
    return text == nullptr ? L"(null)" : std::wstring(text, SysStringLen(text));
}

class RecordingBag final : public UnplannedCalls<ISmartTagProperties> {
public:
    RecordingBag(std::vector<std::wstring>& log, int number) : log_(log), number_(number) {}

    std::wstring Name() const { return L"bag" + std::to_wstring(number_); }
    LONG references = 1;  // the one that GetNewPropertyBag hands out

    ULONG STDMETHODCALLTYPE AddRef() override {
        log_.push_back(L"AddRef " + Name());
        return static_cast<ULONG>(++references);
    }
    ULONG STDMETHODCALLTYPE Release() override {
        log_.push_back(L"Release " + Name());
        EXPECT_GT(references, 0) << "released more often than referenced";
        return static_cast<ULONG>(--references);
    }
    HRESULT STDMETHODCALLTYPE Write(BSTR key, BSTR value) override {
        log_.push_back(L"Write " + Name() + L" " + Text(key) + L"=" + Text(value));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Read(BSTR, BSTR*) override { return Unplanned(); }
    HRESULT STDMETHODCALLTYPE get_Count(int*) override { return Unplanned(); }
    HRESULT STDMETHODCALLTYPE get_KeyFromIndex(int, BSTR*) override { return Unplanned(); }
    HRESULT STDMETHODCALLTYPE get_ValueFromIndex(int, BSTR*) override { return Unplanned(); }

private:
    std::vector<std::wstring>& log_;
    int number_;
};

class RecordingSite final : public UnplannedCalls<ISmartTagRecognizerSite> {
public:
    // Every call of the site and its bags, in order.
    std::vector<std::wstring> log;
    std::vector<std::unique_ptr<RecordingBag>> bags;
    bool givesBags = true;
    // What the site's calls report; recognition goes on whatever they say.
    HRESULT answer = S_OK;
    LONG references = 0;  // beyond the test's own

    ULONG STDMETHODCALLTYPE AddRef() override {
        log.push_back(L"AddRef site");
        return static_cast<ULONG>(++references + 1);
    }
    ULONG STDMETHODCALLTYPE Release() override {
        log.push_back(L"Release site");
        return static_cast<ULONG>(--references + 1);
    }
    HRESULT STDMETHODCALLTYPE GetNewPropertyBag(ISmartTagProperties** bag) override {
        log.push_back(L"GetNewPropertyBag");
        EXPECT_NE(bag, nullptr);
        if (bag == nullptr) return E_POINTER;
        *bag = nullptr;
        if (givesBags) {
            bags.push_back(std::make_unique<RecordingBag>(log, static_cast<int>(bags.size()) + 1));
            *bag = bags.back().get();
        }
        return answer;
    }
    HRESULT STDMETHODCALLTYPE CommitSmartTag(BSTR name, int start, int length,
                                             ISmartTagProperties* bag) override {
        std::wstring bagName = L"no bag";
        for (const auto& known : bags) {
            if (known.get() == bag) bagName = known->Name();
        }
        if (bag != nullptr && bagName == L"no bag")
            ADD_FAILURE() << "a bag that the site never gave";
        log.push_back(L"CommitSmartTag " + Text(name) + L" " + std::to_wstring(start) + L" " +
                      std::to_wstring(length) + L" " + bagName);
        return answer;
    }
};

}  // namespace vistrel::test
