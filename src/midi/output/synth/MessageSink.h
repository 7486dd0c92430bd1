#pragma once

#include "midi/output/synth/SynthMessage.h"

namespace vornel {

// Where the block scheduler delivers the messages of a block: the synthesizer
// in production, a recorder in tests. Called on the audio thread only, so an
// implementation must neither lock nor allocate.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void apply(const SynthMessage& m) = 0;
};

}  // namespace vornel
