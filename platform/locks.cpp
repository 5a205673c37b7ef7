#include "platform/locks.h"

#include "platform/structured_exception_guard.h"

namespace vistrel {
namespace {

void InitializeSection(void* section) {
    InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(section));
}

void EnterSection(void* section) { EnterCriticalSection(static_cast<CRITICAL_SECTION*>(section)); }

}  // namespace

CriticalSection::~CriticalSection() {
    if (initialized_) DeleteCriticalSection(&section_);
}

HRESULT CriticalSection::Initialize() noexcept {
    if (initialized_) return S_OK;
    const HRESULT status = CallGuarded(&InitializeSection, &section_);
    initialized_ = SUCCEEDED(status);
    return status;
}

HRESULT CriticalSection::Enter() noexcept {
    if (!initialized_) return E_UNEXPECTED;
    return CallGuarded(&EnterSection, &section_);
}

void CriticalSection::Leave() noexcept { LeaveCriticalSection(&section_); }

}  // namespace vistrel
