#pragma once

namespace vornel {

// Where the notes a musician plays go: straight to the open device, at once.
// Unlike every other way into the output component, sendLive() may be called
// from any thread (a MIDI input's own), so a played note never waits for the
// UI thread. It takes no lock the audio thread could wait on and allocates
// nothing; the built-in synthesizer applies the message before its next
// 64-frame block.
class LiveSink {
public:
    virtual ~LiveSink() = default;
    // A channel message; one that is not valid MIDI is dropped.
    virtual void sendLive(int status, int data1, int data2) = 0;

    // The three bytes in the one number the component's narrow entry point
    // carries (status | data1 << 8 | data2 << 16), and back.
    static int pack(int status, int data1, int data2) { return status | (data1 << 8) | (data2 << 16); }
    static int statusOf(int packed) { return packed & 0xFF; }
    static int data1Of(int packed) { return (packed >> 8) & 0xFF; }
    static int data2Of(int packed) { return (packed >> 16) & 0xFF; }
};

}  // namespace vornel
