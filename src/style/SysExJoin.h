#pragma once

#include <optional>
#include <string>

namespace vornel {

// Puts a file's system-exclusive events back together as the messages a
// device understands. A file may carry a message whole (F0 ... F7), split
// into an F0 packet and F7 continuation packets, or as an F7 escape whose
// bytes are a whole message of their own; the reader gives each event as it
// was written, and this turns them into complete F0 ... F7 messages.
class SysExJoin {
public:
    // One event as the reader gives it (EvSysEx): F0 and the stored bytes for
    // a system-exclusive event, the stored bytes alone for an escape.
    // Returns a complete message when this event completes one.
    std::optional<std::string> add(int status, const std::string& bytes);

private:
    std::string pending_;  // an F0 packet still waiting for its end
};

}  // namespace vornel
