// Reading a document from a file: what can go wrong before any parsing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "rtf/RtfTestText.h"
#include "support/TempDir.h"
#include "windows/rtf/RtfReader.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(RtfFile, StatusTellsWhyNothingWasRead) {
    test::TempDir dir;
    write(dir.file("plain.rtf"), "Just text, not rich text.");
    write(dir.file("empty.rtf"), "");
    fs::create_directory(dir.file("folder.rtf"));
    ASSERT_EQ(mkfifo(dir.file("pipe.rtf").c_str(), 0600), 0);

    EXPECT_EQ(readRtfFile(dir.file("missing.rtf").string()).status, RtfStatus::Missing);
    EXPECT_EQ(readRtfFile("").status, RtfStatus::Missing);
    EXPECT_EQ(readRtfFile(dir.file("plain.rtf/inner.rtf").string()).status, RtfStatus::Missing);
    // A folder or a pipe is there but cannot be read as a document (and the
    // pipe must not block the reader).
    EXPECT_EQ(readRtfFile(dir.file("folder.rtf").string()).status, RtfStatus::Unreadable);
    EXPECT_EQ(readRtfFile(dir.file("pipe.rtf").string()).status, RtfStatus::Unreadable);
    EXPECT_EQ(readRtfFile(dir.file("plain.rtf").string()).status, RtfStatus::NotRtf);
    EXPECT_EQ(readRtfFile(dir.file("empty.rtf").string()).status, RtfStatus::NotRtf);
}

TEST(RtfFile, AFileTooLargeForAHelpDocumentIsNotRead) {
    test::TempDir dir;
    const fs::path big = dir.file("big.rtf");
    write(big, "{\\rtf1 x}");
    fs::resize_file(big, 5u * 1024 * 1024);  // sparse: costs no disk
    EXPECT_EQ(readRtfFile(big.string()).status, RtfStatus::Unreadable);
}

TEST(RtfFile, AFileWithoutReadPermissionIsUnreadable) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file; permissions cannot be tested";
    test::TempDir dir;
    const fs::path locked = dir.file("locked.rtf");
    write(locked, "{\\rtf1 x}");
    fs::permissions(locked, fs::perms::none);
    EXPECT_EQ(readRtfFile(locked.string()).status, RtfStatus::Unreadable);
}

TEST(RtfFile, ADocumentIsReadWholeFromAUtf8Path) {
    test::TempDir dir;
    const std::string path = (dir.path() / "Yardım.rtf").string();
    write(path, "{\\rtf1\\ansi\\ansicpg1254 Yard\\'fdm\\par\n\\b \\'dd\\'e7indekiler\\par}");
    const RtfResult result = readRtfFile(path);
    ASSERT_EQ(result.status, RtfStatus::Ok);
    EXPECT_EQ(test::paragraphTexts(result.document), (std::vector<std::string>{"Yardım", "İçindekiler"}));
    EXPECT_TRUE(result.document.paragraphs[1].runs[0].format.bold);
}

}  // namespace
}  // namespace vornel
