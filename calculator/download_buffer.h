// The byte buffer a page body is read into. Before every read it has at least ReadChunkSize free
// bytes; after a read that leaves less it is re-allocated to the bytes received so far plus
// ReadChunkSize or a quarter of them, whichever is more. A page up to 200000 bytes thus grows
// after every read that delivered something, by one chunk: 120000 bytes read as 50000, 50000,
// 20000 and 0 pass through buffers of 50000, 100000, 150000 and 170000 bytes; a longer body
// grows by a quarter, so that 16 MiB are copied a few times over rather than some 300 times.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/unique_resource.h"

namespace vistrel {

inline constexpr std::uint32_t ReadChunkSize = 50000;

class DownloadBuffer {
public:
    // A buffer for a body of any length that a signed 32-bit count can hold.
    DownloadBuffer() noexcept = default;
    // A buffer that refuses to take a body longer than `largestBody` bytes.
    explicit DownloadBuffer(std::uint32_t largestBody) noexcept : largestBody_(largestBody) {}

    // The first buffer, ReadChunkSize bytes with nothing received; false when out of memory.
    bool Start() noexcept;
    // Takes `count` bytes just read into FreeRoom() and makes room for the next read; false when
    // the count is more than was asked, the body grows beyond the largest allowed, or the bigger
    // buffer cannot be had.
    bool Commit(std::uint32_t count) noexcept;

    std::byte* FreeRoom() noexcept { return Bytes() + received_; }
    const std::byte* Data() const noexcept { return static_cast<const std::byte*>(block_.get()); }
    std::uint32_t Received() const noexcept { return received_; }
    std::uint32_t Capacity() const noexcept { return capacity_; }

private:
    std::byte* Bytes() noexcept { return static_cast<std::byte*>(block_.get()); }

    std::uint32_t largestBody_ = UINT32_MAX;
    UniqueMallocBlock block_;
    std::uint32_t received_ = 0;
    std::uint32_t capacity_ = 0;
};

// Reads a whole body into `buffer` through `read(destination, size, count)`, which returns false
// on failure and otherwise sets `count`, 0 once the body is complete.
template <typename Read>
bool ReadBody(DownloadBuffer& buffer, Read&& read) noexcept {
    if (!buffer.Start()) return false;
    for (;;) {
        std::uint32_t count = 0;
        if (!read(buffer.FreeRoom(), ReadChunkSize, count)) return false;
        if (count == 0) return true;
        if (!buffer.Commit(count)) return false;
    }
}

}  // namespace vistrel
