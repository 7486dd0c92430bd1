#include "midi/output/MessageQueue.h"

#include <algorithm>

namespace vornel {

namespace {
// std::*_heap keep the greatest element first; "greater" puts the earliest first.
bool later(const QueuedMessage& a, const QueuedMessage& b) {
    if (a.stampMs != b.stampMs) return a.stampMs > b.stampMs;
    return a.serial > b.serial;
}
}  // namespace

void MessageQueue::push(double stampMs, std::int32_t cueTag, MidiMessage message) {
    heap_.push_back(QueuedMessage{stampMs, nextSerial_++, cueTag, std::move(message)});
    std::push_heap(heap_.begin(), heap_.end(), later);
}

QueuedMessage MessageQueue::pop() {
    std::pop_heap(heap_.begin(), heap_.end(), later);
    QueuedMessage m = std::move(heap_.back());
    heap_.pop_back();
    return m;
}

void MessageQueue::popDue(double queueMs, std::vector<QueuedMessage>& out) {
    while (!heap_.empty() && heap_.front().stampMs <= queueMs) out.push_back(pop());
}

std::size_t MessageQueue::removeFrom(double fromMs) {
    const std::size_t removed = std::erase_if(heap_, [fromMs](const QueuedMessage& q) { return q.stampMs >= fromMs; });
    if (removed > 0) std::make_heap(heap_.begin(), heap_.end(), later);
    return removed;
}

}  // namespace vornel
