// One RAII surface for every handle, on any system: get, put (for out parameters), reset, release
// and explicit operator bool. The Windows owners are in platform/unique_resource.h.
#pragma once

#include <utility>

namespace vistrel {

// Owns a handle of type T closed by Close; Invalid is the value that owns nothing.
template <typename T, auto Close, T Invalid = T{}>
class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(T value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Invalid; }

    void reset(T value = Invalid) noexcept {
        const T old = std::exchange(value_, value);
        if (old != Invalid) Close(old);
    }
    [[nodiscard]] T release() noexcept { return std::exchange(value_, Invalid); }
    // Closes what is held and hands out the address for a function that fills it.
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid;
};

}  // namespace vistrel
