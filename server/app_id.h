// The library's application identifier as registration writes it (replacement APPID).
#pragma once

namespace vistrel {

inline constexpr wchar_t kAppIdText[] = L"{078F066D-265C-467A-8C4B-D7BA03FD49B0}";

}  // namespace vistrel
