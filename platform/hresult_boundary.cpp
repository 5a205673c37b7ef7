#include "platform/hresult_boundary.h"

#include <new>

#include "base/status.h"
#include "platform/exceptions.h"

namespace vistrel {
HRESULT HresultFromCaughtException() noexcept {
    try {
        throw;
    } catch (const _com_error& error) {
        // An exception always stands for a failure, whatever status it was given.
        return FailureOr(error.Error(), E_FAIL);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace vistrel
