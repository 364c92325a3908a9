// The plugin row's label and value: what the plugin page composes, the installation must take
// apart into the same kind and desktop key, or refuse; never a cut key.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/install_state.h"
#include "lists/plugin_row.h"

namespace {

// A buffer of capacity bytes followed by guard bytes, holding a stale text to begin with.
struct GuardedBuffer {
    static const char GUARD_BYTE = '\x7E';
    char Bytes[PATH_BUFFER_SIZE + 16];
    int Capacity;

    GuardedBuffer(int capacity, const char *stale) : Capacity(capacity)
    {
        memset(Bytes, GUARD_BYTE, sizeof(Bytes));
        CopyBounded(Bytes, capacity, stale);
    }
    // The first guard byte a call changed, or -1.
    int FirstTouchedGuard() const
    {
        for (int i = Capacity; i < static_cast<int>(sizeof(Bytes)); ++i) {
            if (Bytes[i] != GUARD_BYTE)
                return i;
        }
        return -1;
    }
};

struct RoundTripCase {
    int Kind;
    const char *Key;
    const char *Value;  // the desktop value a numbered kind's label takes its module name from
    const char *Label;
    const char *DesktopKey;  // what the installation finds again
};

TEST(ListedPluginRow, LabelsRoundTrip)
{
    const RoundTripCase cases[] = {
        {KIND_PACKER, "7z", NULL, "Packer: 7z", "7z"},
        {KIND_PACKER, "a:b", NULL, "Packer: a:b", "a:b"},
        {KIND_PACKER, "arj: old", NULL, "Packer: arj: old", "arj: old"},
        {KIND_FILE_SYSTEM, "sftp", NULL, "File System: sftp", "sftp"},
        {KIND_FILE_SYSTEM, "c:\\x", NULL, "File System: c:\\x", "c:\\x"},
        {KIND_LISTER, "0", "%VELTRANO_PATH%\\plugins\\imgview\\imgview.vlx", "Lister: 0: imgview", "0"},
        {KIND_LISTER, "1", "c:\\p\\img.view\\a.b.vlx", "Lister: 1: a.b", "1"},
        {KIND_LISTER, "2", "c:\\p\\noext", "Lister: 2: noext", "2"},
        {KIND_LISTER, "3", "c:\\p\\", "Lister: 3: ", "3"},
        {KIND_LISTER, "4", "imgview.vlx", "Lister: 4", "4"},  // no backslash: no module name
        {KIND_LISTER, "5", "c:\\p\\img:view.vlx", "Lister: 5: img:view", "5"},
        // A numbered kind's key is a number: a ':' in it ends it, where the module name starts.
        {KIND_LISTER, "6:7", "c:\\p\\v.vlx", "Lister: 6:7: v", "6"},
        {KIND_CONTENT, "0", "21,c:\\p\\exif\\exif.vdx", "Content: 0: exif", "0"},
        {KIND_CONTENT, "1", "", "Content: 1", "1"},
    };
    for (const RoundTripCase &c : cases) {
        SCOPED_TRACE(c.Label);
        const char *moduleName = NULL;
        char baseName[PATH_BUFFER_SIZE];
        if (c.Value && PluginModuleName(baseName, COUNTOF(baseName), c.Value))
            moduleName = baseName;
        char label[PATH_BUFFER_SIZE];
        ASSERT_TRUE(ComposePluginLabel(label, COUNTOF(label), c.Kind, c.Key, moduleName));
        EXPECT_STREQ(c.Label, label);

        char desktopKey[PATH_BUFFER_SIZE];
        EXPECT_EQ(c.Kind, ParsePluginLabel(label, desktopKey, COUNTOF(desktopKey)));
        EXPECT_STREQ(c.DesktopKey, desktopKey);
    }
}

struct FitCase {
    const char *Name;
    int Kind;
    std::string Key;
    const char *ModuleName;
    int Capacity;
    bool Composed;
    std::string Label;  // as composed, a module name cut to the capacity
};

// Labels at the capacity's edge, each followed by guard bytes: the prefix and key go in whole or
// not at all, the module name (never read back) as far as it fits; nothing past the capacity.
TEST(ListedPluginRow, LabelsThatDoNotFit)
{
    const std::string key251(251, 'K');
    const FitCase cases[] = {
        {"longest key a path buffer takes", KIND_PACKER, key251, NULL, PATH_BUFFER_SIZE, true, "Packer: " + key251},
        {"one character more", KIND_PACKER, key251 + "K", NULL, PATH_BUFFER_SIZE, false, ""},
        {"small buffer, exactly", KIND_FILE_SYSTEM, "ftp", NULL, 17, true, "File System: ftp"},
        {"small buffer, one short", KIND_FILE_SYSTEM, "ftp", NULL, 16, false, ""},
        {"module name cut", KIND_LISTER, "0", "imgview", 14, true, "Lister: 0: im"},
        {"module name without room", KIND_LISTER, "0", "imgview", 10, true, "Lister: 0"},
        {"key without room", KIND_LISTER, "10", "imgview", 10, false, ""},
        {"no room at all", KIND_CONTENT, "0", "exif", 1, false, ""},
    };
    for (const FitCase &c : cases) {
        SCOPED_TRACE(c.Name);
        GuardedBuffer label(c.Capacity, "stale");
        BOOL composed = ComposePluginLabel(label.Bytes, c.Capacity, c.Kind, c.Key.c_str(), c.ModuleName);
        EXPECT_EQ(c.Composed, composed != FALSE);
        EXPECT_EQ(c.Label, label.Bytes);
        EXPECT_EQ(-1, label.FirstTouchedGuard());
        if (c.Composed) {
            char desktopKey[PATH_BUFFER_SIZE];
            EXPECT_EQ(c.Kind, ParsePluginLabel(label.Bytes, desktopKey, COUNTOF(desktopKey)));
            EXPECT_EQ(c.Key, desktopKey);
        }
    }
}

struct ParseCase {
    const char *Label;
    int Capacity;
    int Kind;
    const char *DesktopKey;
};

TEST(ListedPluginRow, LabelsThatNameNoKeyOrDoNotFitTheKey)
{
    const ParseCase cases[] = {
        {"packer: 7z", PATH_BUFFER_SIZE, -1, ""},  // prefixes compare exactly
        {"Packer:7z", PATH_BUFFER_SIZE, -1, ""},
        {"Packers: 7z", PATH_BUFFER_SIZE, -1, ""},
        {"", PATH_BUFFER_SIZE, -1, ""},
        {"Packer: ", PATH_BUFFER_SIZE, KIND_PACKER, ""},
        {"Packer: 7z", 3, KIND_PACKER, "7z"},
        {"Packer: 7zip", 3, -1, ""},
        {"Lister: 12: imgview", 3, KIND_LISTER, "12"},
        {"Lister: 123: imgview", 3, -1, ""},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.Label);
        GuardedBuffer desktopKey(c.Capacity, "st");
        EXPECT_EQ(c.Kind, ParsePluginLabel(c.Label, desktopKey.Bytes, c.Capacity));
        EXPECT_STREQ(c.DesktopKey, desktopKey.Bytes);
        EXPECT_EQ(-1, desktopKey.FirstTouchedGuard());
    }
}

