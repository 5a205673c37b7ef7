#include "platform/hresult_boundary.h"

#include <new>

#include "platform/exceptions.h"

namespace vistrel {
namespace {
// An exception always stands for a failure, whatever status it was given.
HRESULT FailureOr(HRESULT status) noexcept { return FAILED(status) ? status : E_FAIL; }
}  // namespace

HRESULT HresultFromCaughtException() noexcept {
    try {
        throw;
    } catch (const _com_error& error) {
        return FailureOr(error.Error());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace vistrel
