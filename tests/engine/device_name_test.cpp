// The safe-name rule for names that become one entry of a directory on the device.
#include <gtest/gtest.h>

#include "engine/device_name.h"

namespace {

struct NameCase {
    const char *Name;
    bool Safe;
};

TEST(DeviceName, ReservedDeviceNamesWithAnyExtensionAreRefused)
{
    const NameCase cases[] = {
        {"NUL", false},        {"nul.bar", false},     {"Con.ini", false},    {"aux", false},
        {"PRN.x.y", false},    {"com1.bar", false},    {"COM9", false},       {"lpt1.vpx", false},
        {"Lpt9.a.b", false},   {"nul .bar", false},    {"con   .x", false},   {"NUL.", false},
        // Names that only begin like a device, or carry another number, are files.
        {"console.bar", true}, {"nullplug.vpx", true}, {"auxiliary", true},   {"com10.bar", true},
        {"COM0", true},        {"lpt", true},          {"com.bar", true},     {"xnul.bar", true},
        {"my.nul", true},      {"con_bar.bar", true},  {"a.con", true},       {"default.bar", true},
    };
    for (const NameCase &c : cases)
        EXPECT_EQ(c.Safe ? TRUE : FALSE, IsSafeDeviceName(c.Name)) << c.Name;
}

}  // namespace
