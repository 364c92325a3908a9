// Runs with LC_ALL=ja_JP.UTF-8, which gives the process the ANSI code page 932.
#include <gtest/gtest.h>

#include <string>

#include "base/buffers.h"
#include "base/path_helpers.h"

namespace {

// Shift-JIS 0x95 0x5C: a double-byte character whose trail byte is the backslash's value.
const char TRAIL_5C[] = "c:\\dir\\\x95\x5C";

TEST(DoubleByteCodePage, ProcessRunsInCodePage932)
{
    ASSERT_EQ(932u, GetACP()) << "the test environment must give code page 932";
}

TEST(DoubleByteCodePage, AppendBackslashAfterTrailByte5C)
{
    ASSERT_EQ(932u, GetACP());
    char path[PATH_BUFFER_SIZE];
    CopyBounded(path, COUNTOF(path), TRAIL_5C);
    AppendBackslash(path, COUNTOF(path));
    EXPECT_EQ(std::string(TRAIL_5C) + "\\", path);

    CopyBounded(path, COUNTOF(path), "c:\\dir\\");
    AppendBackslash(path, COUNTOF(path));
    EXPECT_STREQ("c:\\dir\\", path);
}

// The trail byte 0x5C is no separator: stripping it would cut the character in half.
TEST(DoubleByteCodePage, StripBackslashStepsOverTrailBytes)
{
    ASSERT_EQ(932u, GetACP());
    char path[PATH_BUFFER_SIZE];
    CopyBounded(path, COUNTOF(path), TRAIL_5C);
    StripBackslash(path);
    EXPECT_EQ(std::string(TRAIL_5C), path);

    CopyBounded(path, COUNTOF(path), TRAIL_5C);
    AppendBounded(path, COUNTOF(path), "\\");
    StripBackslash(path);
    EXPECT_EQ(std::string(TRAIL_5C), path) << "one real separator after the character goes";
}

}  // namespace

namespace {

TEST(DoubleByteCodePage, LastCharOfStepsOverTrailBytes)
{
    ASSERT_EQ(932u, GetACP());
    char path[PATH_BUFFER_SIZE];
    CopyBounded(path, COUNTOF(path), TRAIL_5C);
    EXPECT_EQ(path + 6, LastCharOf(path, '\\')) << "the trail byte 0x5C is not a separator";
    char plain[] = "c:\\dir\\name.ini";
    EXPECT_EQ(plain + 6, LastCharOf(plain, '\\'));
    EXPECT_EQ(plain + 11, LastCharOf(plain, '.'));
    EXPECT_EQ(nullptr, LastCharOf(plain, '/'));
}

}  // namespace
