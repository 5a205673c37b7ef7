// The library's own heap allocations, each named for what it holds ("rate table", "class
// object"). In the product they are plain `malloc` and nothrow `new`; a test may install a
// refusal that makes a chosen allocation fail, to show what the library does without it. While
// no refusal is installed, which is always the case in the product, nothing changes.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

namespace vistrel {

// Answers true to make the allocation named `purpose` fail.
using AllocationRefusal = bool (*)(const char* purpose, void* context) noexcept;

// Installs `refusal` with its `context` for every later allocation; null removes it.
void SetAllocationRefusal(AllocationRefusal refusal, void* context) noexcept;

// Whether the installed refusal, if any, refuses the allocation named `purpose`.
bool AllocationRefused(const char* purpose) noexcept;

// `malloc(size)`, or null when refused.
inline void* AllocateBlock(std::size_t size, const char* purpose) noexcept {
    return AllocationRefused(purpose) ? nullptr : std::malloc(size);
}

// `new (std::nothrow) T(args...)`, or null when refused.
template <typename T, typename... Args>
T* NewOrNull(const char* purpose, Args&&... args) {
    if (AllocationRefused(purpose)) return nullptr;
    return new (std::nothrow) T(std::forward<Args>(args)...);
}

// `new (std::nothrow) T[count]()`, or null when refused.
template <typename T>
T* NewArrayOrNull(std::size_t count, const char* purpose) noexcept {
    if (AllocationRefused(purpose)) return nullptr;
    return new (std::nothrow) T[count]();
}

// Throws std::bad_alloc, as a throwing `new` does on an exhausted heap, when refused; for the
// allocations whose class lets only its creator construct it.
inline void ThrowIfRefused(const char* purpose) {
    if (AllocationRefused(purpose)) throw std::bad_alloc();
}

}  // namespace vistrel
