#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/SmfBuilder.h"

namespace vornel::test {

// Small builder-made MIDI files that show the fuzzer the shapes the reader
// knows: a style, several tracks, every kind of event, running status, SMPTE
// time, and the damaged forms the reader must survive. Each has a file name.
std::vector<std::pair<std::string, Bytes>> seedCorpus();

}  // namespace vornel::test
