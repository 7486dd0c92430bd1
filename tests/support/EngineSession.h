#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vornel::test {

// Where a session's choices come from: a seeded generator for the property
// test, or the fuzzer's bytes (0 once they run out).
class Choices {
public:
    explicit Choices(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size), fromBytes_(true) {}
    // A number in lo..hi.
    int pick(int lo, int hi);

private:
    std::uint32_t next();
    std::uint32_t state_ = 1;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t used_ = 0;
    bool fromBytes_ = false;
};

struct SessionReport {
    std::vector<std::string> faults;  // breaches of a note's life (NoteLedger)
    std::size_t notesPlayed = 0;
    std::string script;  // what the session did, to reproduce a fault
};

// Generates a style (a random meter, Intro, two Mains, a Fill In and an
// Ending of random lengths, notes on every accompaniment channel with known
// written ends) and plays a random session through the player model on a
// virtual clock: Play, chord and part clicks at random moments, Panic, Stop,
// endings. Every note's written end is carried in its velocity (4 ms a step),
// so the report can tell a note that outlives it.
SessionReport playRandomSession(Choices& choices, int steps);

}  // namespace vornel::test
