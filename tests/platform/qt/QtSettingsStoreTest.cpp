#include <gtest/gtest.h>

#include <QString>

#include "platform/qt/QtSettingsStore.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
    QString iniPath() const { return QString::fromStdString(dir.file("Halvex.ini").string()); }
    test::TempDir dir;
};

TEST_F(QtSettingsStoreTest, MissingKeysReadEmpty) {
    QtSettingsStore store(iniPath());
    EXPECT_EQ(store.read("Setup", "Lang"), "");
    store.write("Setup", "Lang", "1");
    EXPECT_EQ(store.read("Setup", "Dev"), "");
    EXPECT_EQ(store.read("Dirs", "Lang"), "");  // sections are separate
}

TEST_F(QtSettingsStoreTest, ValuesSurviveIntoTheNextStart) {
    {
        QtSettingsStore store(iniPath());
        store.write("Setup", "Lang", "1");
        store.write("Setup", "Dev", "0");
        store.write("Dirs", "Dir", "/home/müzik/Ştiller");
        store.write("Setup", "Lang", "0");  // overwritten
    }
    QtSettingsStore store(iniPath());
    EXPECT_EQ(store.read("Setup", "Lang"), "0");
    EXPECT_EQ(store.read("Setup", "Dev"), "0");
    EXPECT_EQ(store.read("Dirs", "Dir"), "/home/müzik/Ştiller");
}

// Texts that an INI store would otherwise read as lists, variants or escapes.
TEST_F(QtSettingsStoreTest, ValuesComeBackExactlyAsWritten) {
    const std::string values[] = {
        "a, b", "@Variant(x)", "C:\\Stiller\\Pop", " spaced ", "\"quoted\"", "x=y;z", ""};
    {
        QtSettingsStore store(iniPath());
        int i = 0;
        for (const auto& v : values) store.write("Dirs", "K" + std::to_string(i++), v);
    }
    QtSettingsStore store(iniPath());
    int i = 0;
    for (const auto& v : values) EXPECT_EQ(store.read("Dirs", "K" + std::to_string(i++)), v) << v;
}

TEST_F(QtSettingsStoreTest, NamesThatAreNotOneNameStoreNothing) {
    QtSettingsStore store(iniPath());
    store.write("", "Lang", "1");
    store.write("Setup", "", "1");
    store.write("Setup/Sub", "Lang", "1");
    store.write("Setup", "La/ng", "1");
    EXPECT_EQ(store.read("", "Lang"), "");
    EXPECT_EQ(store.read("Setup", ""), "");
    EXPECT_EQ(store.read("Setup/Sub", "Lang"), "");
    EXPECT_EQ(store.read("Setup", "La/ng"), "");
    EXPECT_EQ(store.read("Setup", "Lang"), "");
    EXPECT_EQ(store.read("Setup", "ng"), "");
}

}  // namespace
}  // namespace vornel