struct SplitCase {
    std::string Value;
    bool Split;
    const char *Flags;
    std::string SourceDirectory;
    std::string FileName;
};

TEST(ListedPluginRow, ValuesSplitIntoFlagsDirectoryAndFile)
{
    const std::string dir259 = "c:\\" + std::string(256, 'd');
    const std::string name259(259, 'n');
    const SplitCase cases[] = {
        {"21,c:\\p\\multiarc\\multiarc.vpx", true, "21,", "c:\\p\\multiarc", "multiarc.vpx"},
        {"c:\\p\\imgview.vlx", true, "", "c:\\p", "imgview.vlx"},
        {"21c:\\p\\x.vpx", true, "21", "c:\\p", "x.vpx"},  // digits without their comma
        {"12,34\\x.vpx", true, "12,", "34", "x.vpx"},
        {",c:\\p\\x.vpx", true, ",", "c:\\p", "x.vpx"},
        {"21,\\x.vpx", true, "21,", "", "x.vpx"},
        {"c:\\p\\", true, "", "c:\\p", ""},
        {"%VELTRANO_PATH%\\p.d\\a.b.vpx", true, "", "%VELTRANO_PATH%\\p.d", "a.b.vpx"},
        {"imgview.vlx", false, "", "", ""},
        {"21,imgview.vlx", false, "", "", ""},
        {"", false, "", "", ""},
        // Parts of a path buffer's length are taken whole; one character more is refused.
        {"7," + dir259 + "\\" + name259, true, "7,", dir259, name259},
        {"7," + dir259 + "d\\x.vpx", false, "", "", ""},
        {"c:\\" + name259 + "n", false, "", "", ""},
    };
    for (const SplitCase &c : cases) {
        SCOPED_TRACE(c.Value.substr(0, 40));
        PluginValue parts;
        memset(&parts, 'x', sizeof(parts));
        parts.Flags[PATH_MAX_CHARS] = parts.SourceDirectory[PATH_MAX_CHARS] = parts.FileName[PATH_MAX_CHARS] = '\0';
        EXPECT_EQ(c.Split, SplitPluginValue(&parts, c.Value.c_str()) != FALSE);
        EXPECT_STREQ(c.Flags, parts.Flags);
        EXPECT_EQ(c.SourceDirectory, parts.SourceDirectory);
        EXPECT_EQ(c.FileName, parts.FileName);
    }
}

}  // namespace
