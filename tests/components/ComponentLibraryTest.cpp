#include "components/ComponentLibrary.h"

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "components/ComponentLocation.h"
#include "components/ComponentTestSupport.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

using ::testing::HasSubstr;
using test::builtModule;

TEST(ComponentLibraryTest, LoadsEachBuiltModuleAsTheComponentItIs) {
    for (const char* name : {kMidiFileComponent, kMidiOutputComponent}) {
        const ComponentLibrary library = ComponentLibrary::load(builtModule(name), name);
        ASSERT_TRUE(library.loaded()) << library.error();
        EXPECT_EQ(library.error(), "");
        EXPECT_EQ(library.api()->abiVersion, VORNEL_COMPONENT_ABI);
        EXPECT_STREQ(library.api()->name, name);
    }
    // Only the output component has events to report.
    EXPECT_EQ(ComponentLibrary::load(builtModule(kMidiFileComponent), kMidiFileComponent).api()->setEvents, nullptr);
    EXPECT_NE(ComponentLibrary::load(builtModule(kMidiOutputComponent), kMidiOutputComponent).api()->setEvents,
              nullptr);
}

// Every way a file can fail gives no table and a reason that names the file.
struct Failure {
    std::string label;
    std::string path;
    std::string name;
    std::string reason;
};

void PrintTo(const Failure& f, std::ostream* os) { *os << f.path << " as " << f.name; }

class ComponentLibraryFailureTest : public ::testing::TestWithParam<Failure> {};

TEST_P(ComponentLibraryFailureTest, GivesNoTableAndSaysWhy) {
    const Failure& f = GetParam();
    const ComponentLibrary library = ComponentLibrary::load(f.path, f.name);
    EXPECT_FALSE(library.loaded());
    EXPECT_EQ(library.api(), nullptr);
    EXPECT_THAT(library.error(), HasSubstr(f.reason));
    EXPECT_THAT(library.error(), HasSubstr(f.path.substr(f.path.find_last_of('/') + 1)));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ComponentLibraryFailureTest,
    ::testing::Values(
        Failure{"NoSuchFolder", "/nonexistent/Midifl32.hcm", "Midifl32", "was not found"},
        Failure{"NoSuchFile", builtModule("Midifl32").substr(0, builtModule("Midifl32").size() - 4), "Midifl32",
                "was not found"},
        Failure{"AFolder", test::programDir(), "Midifl32", "was not found"},
        Failure{"NoEntryPoint", VORNEL_TEST_MODULE_NO_ENTRY, "Midifl32", "is not a Vornel component"},
        Failure{"LaterVersion", VORNEL_TEST_MODULE_OTHER_ABI, "Midifl32", "another version"},
        Failure{"OlderTable", VORNEL_TEST_MODULE_OLD_TABLE, "Midifl32", "another version"},
        Failure{"NoEvents", VORNEL_TEST_MODULE_INCOMPLETE, "Midiio32", "lacks setEvents"},
        // The right kind of file under the wrong name.
        Failure{"OutputAsReader", builtModule("Midiio32"), "Midifl32", "is not the component Midifl32 but Midiio32"},
        Failure{"ReaderAsOutput", builtModule("Midifl32"), "Midiio32", "is not the component Midiio32 but Midifl32"}),
    [](const ::testing::TestParamInfo<Failure>& info) { return info.param.label; });

TEST(ComponentLibraryTest, AFileThatIsNoLibraryCannotBeLoadedAndSaysWhatTheSystemSaid) {
    test::TempDir dir;
    const std::string path = dir.file("Midifl32.hcm").string();
    std::ofstream(path) << "Bu bir bileşen değil.\n";
    const ComponentLibrary library = ComponentLibrary::load(path, kMidiFileComponent);
    EXPECT_FALSE(library.loaded());
    EXPECT_THAT(library.error(), HasSubstr("could not be loaded: "));
    EXPECT_THAT(library.error(), HasSubstr(path));

    EXPECT_FALSE(ComponentLibrary::load("", kMidiFileComponent).loaded());
}

// The modules are built from the same libraries the program could link; none
// of those may be seen from outside, or the program's own copy and the
// module's would meet.
TEST(ComponentLibraryTest, AModuleShowsOnlyItsEntryPoint) {
    struct Module {
        const char* name;
        const char* inside;  // a function compiled into it
    };
    for (const Module m : {Module{kMidiFileComponent, "_ZN6vornel8Midifile10FileActionEi"},
                           Module{kMidiOutputComponent, "_ZN6vornel10MIDIOutput11PortCommandEi"}}) {
        void* handle = dlopen(builtModule(m.name).c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        EXPECT_NE(dlsym(handle, VORNEL_COMPONENT_ENTRY), nullptr) << m.name;
        EXPECT_EQ(dlsym(handle, m.inside), nullptr) << m.name << " shows " << m.inside;
        // Never closed, as the program never closes a module.
    }
}

}  // namespace
}  // namespace vornel
