#include "style/SysExJoin.h"

namespace vornel {

namespace {
constexpr unsigned char kStart = 0xF0;
constexpr unsigned char kEnd = 0xF7;
constexpr int kSysExStatus = 0xF0;
constexpr int kEscapeStatus = 0xF7;
// A message still open after this many bytes is damage, not a set-up
// message; it is dropped rather than grown without end.
constexpr std::size_t kLongestMessage = 64 * 1024;

bool endsMessage(const std::string& s) { return !s.empty() && static_cast<unsigned char>(s.back()) == kEnd; }
}  // namespace

std::optional<std::string> SysExJoin::add(int status, const std::string& bytes) {
    if (status == kSysExStatus) {
        // A new F0 while another is open: the open one never got its end and
        // is dropped, as a device would drop it.
        pending_.clear();
        if (bytes.empty()) return std::nullopt;
        if (endsMessage(bytes)) return bytes;
        pending_ = bytes;
        return std::nullopt;
    }
    if (status != kEscapeStatus || bytes.empty()) return std::nullopt;
    if (!pending_.empty()) {
        pending_ += bytes;
        if (pending_.size() > kLongestMessage) {
            pending_.clear();
            return std::nullopt;
        }
        if (!endsMessage(pending_)) return std::nullopt;
        std::string whole;
        whole.swap(pending_);
        return whole;
    }
    // An escape outside a split message: only a whole message can be handed
    // to the device; other escaped bytes (real-time bytes and the like) have
    // no place in a style's set-up.
    if (static_cast<unsigned char>(bytes.front()) == kStart && endsMessage(bytes)) return bytes;
    return std::nullopt;
}

}  // namespace vornel
