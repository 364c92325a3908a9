#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "base/buffers.h"
#include "base/path_helpers.h"

namespace {

struct TextCase {
    const char *Input;
    const char *Expected;
};

std::string Appended(const std::string &input)
{
    char buffer[PATH_BUFFER_SIZE];
    CopyBounded(buffer, COUNTOF(buffer), input.c_str());
    AppendBackslash(buffer, COUNTOF(buffer));
    return buffer;
}

std::string Stripped(const char *input)
{
    char buffer[PATH_BUFFER_SIZE];
    CopyBounded(buffer, COUNTOF(buffer), input);
    StripBackslash(buffer);
    return buffer;
}

std::string Expanded(const std::string &input)
{
    char buffer[PATH_BUFFER_SIZE];
    CopyBounded(buffer, COUNTOF(buffer), input.c_str());
    ExpandEnvRefs(buffer, COUNTOF(buffer));
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

TEST_F(ExpandEnvRefsTest, ResultLongerThanCapacityIsCut)
{
    std::string result = Expanded("%LONG200%%LONG200%");
    EXPECT_EQ(std::string(PATH_MAX_CHARS, 'L'), result);

    // A path that starts in the middle of a buffer: the capacity counts from there.
    char buffer[PATH_BUFFER_SIZE];
    memset(buffer, '#', sizeof(buffer));
    CopyBounded(buffer, COUNTOF(buffer), "c:\\dir\\%ALPHA%%BETA%");
    ExpandEnvRefs(buffer + 7, 4);
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

TEST_F(ExpandEnvRefsTest, CapacityAboveAPathBufferIsHonoured)
{
    char buffer[2 * PATH_BUFFER_SIZE];
    CopyBounded(buffer, COUNTOF(buffer), "%LONG200%%LONG200%x");
    ExpandEnvRefs(buffer, COUNTOF(buffer));
    EXPECT_EQ(std::string(400, 'L') + "x", buffer);
}

// A substitution cut on the way is a cut even when later, shorter values bring the length back
// under the capacity: the end of the text was lost, and the result names another file.
TEST_F(ExpandEnvRefsTest, CutAlongTheWayIsReportedAndRefused)
{
    const std::string tail(50, 'y');
    const std::string source = "%LONG200%%NESTED%" + tail;  // 258 bytes after LONG200, 264 after NESTED
    char buffer[PATH_BUFFER_SIZE];
    CopyBounded(buffer, COUNTOF(buffer), source.c_str());
    EXPECT_FALSE(ExpandEnvRefs(buffer, COUNTOF(buffer)));
    EXPECT_EQ(std::string(200, 'L') + "a1\\b2" + tail.substr(5), buffer) << "cut, then shortened";

    char target[PATH_BUFFER_SIZE];
    EXPECT_FALSE(ExpandWhole(target, COUNTOF(target), source.c_str()));
    EXPECT_STREQ("", target);

    // The same references with room for every step are whole.
    char wide[2 * PATH_BUFFER_SIZE];
    EXPECT_TRUE(ExpandWhole(wide, COUNTOF(wide), source.c_str()));
    EXPECT_EQ(std::string(200, 'L') + "a1\\b2" + tail, wide);
    CopyBounded(buffer, COUNTOF(buffer), "%ALPHA%\\%NESTED%");
    EXPECT_TRUE(ExpandEnvRefs(buffer, COUNTOF(buffer)));
    EXPECT_STREQ("a1\\a1\\b2", buffer);
}

const int GUARD = 64;
const char GUARD_BYTE = '\x7E';

// A buffer of capacity bytes with guard bytes before and after it.
struct GuardedFrame {
    char Bytes[GUARD + 2 * PATH_BUFFER_SIZE + GUARD];
    int Capacity;

    explicit GuardedFrame(int capacity) : Capacity(capacity) { memset(Bytes, GUARD_BYTE, sizeof(Bytes)); }
    char *Buffer() { return Bytes + GUARD; }
    // The first byte outside the buffer that a call changed, or -1.
    int FirstTouchedGuard() const
    {
        for (int i = 0; i < static_cast<int>(sizeof(Bytes)); ++i) {
            bool inside = i >= GUARD && i < GUARD + Capacity;
            if (!inside && Bytes[i] != GUARD_BYTE)
                return i - GUARD;
        }
        return -1;
    }
    bool Terminated() const { return Capacity > 0 && memchr(Bytes + GUARD, '\0', Capacity) != NULL; }
};

// Every helper on many random texts, at random capacities, inside a frame of guard bytes.
TEST_F(ExpandEnvRefsTest, NeverWritesOutsideTheBuffer)
{
    const char alphabet[] = "ab\\\\%%%:. ";
    const char *names[] = {"ALPHA", "LONG200", "MAX258", "OVER259", "SELF", "PERCENT", "NESTED", "UNSET_VARIABLE"};
    std::mt19937 rng(1234);
    for (int round = 0; round < 8000; ++round) {
        int capacity = (round / 8) % 2 ? PATH_BUFFER_SIZE : 1 + static_cast<int>(rng() % (2 * PATH_BUFFER_SIZE));
        GuardedFrame frame(capacity);
        char *buffer = frame.Buffer();

        std::string text;
        int length = static_cast<int>(rng() % capacity);
        while (static_cast<int>(text.size()) < length) {
            if (rng() % 4 == 0)
                text += std::string("%") + names[rng() % COUNTOF(names)] + "%";
            else
                text += alphabet[rng() % (COUNTOF(alphabet) - 1)];
        }
        text.resize(length);
        memcpy(buffer, text.c_str(), text.size() + 1);
        std::string other = text.substr(0, rng() % (text.size() + 1));

        int offset = rng() % 2 ? 0 : rng() % (static_cast<int>(text.size()) + 1);
        BOOL whole = TRUE;
        switch (round % 8) {
        case 0: AppendBackslash(buffer, capacity); break;
        case 1: StripBackslash(buffer); break;
        case 2: ExpandEnvRefs(buffer, capacity); break;
        case 3: ExpandEnvRefs(buffer + offset, capacity - offset); break;
        case 4: whole = ExpandWhole(buffer, capacity, (text + other).c_str()); break;
        case 5: whole = JoinPath(buffer, capacity, other.c_str(), buffer + offset); break;
        case 6: whole = FileBaseName(buffer, capacity, (text + other).c_str()); break;
        case 7: whole = CopyWhole(buffer, capacity, (text + other).c_str()); break;
        }
        ASSERT_EQ(-1, frame.FirstTouchedGuard()) << "capacity " << capacity << ", round " << round << ": " << text;
        ASSERT_TRUE(frame.Terminated()) << "unterminated, round " << round;
        const int step = round % 8;
        if (!whole && (step == 5 || step == 7)) {
            ASSERT_EQ(text, buffer) << "a refused result changed the target, round " << round;
        }
        if (!whole && (step == 4 || step == 6)) {
            ASSERT_STREQ("", buffer) << "a refused result left text behind, round " << round;
        }
        if (whole && step == 5) {
            ASSERT_EQ(other + text.substr(offset), buffer) << "round " << round;
        }
        if (whole && step == 7) {
            ASSERT_EQ(text + other, buffer) << "round " << round;
        }
    }
}

// What a refused call leaves in its target.
enum Refusal { TARGET_UNCHANGED, TARGET_EMPTY };

struct WholeCase {
    const char *Name;
    BOOL (*Primitive)(char *target, int capacity, const char *first, const char *second);
    const char *First;
    const char *Second;
    std::string Whole;        // the result where there is room enough
    int LeastCapacity;        // the smallest capacity that takes it whole
    Refusal OnRefusal;
};

BOOL RunCopyWhole(char *target, int capacity, const char *source, const char *)
{
    return CopyWhole(target, capacity, source);
}
BOOL RunJoinPath(char *target, int capacity, const char *directory, const char *name)
{
    return JoinPath(target, capacity, directory, name);
}
BOOL RunExpandWhole(char *target, int capacity, const char *source, const char *)
{
    return ExpandWhole(target, capacity, source);
}
BOOL RunFileBaseName(char *target, int capacity, const char *fileName, const char *)
{
    return FileBaseName(target, capacity, fileName);
}

// Each whole-or-nothing primitive at capacities around the one its result needs, in a buffer
// followed by guard bytes: below it the call is refused as documented, from it on the result
// is whole, and no byte past the capacity is ever written.
TEST_F(ExpandEnvRefsTest, WholeOrNothingAtEveryCapacity)
{
    const std::string long200(200, 'L');
    const std::string full(PATH_MAX_CHARS, 'f');
    const std::string fillsOnceExpanded = "%LONG200%" + std::string(59, 'x');
    const WholeCase cases[] = {
        {"copy", RunCopyWhole, "c:\\dir\\file.ini", "", "c:\\dir\\file.ini", 16, TARGET_UNCHANGED},
        {"copy of nothing", RunCopyWhole, "", "", "", 1, TARGET_UNCHANGED},
        {"join", RunJoinPath, "c:\\dir\\", "file.ini", "c:\\dir\\file.ini", 16, TARGET_UNCHANGED},
        {"join onto nothing", RunJoinPath, "", "file.ini", "file.ini", 9, TARGET_UNCHANGED},
        {"join of nothing", RunJoinPath, "c:\\dir", "", "c:\\dir", 7, TARGET_UNCHANGED},
        {"expansion that grows", RunExpandWhole, "%LONG200%x", "", long200 + "x", 202, TARGET_EMPTY},
        {"expansion filling a path buffer", RunExpandWhole, fillsOnceExpanded.c_str(), "",
         long200 + std::string(59, 'x'), PATH_BUFFER_SIZE, TARGET_EMPTY},
        {"expansion that shrinks", RunExpandWhole, "%ALPHA%\\%BETA%", "", "a1\\b2", 15, TARGET_EMPTY},
        {"nothing to expand", RunExpandWhole, "c:\\dir\\100%", "", "c:\\dir\\100%", 12, TARGET_EMPTY},
        {"unset variable", RunExpandWhole, "%UNSET_VARIABLE%\\x", "", "%UNSET_VARIABLE%\\x", 19, TARGET_EMPTY},
        {"nothing to expand filling a path buffer", RunExpandWhole, full.c_str(), "", full, PATH_BUFFER_SIZE,
         TARGET_EMPTY},
        {"base name", RunFileBaseName, "multiarc.vpx", "", "multiarc", 9, TARGET_EMPTY},
        {"base name of the last extension only", RunFileBaseName, "a.b.vlx", "", "a.b", 4, TARGET_EMPTY},
        {"base name without extension", RunFileBaseName, "readme", "", "readme", 7, TARGET_EMPTY},
        {"base name of a dot file", RunFileBaseName, ".vdx", "", "", 1, TARGET_EMPTY},
    };
    const std::string before = "before";
    for (const WholeCase &c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_LT(c.LeastCapacity, 2 * PATH_BUFFER_SIZE);
        const int capacities[] = {1, 2, c.LeastCapacity - 2, c.LeastCapacity - 1, c.LeastCapacity,
                                  c.LeastCapacity + 1, PATH_BUFFER_SIZE, 2 * PATH_BUFFER_SIZE};
        for (int capacity : capacities) {
            if (capacity < 1)
                continue;
            SCOPED_TRACE("capacity " + std::to_string(capacity));
            GuardedFrame frame(capacity);
            CopyBounded(frame.Buffer(), capacity, before.c_str());
            const std::string prior = frame.Buffer();
            BOOL whole = c.Primitive(frame.Buffer(), capacity, c.First, c.Second);
            EXPECT_EQ(-1, frame.FirstTouchedGuard());
            if (capacity >= c.LeastCapacity) {
                EXPECT_TRUE(whole);
                EXPECT_EQ(c.Whole, frame.Buffer());
            } else {
                EXPECT_FALSE(whole);
                EXPECT_EQ(c.OnRefusal == TARGET_UNCHANGED ? prior : std::string(), frame.Buffer());
            }
        }
    }
}

// A name that lies in the target, and a directory that is the target itself.
TEST(JoinPath, NameInsideTheTarget)
{
    char path[PATH_BUFFER_SIZE] = ".\\vtmain.ini";
    ASSERT_TRUE(JoinPath(path, COUNTOF(path), "d:\\Desk\\", path + 2));
    EXPECT_STREQ("d:\\Desk\\vtmain.ini", path);
    ASSERT_TRUE(JoinPath(path, COUNTOF(path), path, "_2"));
    EXPECT_STREQ("d:\\Desk\\vtmain.ini_2", path);
    const std::string longDirectory(PATH_MAX_CHARS - 19, 'd');
    EXPECT_FALSE(JoinPath(path, COUNTOF(path), longDirectory.c_str(), path));
    EXPECT_STREQ("d:\\Desk\\vtmain.ini_2", path);
}

struct FlagsCase {
    const char *Value;
    const char *Path;
};

TEST(SkipFlagsPrefix, Cases)
{
    const FlagsCase cases[] = {
        {"21,c:\\p\\arc.vpx", "c:\\p\\arc.vpx"},
        {"c:\\p\\arc.vpx", "c:\\p\\arc.vpx"},
        {"21c:\\p\\arc.vpx", "c:\\p\\arc.vpx"},  // digits without a comma
        {",,c:\\p", ",c:\\p"},                   // one comma only
        {"7,", ""},
        {"%VT%\\arc.vpx", "%VT%\\arc.vpx"},
        {"", ""},
    };
    for (const FlagsCase &c : cases)
        EXPECT_STREQ(c.Path, SkipFlagsPrefix(c.Value)) << "value: " << c.Value;
}

// Directories of a plugin file at a drive's or share's root, or with no directory before it.
TEST(NamesWholeVolume, Cases)
{
    struct VolumeCase {
        const char *Directory;
        bool Whole;
    };
    const VolumeCase cases[] = {
        {"", true},
        {"c:", true},
        {"C:\\", true},
        {"\\", true},
        {"\\\\server", true},
        {"\\\\server\\share", true},
        {"\\\\server\\share\\", true},
        {"\\\\server\\share\\plugins", false},
        {"c:\\plugins", false},
        {"c:plugins", false},  // a directory below the drive's current one
        {"plugins\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..", true},  // above the current directory's drive
        {"\\plugins", false},
        {"plugins", false},
        {"c:\\\\", true},
        {"c:\\plugins\\..", true},
        {"c:\\.", true},
        {"\\\\server\\share\\plugins\\..", true},
        {"c:\\plugins\\.", false},
    };
    for (const VolumeCase &c : cases)
        EXPECT_EQ(c.Whole, NamesWholeVolume(c.Directory) != FALSE) << "directory: " << c.Directory;
}

TEST(BoundedCopies, CutToCapacity)
{
    char small[5];
    CopyBounded(small, COUNTOF(small), "abcdefgh");
    EXPECT_STREQ("abcd", small);
    AppendBounded(small, COUNTOF(small), "xyz");
    EXPECT_STREQ("abcd", small);
    CopyBounded(small, COUNTOF(small), "ab");
    AppendBounded(small, COUNTOF(small), "xyz");
    EXPECT_STREQ("abxy", small);
}

}  // namespace
