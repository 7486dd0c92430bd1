#pragma once

#include <istream>
#include <string>
#include <vector>

namespace vornel {

// The chooser's drive list on a system without drive letters: position 0 is
// the root "/", position 1 the user's home folder, then the mounted volumes
// (mount points at or below /media, /mnt and /run/media), sorted, each once.
// Position 1 is where a first use stands, so it is always present: without a
// usable home folder it is "/" again.
std::vector<std::string> rootsFrom(const std::string& home, std::istream& mounts);

// rootsFrom() with $HOME and /proc/mounts (no volumes when it cannot be read).
std::vector<std::string> systemRoots();

}  // namespace vornel
