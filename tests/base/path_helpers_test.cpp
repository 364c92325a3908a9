#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "base/install_state.h"
#include "base/path_helpers.h"

namespace {

struct TextCase {
    const char *Input;
    const char *Expected;
};

std::string Appended(const std::string &input)
{
    char buffer[PATH_BUFFER_SIZE];
    CopyBounded(buffer, input.c_str(), COUNTOF(buffer));
    AppendBackslash(buffer, COUNTOF(buffer));
    return buffer;
}

std::string Stripped(const char *input)
{
    char buffer[PATH_BUFFER_SIZE];
    CopyBounded(buffer, input, COUNTOF(buffer));
    StripBackslash(buffer);
    return buffer;
}

std::string Expanded(const std::string &input, int size = PATH_MAX_CHARS)
{
    char buffer[PATH_BUFFER_SIZE];
    CopyBounded(buffer, input.c_str(), COUNTOF(buffer));
    ExpandEnvRefs(buffer, size);
    return buffer;
}

TEST(StringEnd, PointsAtTheTerminator)
{
    char empty[] = "";
    char path[] = "c:\\dir";
    EXPECT_EQ(empty, StringEnd(empty));
    EXPECT_EQ(path + 6, StringEnd(path));
}

TEST(AppendBackslash, Cases)
{
    const TextCase cases[] = {
        {"", ""},
        {"c:", "c:\\"},
        {"c:\\", "c:\\"},
        {"c:\\dir\\", "c:\\dir\\"},
        {"c:\\dir", "c:\\dir\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"c:/dir", "c:/dir\\"},  // a forward slash is an ordinary character
    };
    for (const TextCase &c : cases)
        EXPECT_EQ(c.Expected, Appended(c.Input)) << "input: " << c.Input;
}

TEST(AppendBackslash, FullBufferStaysUnchanged)
{
    std::string almostFull(PATH_MAX_CHARS - 1, 'a');
    EXPECT_EQ(almostFull + "\\", Appended(almostFull));
    std::string full(PATH_MAX_CHARS, 'a');
    EXPECT_EQ(full, Appended(full));
}

TEST(StripBackslash, Cases)
{
    const TextCase cases[] = {
        {"c:\\dir\\\\", "c:\\dir\\"},
        {"c:\\", "c:"},
        {"c:\\dir", "c:\\dir"},
        {"", ""},
        {"\\", ""},
    };
    for (const TextCase &c : cases)
        EXPECT_EQ(c.Expected, Stripped(c.Input)) << "input: " << c.Input;
}

class ExpandEnvRefsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Set("VELTRANO_PATH", "c:\\veltrfm");
        Set("ALPHA", "a1");
        Set("BETA", "b2");
        Set("NESTED", "%ALPHA%\\%BETA%");
        Set("PERCENT", "5%");
        Set(" and ", "&");
        Set("SELF", "%SELF%x");
        Set("PING", "%PONG%");
        Set("PONG", "%PING%");
        Set("LONG200", std::string(200, 'L').c_str());
        Set("MAX258", std::string(258, 'M').c_str());
        Set("OVER259", std::string(259, 'O').c_str());
        Set("EMPTY", "");
        SetEnvironmentVariableA("UNSET_VARIABLE", NULL);
    }
    void TearDown() override
    {
        for (const char *name : {"VELTRANO_PATH", "ALPHA", "BETA", "NESTED", "PERCENT", " and ", "SELF", "PING",
                                 "PONG", "LONG200", "MAX258", "OVER259", "EMPTY"})
            SetEnvironmentVariableA(name, NULL);
    }
    static void Set(const char *name, const char *value) { SetEnvironmentVariableA(name, value); }
};

TEST_F(ExpandEnvRefsTest, Cases)
{
    const TextCase cases[] = {
        {"%VELTRANO_PATH%\\vtmain.ini", "c:\\veltrfm\\vtmain.ini"},
        {"no references", "no references"},
        {"100%", "100%"},
        {"%ALPHA%\\%UNSET_VARIABLE%\\%BETA%", "a1\\%UNSET_VARIABLE%\\%BETA%"},
        {"%%ALPHA%", "%%ALPHA%"},
        {"x%%\\%ALPHA%", "x%%\\%ALPHA%"},
        {"%ALPHA%%BETA%", "a1b2"},
        {"%NESTED%\\c", "a1\\b2\\c"},
        {"%alpha%", "a1"},  // environment names match without regard to case
        {"%PERCENT% and %ALPHA%", "5&ALPHA%"},  // the value's sign pairs with the next one
        {"%PERCENT% or %ALPHA%", "5% or %ALPHA%"},
        {"%EMPTY%\\%ALPHA%", "%EMPTY%\\%ALPHA%"},
        {"%ALPHA", "%ALPHA"},
    };
    for (const TextCase &c : cases)
        EXPECT_EQ(c.Expected, Expanded(c.Input)) << "input: " << c.Input;
}

