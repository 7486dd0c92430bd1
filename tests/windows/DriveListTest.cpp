#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "windows/DriveList.h"

namespace vornel {
namespace {

using Roots = std::vector<std::string>;

TEST(DriveList, RootThenHomeThenSortedVolumesEachOnce) {
    std::istringstream mounts(
        "/dev/sda1 / ext4 rw,relatime 0 0\n"
        "proc /proc proc rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sdc1 /run/media/ayla/Backup ext4 rw 0 0\n"
        "/dev/sdb1 /mnt/data ext4 rw 0 0\n"
        "/dev/sdd1 /media/ayla/USB\\040STICK vfat rw 0 0\n"
        "/dev/sdb1 /mnt/data ext4 rw 0 0\n"    // mounted twice: listed once
        "/dev/sde1 /mediafiles ext4 rw 0 0\n"  // only a name like /media
        "/dev/sda2 /home/ayla ext4 rw 0 0\n"   // the home folder is already position 1
        "/dev/sdf1 /mnt ext4 rw 0 0\n"
        "broken-line\n"
        "\n");
    EXPECT_EQ(rootsFrom("/home/ayla/", mounts),
              (Roots{"/", "/home/ayla", "/media/ayla/USB STICK", "/mnt", "/mnt/data",
                     "/run/media/ayla/Backup"}));
}

TEST(DriveList, WithoutUsableHomeThePositionOfHomeIsTheRootAgain) {
    // The first-use position must exist whatever the environment says.
    for (const std::string home : {"", "relative/home"}) {
        std::istringstream mounts("/dev/sdb1 /media/usb vfat rw 0 0\n");
        EXPECT_EQ(rootsFrom(home, mounts), (Roots{"/", "/", "/media/usb"}))
            << "home: '" << home << "'";
    }
}

TEST(DriveList, UnreadableMountTableGivesRootAndHomeOnly) {
    std::istringstream mounts;
    mounts.setstate(std::ios::failbit);
    EXPECT_EQ(rootsFrom("/home/u", mounts), (Roots{"/", "/home/u"}));
}

TEST(DriveList, SystemRootsTakeHomeFromTheEnvironment) {
    test::TempDir home;
    const Roots roots = [&] {
        test::ScopedEnv homeHere("HOME", home.path().c_str());
        return systemRoots();
    }();

    ASSERT_GE(roots.size(), 2u);
    EXPECT_EQ(roots[0], "/");
    EXPECT_EQ(roots[1], home.path().string());
}

}  // namespace
}  // namespace vornel
