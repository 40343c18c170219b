#include "os/os_roots.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(TestRoots, DefaultsAndOverridesAreReadAtEachCall) {
    ::unsetenv("DOVA_SYSFS_ROOT");
    ::unsetenv("DOVA_DEV_ROOT");
    EXPECT_EQ(os::sysfsRoot(), "/sys");
    EXPECT_EQ(os::devRoot(), "/dev");
    ::setenv("DOVA_SYSFS_ROOT", "/tmp/tree/sys/", 1);
    ::setenv("DOVA_DEV_ROOT", "/tmp/tree/dev", 1);
    EXPECT_EQ(os::sysfsRoot(), "/tmp/tree/sys");
    EXPECT_EQ(os::devRoot(), "/tmp/tree/dev");
    ::setenv("DOVA_DEV_ROOT", "/tmp/other", 1);
    EXPECT_EQ(os::devRoot(), "/tmp/other");
    ::setenv("DOVA_DEV_ROOT", "", 1);
    EXPECT_EQ(os::devRoot(), "/dev") << "an empty setting is no setting";
    ::unsetenv("DOVA_SYSFS_ROOT");
    ::unsetenv("DOVA_DEV_ROOT");
}

} // namespace