TEST_F(ExpandEnvRefsTest, ResultLongerThanSizeIsCut)
{
    std::string result = Expanded("%LONG200%%LONG200%");
    EXPECT_EQ(std::string(PATH_MAX_CHARS, 'L'), result);

    // A path that starts in the middle of a buffer: the size counts from there.
    char buffer[PATH_BUFFER_SIZE];
    memset(buffer, '#', sizeof(buffer));
    CopyBounded(buffer, "c:\\dir\\%ALPHA%%BETA%", COUNTOF(buffer));
    ExpandEnvRefs(buffer + 7, 3);
    EXPECT_STREQ("c:\\dir\\a1%", buffer);  // cut after three characters; the rest no longer pairs
}

TEST_F(ExpandEnvRefsTest, SelfReferenceEnds)
{
    // Bounded at 64 substitutions; the text stands as the last one left it.
    EXPECT_EQ("%SELF%" + std::string(64, 'x'), Expanded("%SELF%"));
    EXPECT_EQ("%PING%", Expanded("%PING%"));
}

TEST_F(ExpandEnvRefsTest, ValueOverTheLookupCapacityStops)
{
    EXPECT_EQ(std::string(258, 'M') + "x", Expanded("%MAX258%x"));
    EXPECT_EQ("%OVER259%x", Expanded("%OVER259%x"));
    EXPECT_EQ("a1\\%OVER259%\\%BETA%", Expanded("%ALPHA%\\%OVER259%\\%BETA%"));
}

// Every helper on many random texts, inside a 260-byte buffer framed by guard bytes.
TEST_F(ExpandEnvRefsTest, NeverWritesOutsideTheBuffer)
{
    const int GUARD = 64;
    const char GUARD_BYTE = '\x7E';
    const char alphabet[] = "ab\\\\%%%:. ";
    const char *names[] = {"ALPHA", "LONG200", "MAX258", "OVER259", "SELF", "PERCENT", "NESTED", "UNSET_VARIABLE"};
    std::mt19937 rng(1234);
    for (int round = 0; round < 4000; ++round) {
        char frame[GUARD + PATH_BUFFER_SIZE + GUARD];
        memset(frame, GUARD_BYTE, sizeof(frame));
        char *buffer = frame + GUARD;

        std::string text;
        int length = rng() % PATH_BUFFER_SIZE;
        while (static_cast<int>(text.size()) < length) {
            if (rng() % 4 == 0)
                text += std::string("%") + names[rng() % COUNTOF(names)] + "%";
            else
                text += alphabet[rng() % (COUNTOF(alphabet) - 1)];
        }
        text.resize(length);
        memcpy(buffer, text.c_str(), text.size() + 1);

        int offset = rng() % 2 ? 0 : rng() % (static_cast<int>(text.size()) + 1);
        switch (round % 4) {
        case 0: AppendBackslash(buffer, PATH_BUFFER_SIZE); break;
        case 1: StripBackslash(buffer); break;
        case 2: ExpandEnvRefs(buffer, PATH_MAX_CHARS); break;
        case 3: ExpandEnvRefs(buffer + offset, PATH_MAX_CHARS - offset); break;
        }
        for (int i = 0; i < GUARD; ++i) {
            ASSERT_EQ(GUARD_BYTE, frame[i]) << "guard before the buffer, round " << round << ": " << text;
            ASSERT_EQ(GUARD_BYTE, frame[GUARD + PATH_BUFFER_SIZE + i])
                << "guard after the buffer, round " << round << ": " << text;
        }
        ASSERT_NE(nullptr, memchr(buffer, '\0', PATH_BUFFER_SIZE)) << "unterminated, round " << round;
    }
}

TEST(BoundedCopies, CutToCapacity)
{
    char small[5];
    CopyBounded(small, "abcdefgh", COUNTOF(small));
    EXPECT_STREQ("abcd", small);
    AppendBounded(small, "xyz", COUNTOF(small));
    EXPECT_STREQ("abcd", small);
    CopyBounded(small, "ab", COUNTOF(small));
    AppendBounded(small, "xyz", COUNTOF(small));
    EXPECT_STREQ("abxy", small);
}

}  // namespace
