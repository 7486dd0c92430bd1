#include "windows/FolderListing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace vornel {

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool endsWithCaseless(const std::string& name, const std::string& suffix) {
    if (name.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(),
                      name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char s, char n) { return lowerAscii(s) == lowerAscii(n); });
}

}  // namespace

bool isStyleFileName(const std::string& name) {
    return endsWithCaseless(name, ".sty") || endsWithCaseless(name, ".mid");
}

bool caselessLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = lowerAscii(a[i]), y = lowerAscii(b[i]);
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::optional<FolderContents> listFolder(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return std::nullopt;

    FolderContents out;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code entryError;
        // Both tests follow links: a link to a folder is a folder to the user.
        if (it->is_directory(entryError)) {
            if (!name.empty() && name.front() != '.') out.folders.push_back(name);
        } else if (!entryError && it->is_regular_file(entryError) && isStyleFileName(name)) {
            out.files.push_back(name);
        }
    }
    // A folder that stops answering half-way shows what was read up to there.
    std::sort(out.folders.begin(), out.folders.end(), caselessLess);
    std::sort(out.files.begin(), out.files.end(), caselessLess);
    return out;
}

std::string normalFolder(const std::string& path) {
    const fs::path p(path);
    if (!p.is_absolute()) return {};
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

bool isWithin(const std::string& folder, const std::string& root) {
    if (folder.empty() || root.empty()) return false;
    if (folder == root) return true;
    const std::string prefix = root.back() == '/' ? root : root + '/';
    return folder.size() > prefix.size() && folder.compare(0, prefix.size(), prefix) == 0;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + '/' + name;
}

}  // namespace vornel
