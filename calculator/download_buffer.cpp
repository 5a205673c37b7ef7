#include "calculator/download_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include "base/allocation_hook.h"

namespace vistrel {

namespace {
// The text's length is a signed 32-bit count, so a body may not grow beyond it.
constexpr std::uint32_t MaxCapacity = std::numeric_limits<std::int32_t>::max();
}  // namespace

bool DownloadBuffer::Start() noexcept {
    block_.reset(AllocateBlock(ReadChunkSize, "page buffer"));
    received_ = 0;
    capacity_ = block_ ? ReadChunkSize : 0;
    return static_cast<bool>(block_);
}

bool DownloadBuffer::Commit(std::uint32_t count) noexcept {
    if (count > ReadChunkSize || count > capacity_ - received_) return false;
    const std::uint32_t received = received_ + count;
    if (received > largestBody_ || received > MaxCapacity - ReadChunkSize) return false;
    if (capacity_ - received >= ReadChunkSize) {
        received_ = received;
        return true;
    }
    // A quarter more once that exceeds a chunk: a long body is copied a few times over, not once
    // per read.
    const std::uint32_t growth = std::max(ReadChunkSize, received / 4);
    const std::uint32_t capacity = std::min(MaxCapacity - received, growth) + received;
    UniqueMallocBlock grown(AllocateBlock(capacity, "page buffer"));
    if (!grown) return false;
    std::memcpy(grown.get(), block_.get(), received);
    block_ = std::move(grown);
    received_ = received;
    capacity_ = capacity;
    return true;
}

}  // namespace vistrel
