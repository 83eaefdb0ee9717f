// A queue of customer numbers open at both ends: a ring buffer whose
// capacity is a power of two and doubles when full. FIFO takes from the
// front, LIFO from the back, and a preempted customer goes back to the
// front of its priority class.
#pragma once

#include <cstdint>
#include <vector>

namespace kolt::methods {

class CustomerDeque {
  public:
    explicit CustomerDeque(std::uint32_t capacity = kInitialCapacity) : slots_(capacity), mask_(capacity - 1) {}

    static constexpr std::uint32_t kInitialCapacity = 8;

    bool empty() const { return size_ == 0; }
    std::uint32_t size() const { return size_; }
    std::size_t capacity() const { return slots_.size(); }

    void pushBack(int customer) {
        if (size_ == slots_.size()) grow();
        slots_[(head_ + size_) & mask_] = customer;
        ++size_;
    }
    void pushFront(int customer) {
        if (size_ == slots_.size()) grow();
        head_ = (head_ - 1) & mask_;
        slots_[head_] = customer;
        ++size_;
    }
    int popFront() {
        const int customer = slots_[head_];
        head_ = (head_ + 1) & mask_;
        --size_;
        return customer;
    }
    int popBack() {
        --size_;
        return slots_[(head_ + size_) & mask_];
    }

  private:
    void grow() {
        std::vector<int> larger(slots_.size() * 2);
        for (std::uint32_t i = 0; i < size_; ++i) larger[i] = slots_[(head_ + i) & mask_];
        slots_.swap(larger);
        head_ = 0;
        mask_ = static_cast<std::uint32_t>(slots_.size()) - 1;
    }

    std::vector<int> slots_;
    std::uint32_t head_ = 0, size_ = 0, mask_;
};

}  // namespace kolt::methods
