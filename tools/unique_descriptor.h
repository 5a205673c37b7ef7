// A POSIX file descriptor closed when its owner goes (the Windows side uses UniqueHandle).
#pragma once

#include <unistd.h>

#include "base/unique_resource.h"

namespace vistrel::tools {

namespace detail {
inline void CloseDescriptor(int descriptor) noexcept { close(descriptor); }
}  // namespace detail

using UniqueDescriptor = UniqueResource<int, &detail::CloseDescriptor, -1>;

}  // namespace vistrel::tools
