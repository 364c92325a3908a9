// Names with double-byte characters, matched and cut as whole characters. Runs with
// LC_ALL=ja_JP.UTF-8, which gives the process the ANSI code page 932 (Shift-JIS), where trail
// bytes run from 0x40 to 0xFC and so take the values of the ASCII letters, '\' and '_'.
#include <gtest/gtest.h>

#include "base/caseless_compare.h"
#include "base/buffers.h"
#include "files/free_space.h"
#include "pages/plugin_list.h"

namespace {

// Katakana a (0x83 0x41) and di (0x83 0x61): their trail bytes are 'A' and 'a'.
#define KATAKANA_A "\x83\x41"
#define KATAKANA_DI "\x83\x61"
// Katakana da (0x83 0x5F): its trail byte is '_'.
#define KATAKANA_DA "\x83\x5F"
// A kanji (0x95 0x5C): its trail byte is '\'.
#define KANJI_5C "\x95\x5C"

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

TEST(DoubleByteNames, ProcessRunsInCodePage932)
{
    ASSERT_EQ(932u, GetACP()) << "the test environment must give code page 932";
}

TEST(DoubleByteNames, TrailBytesCompareExactly)
{
    ASSERT_EQ(932u, GetACP());
    struct CompareCase {
        const char *A, *B;
        int Order;
    };
    const CompareCase cases[] = {
        {KATAKANA_A, KATAKANA_A, 0},
        {KATAKANA_A, KATAKANA_DI, -1},  // two characters, though their trail bytes fold together
        {"c:\\Plugins\\" KATAKANA_A "\\X", "C:\\PLUGINS\\" KATAKANA_A "\\x", 0},
        {"c:\\plugins\\" KATAKANA_A, "c:\\plugins\\" KATAKANA_DI, -1},
        {KANJI_5C "a", KANJI_5C "A", 0},  // letters after a double-byte character still fold
        {KATAKANA_A, "a", 1},
        {KATAKANA_DA "x", KATAKANA_DA "X", 0},
    };
    for (const CompareCase &c : cases) {
        EXPECT_EQ(c.Order, Sign(CompareIgnoringCase(c.A, c.B))) << "case " << (&c - cases);
        EXPECT_EQ(-c.Order, Sign(CompareIgnoringCase(c.B, c.A))) << "case " << (&c - cases);
        EXPECT_EQ(c.Order == 0, EqualsIgnoringCase(c.A, c.B) != FALSE) << "case " << (&c - cases);
    }
    EXPECT_TRUE(StartsWithIgnoringCase("D:\\" KATAKANA_A "\\Plugins\\wlx\\", "d:\\" KATAKANA_A "\\plugins\\"));
    EXPECT_FALSE(StartsWithIgnoringCase("D:\\" KATAKANA_DI "\\Plugins\\wlx\\", "d:\\" KATAKANA_A "\\plugins\\"));
}

TEST(DoubleByteNames, DetectCompanionsFoundByWholeCharacters)
{
    ASSERT_EQ(932u, GetACP());
    struct CompanionCase {
        const char *Key;
        bool Companion;
    };
    const CompanionCase cases[] = {
        {KATAKANA_DA "_detect", true},
        {KATAKANA_DA "_DETECT", true},
        {"x" KATAKANA_DA "detect", false},  // no underscore, only a trail byte of that value
        {KATAKANA_DA "detect", false},
        {KATAKANA_DA, false},
    };
    for (const CompanionCase &c : cases)
        EXPECT_EQ(c.Companion, IsDetectCompanion(c.Key) != FALSE) << "case " << (&c - cases);
}

TEST(DoubleByteNames, ShareRootEndsAfterTheWholeShareName)
{
    ASSERT_EQ(932u, GetACP());
    struct RootCase {
        const char *Path, *Root;
    };
    const RootCase cases[] = {
        {"\\\\server\\" KANJI_5C "\\apps", "\\\\server\\" KANJI_5C "\\"},
        {"\\\\server\\" KANJI_5C, "\\\\server\\" KANJI_5C "\\"},
        {"\\\\" KANJI_5C "\\share\\apps", "\\\\" KANJI_5C "\\share\\"},
    };
    for (const RootCase &c : cases) {
        char path[PATH_BUFFER_SIZE];
        lstrcpyA(path, c.Path);
        ReduceToVolumeRoot(path, COUNTOF(path));
        EXPECT_STREQ(c.Root, path) << "case " << (&c - cases);
    }
}

}  // namespace
