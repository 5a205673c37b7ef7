// The one translation from an exception to the HRESULT that an exported function or interface
// method returns. Every such function ends in
//     catch (...) { return HresultFromCaughtException(); }
#pragma once

#include <windows.h>

namespace vistrel {

// Names the exception being handled; call it only inside a catch block. The library's own
// failures keep their status (E_FAIL if it is no failure), std::bad_alloc is E_OUTOFMEMORY,
// anything else E_FAIL.
HRESULT HresultFromCaughtException() noexcept;

}  // namespace vistrel

namespace vistrel {

// Runs the body of an exported function or interface method: its HRESULT, or the translation of
// whatever it threw.
template <typename Body>
HRESULT AtBoundary(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return HresultFromCaughtException();
    }
}

}  // namespace vistrel
