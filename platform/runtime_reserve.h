// The statically linked C++ runtime sets aside a block of heap (about 73 KiB) at load, from
// which it makes exceptions when the heap has no room. The heap belongs to the process, so the
// block would outlive the library after every unload.
#pragma once

namespace vistrel {

// Gives the block back; only when the library is unloaded while the process goes on, after the
// last exception the library can throw.
void ReleaseRuntimeExceptionReserve() noexcept;

}  // namespace vistrel
