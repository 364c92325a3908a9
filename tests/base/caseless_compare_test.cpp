// The case-insensitive comparison of fixed names and paths, in the test's single-byte code page.
#include <gtest/gtest.h>

#include "base/caseless_compare.h"

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

struct CompareCase {
    const char *A, *B;
    int Order;  // sign of the comparison: -1, 0 or 1
};

TEST(CaselessCompare, FoldsOnlyTheAsciiLetters)
{
    const CompareCase cases[] = {
        {"", "", 0},
        {"vtmain.ini", "VTMAIN.INI", 0},
        {"Win.Ini", "wIN.iNI", 0},
        {"C:\\Apps\\Plugins\\Zip", "c:\\apps\\plugins\\zIP", 0},
        {"abc", "abd", -1},
        {"abd", "ABC", 1},
        {"a", "B", -1},  // letters sort by their folded value, not by their bytes
        {"Z", "a", 1},
        {"vtmain.ini", "vtmain.ini.bak", -1},
        {"vtmain.ini.bak", "VTMAIN.INI", 1},
        {"", "a", -1},
        // Digits and the signs beside the letters compare exactly: a fold by setting bit 5 would
        // take '@' for '`', '[' for '{', '_' for DEL and '1' for '\x11'.
        {"plugin1", "PLUGIN1", 0},
        {"plugin1", "plugin2", -1},
        {"@", "`", -1},
        {"[", "{", -1},
        {"_", "\x7F", -1},
        {"1", "\x11", 1},
        // Bytes of 0x80 and above compare exactly, whatever the locale's casing says (in code page
        // 1252, 0xC9 and 0xE9 are capital and small e acute), and sort above every ASCII byte.
        {"caf\xC9", "caf\xE9", -1},
        {"CAF\xC9", "caf\xC9", 0},
        {"\x80", "\x80", 0},
        {"\xE9", "z", 1},
        {"\xFF", "\x80", 1},
    };
    for (const CompareCase &c : cases) {
        EXPECT_EQ(c.Order, Sign(CompareIgnoringCase(c.A, c.B))) << "\"" << c.A << "\" with \"" << c.B << "\"";
        EXPECT_EQ(-c.Order, Sign(CompareIgnoringCase(c.B, c.A))) << "\"" << c.B << "\" with \"" << c.A << "\"";
        EXPECT_EQ(c.Order == 0, EqualsIgnoringCase(c.A, c.B) != FALSE) << "\"" << c.A << "\" with \"" << c.B << "\"";
    }
}

TEST(CaselessCompare, Prefixes)
{
    struct PrefixCase {
        const char *Text, *Prefix;
        bool Starts;
    };
    const PrefixCase cases[] = {
        {"D:\\Data\\Plugins\\wlx\\imgview\\", "d:\\data\\PLUGINS\\", true},
        {"d:\\data\\plugins\\", "D:\\DATA\\PLUGINS\\", true},
        {"anything", "", true},
        {"", "", true},
        {"d:\\data\\plug", "d:\\data\\plugins\\", false},
        {"d:\\data\\plugins2\\x", "d:\\data\\plugins\\", false},
        {"d:\\d\xC9ta\\", "d:\\d\xE9ta\\", false},
    };
    for (const PrefixCase &c : cases)
        EXPECT_EQ(c.Starts, StartsWithIgnoringCase(c.Text, c.Prefix) != FALSE) << c.Text << " / " << c.Prefix;
}

}  // namespace
