#pragma once

namespace vornel {

// Asks the system to wake the calling thread on time: real-time scheduling
// where the system grants it, otherwise the smallest timer slack, so a sleep
// to an absolute deadline is not rounded up by the kernel's default 50 µs.
// Returns true when real-time priority was granted.
bool tuneSchedulingThread();

}  // namespace vornel
