#include "support/TempDir.h"

#include <stdlib.h>

#include <stdexcept>

namespace vornel::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vornel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace vornel::test
