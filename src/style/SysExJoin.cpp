#include "style/SysExJoin.h"

#include "midi/MidiVocabulary.h"

namespace vornel {

namespace {
// A message still open after this many bytes is damage, not a set-up
// message; it is dropped rather than grown without end.
constexpr std::size_t kLongestMessage = 64 * 1024;

bool endsMessage(const std::string& s) {
    return !s.empty() && static_cast<unsigned char>(s.back()) == midi::kSysExEnd;
}
}  // namespace

std::optional<std::string> SysExJoin::add(int status, const std::string& bytes) {
    if (status == midi::kSysEx) {
        // A new F0 while another is open: the open one never got its end and
        // is dropped, as a device would drop it.
        pending_.clear();
        if (bytes.empty()) return std::nullopt;
        if (endsMessage(bytes)) return bytes;
        pending_ = bytes;
        return std::nullopt;
    }
    if (status != midi::kSysExEnd || bytes.empty()) return std::nullopt;
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
    if (static_cast<unsigned char>(bytes.front()) == midi::kSysEx && endsMessage(bytes)) return bytes;
    return std::nullopt;
}

}  // namespace vornel
