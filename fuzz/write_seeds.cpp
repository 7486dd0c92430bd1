// Writes the seed corpus of the reader's fuzz target (builder-made files, so
// the repository holds no binary blobs) into the folder given as argument.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "support/SeedCorpus.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <corpus folder>\n";
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    int written = 0;
    for (const auto& [name, bytes] : vornel::test::seedCorpus()) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "cannot write " << (folder / name) << "\n";
            return 1;
        }
        ++written;
    }
    std::cout << written << " seed files in " << folder << "\n";
    return 0;
}
