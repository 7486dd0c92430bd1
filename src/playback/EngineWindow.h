#pragma once

namespace vornel {

// What the engine asks of the window it plays for; the player window
// implements it. The engine reaches the window through nothing else: it
// reads no control, colour or timer of its own accord.
//
// Runs on the thread that drives the engine (the UI thread: the output
// component's cues are dispatched there), inside the engine's handlers.
class EngineWindow {
public:
    virtual ~EngineWindow() = default;

    // Playback has started: Stop on; Play, Open, Settings and Exit off.
    virtual void showPlaying() = 0;
    // Playback has ended: Play, Open, Settings and Exit on, Stop off; what
    // was waiting to be heard is shown as chosen.
    virtual void showStopped() = 0;
    // The part and chord last chosen are heard from now on: what blinked
    // while it waited shows as chosen.
    virtual void showChosen() = 0;
    // Presses part button `button` (0..17) as a click would, when the window
    // offers that part; false, with nothing pressed, when it does not.
    virtual bool pressPart(int button) = 0;
    // A Note On of `velocity` went out on channel `channel` (1..16).
    virtual void raiseMeter(int channel, int velocity) = 0;
    // The part asked for holds no events: nothing was started.
    virtual void reportNoData() = 0;
    // The part's bars cannot be counted (no resolution, no time-signature
    // numerator, no length): playback ends.
    virtual void reportUnknownError() = 0;
};

}  // namespace vornel
