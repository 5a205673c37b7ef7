// Makes the library's own allocations of one name fail for as long as the object lives: the
// `skip` first ones still succeed, the next `count` are refused, any later ones succeed again.
#pragma once

#include <cstring>

#include "base/allocation_hook.h"

namespace vistrel::test {

class RefusedAllocation {
public:
    explicit RefusedAllocation(const char* purpose, int count = 1, int skip = 0) noexcept
        : purpose_(purpose), skip_(skip), count_(count) {
        SetAllocationRefusal(&Decide, this);
    }
    RefusedAllocation(const RefusedAllocation&) = delete;
    RefusedAllocation& operator=(const RefusedAllocation&) = delete;
    ~RefusedAllocation() { SetAllocationRefusal(nullptr, nullptr); }

    // Allocations of the name asked for so far, and how many of them were refused.
    int Asked() const noexcept { return asked_; }
    int Refused() const noexcept { return refused_; }

private:
    static bool Decide(const char* purpose, void* context) noexcept {
        auto& self = *static_cast<RefusedAllocation*>(context);
        if (std::strcmp(purpose, self.purpose_) != 0) return false;
        const int number = self.asked_++;
        if (number < self.skip_ || number >= self.skip_ + self.count_) return false;
        ++self.refused_;
        return true;
    }

    const char* purpose_;
    int skip_;
    int count_;
    int asked_ = 0;
    int refused_ = 0;
};

}  // namespace vistrel::test
