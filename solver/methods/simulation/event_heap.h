// The simulator's future events: a binary min-heap on time. Most events
// schedule one successor (the next arrival of a stream, the next service of
// a station), so the successor replaces the event being handled at the top
// and sifts down once, instead of a pop and a push.
#pragma once

#include <cstdint>
#include <vector>

namespace kolt::methods {

struct Event {
    double time;
    std::uint32_t tag;    // what happens, see the engine
    std::uint32_t token;  // a station's service number, to drop completions made stale by preemption
};

class EventHeap {
  public:
    void reserve(std::size_t n) { heap_.reserve(n); }
    bool empty() const { return heap_.empty(); }
    std::size_t size() const { return heap_.size(); }
    std::size_t capacity() const { return heap_.capacity(); }
    const Event& top() const { return heap_.front(); }

    void push(const Event& e) {
        heap_.push_back(e);
        std::size_t i = heap_.size() - 1;
        while (i > 0) {
            const std::size_t parent = (i - 1) / 2;
            if (!(e.time < heap_[parent].time)) break;
            heap_[i] = heap_[parent];
            i = parent;
        }
        heap_[i] = e;
    }

    void replaceTop(const Event& e) { siftDown(0, e); }

    void pop() {
        const Event last = heap_.back();
        heap_.pop_back();
        if (!heap_.empty()) siftDown(0, last);
    }

  private:
    void siftDown(std::size_t i, const Event& e) {
        const std::size_t n = heap_.size();
        for (;;) {
            std::size_t child = 2 * i + 1;
            if (child >= n) break;
            if (child + 1 < n && heap_[child + 1].time < heap_[child].time) ++child;
            if (!(heap_[child].time < e.time)) break;
            heap_[i] = heap_[child];
            i = child;
        }
        heap_[i] = e;
    }

    std::vector<Event> heap_;
};

}  // namespace kolt::methods
