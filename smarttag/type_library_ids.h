// The type libraries that describe the smart tag classes' dual interfaces: the library's own and
// the host's smart tag library, both version 1.0.
#pragma once

#include <windows.h>

#include "smarttag/smarttag_host.h"
#include "smarttag/vistrel.h"

namespace vistrel {

inline constexpr WORD kTypeLibraryMajorVersion = 1;
inline constexpr WORD kTypeLibraryMinorVersion = 0;

}  // namespace vistrel
