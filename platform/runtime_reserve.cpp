#include "platform/runtime_reserve.h"

#include <version>  // names the C++ runtime (__GLIBCXX__)

#if defined(__GLIBCXX__)
// libstdc++ exports the routine that frees its emergency exception pool (memory checkers call it
// at exit) without declaring it in a header.
namespace __gnu_cxx {
void __freeres() noexcept;
}  // namespace __gnu_cxx
#endif

namespace vistrel {

void ReleaseRuntimeExceptionReserve() noexcept {
#if defined(__GLIBCXX__)
    __gnu_cxx::__freeres();
#endif
}

}  // namespace vistrel
