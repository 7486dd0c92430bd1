#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "windows/FolderListing.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

void touch(const fs::path& p) {
    std::ofstream(p) << "x";
}

TEST(FolderListing, ListsVisibleFoldersAndStyleFilesSortedWithoutCase) {
    test::TempDir dir;
    for (const char* f :
         {"zeta.STY", "Alpha.mid", "beta.Mid", "notes.txt", "song.midi", "sty", "Gamma.sty"})
        touch(dir.file(f));
    for (const char* d : {"rock", "Latin", ".cache", "folder.sty"})
        fs::create_directory(dir.file(d));
    fs::create_symlink(dir.file("Latin"), dir.file("latin-link"));
    fs::create_symlink(dir.file("Alpha.mid"), dir.file("link.mid"));
    fs::create_symlink(dir.file("missing.sty"), dir.file("dangling.sty"));

    const auto contents = listFolder(dir.path().string());
    ASSERT_TRUE(contents.has_value());
    // A folder named like a style file is a folder; links count as what they point to.
    EXPECT_EQ(contents->folders, (Names{"folder.sty", "Latin", "latin-link", "rock"}));
    EXPECT_EQ(contents->files,
              (Names{"Alpha.mid", "beta.Mid", "Gamma.sty", "link.mid", "zeta.STY"}));
}

TEST(FolderListing, AFolderThatCannotBeReadGivesNothing) {
    test::TempDir dir;
    touch(dir.file("a.sty"));
    EXPECT_FALSE(listFolder(dir.file("missing").string()).has_value());
    EXPECT_FALSE(listFolder(dir.file("a.sty").string()).has_value());
    EXPECT_TRUE(listFolder(dir.path().string()).has_value());
}

TEST(FolderListing, CaselessOrderIsTotal) {
    Names names{"b", "B", "a", "A", "ab", "Aa"};
    std::sort(names.begin(), names.end(), caselessLess);
    EXPECT_EQ(names, (Names{"A", "a", "Aa", "ab", "B", "b"}));
}

TEST(FolderListing, FolderPathsAreAbsoluteAndNormal) {
    EXPECT_EQ(normalFolder("/"), "/");
    EXPECT_EQ(normalFolder("/home/u/"), "/home/u");
    EXPECT_EQ(normalFolder("/home//u/./styles/../"), "/home/u");
    EXPECT_EQ(normalFolder("home/u"), "");
    EXPECT_EQ(normalFolder(""), "");

    EXPECT_TRUE(isWithin("/home/u", "/"));
    EXPECT_TRUE(isWithin("/home/u", "/home/u"));
    EXPECT_TRUE(isWithin("/home/u/a", "/home/u"));
    EXPECT_FALSE(isWithin("/home/user", "/home/u"));
    EXPECT_FALSE(isWithin("/home", "/home/u"));

    EXPECT_EQ(joinPath("/", "a.sty"), "/a.sty");
    EXPECT_EQ(joinPath("/home/u", "a.sty"), "/home/u/a.sty");
}

}  // namespace
}  // namespace vornel
