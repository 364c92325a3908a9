// Registrations gathered per section and written at the flush against the same registrations
// written key by key: the two files must be the same bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/buffers.h"
#include "base/section_writes.h"
#include "support/files.h"
#include "support/temp_directory.h"

namespace {

struct KeyWrite {
    const char *Section;
    std::string Key;
    bool Removes;
    std::string Value;
};

KeyWrite Put(const char *section, const std::string &key, const std::string &value)
{
    return {section, key, false, value};
}

KeyWrite Remove(const char *section, const std::string &key)
{
    return {section, key, true, ""};
}

struct WritesCase {
    const char *Name;
    std::string Before;  // the portable file before the registrations
    std::vector<KeyWrite> Writes;
};

const char PORTABLE[] = "[Configuration]\r\nInstallDir=C:\\Veltrano\r\nLanguage=en\r\n";
const char PACKER[] = "PackerPlugins";
const char LISTER[] = "ListerPlugins";
const char CONTENT[] = "ContentPlugins";
const char SYSTEM[] = "FileSystemPlugins";

std::vector<WritesCase> Cases()
{
    const std::string longValue = "%U3_APP_DATA_PATH%\\Plugins\\" + std::string(300, 'l') + "\\x.vlx";
    const std::string longDetect = "\"" + std::string(8188, 'd') + "\"";
    std::vector<KeyWrite> many;
    for (int i = 0; i < 2000; ++i)
        many.push_back(Put(PACKER, "e" + std::to_string(i), "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\arc\\arc.vpx"));
    return {
        {"nothing registered", PORTABLE, {}},
        {"one packer", PORTABLE, {Put(PACKER, "zip", "21,%U3_APP_DATA_PATH%\\Plugins\\vpx\\zip\\zip.vpx")}},
        {"kinds interleaved",
         PORTABLE,
         {Put(LISTER, "0", "%U3_APP_DATA_PATH%\\Plugins\\vlx\\a\\a.vlx"), Put(LISTER, "0_detect", "\"EXT=\"TXT\"\""),
          Put(PACKER, "7z", "%U3_APP_DATA_PATH%\\Plugins\\vpx\\7z\\7z.vpx"),
          Put(CONTENT, "0", "%U3_APP_DATA_PATH%\\Plugins\\vdx\\i\\i.vdx"), Remove(CONTENT, "0_detect"),
          Put(LISTER, "1", "%U3_APP_DATA_PATH%\\Plugins\\vlx\\b\\b.vlx"), Remove(LISTER, "1_detect"),
          Put(SYSTEM, "Net", "%U3_APP_DATA_PATH%\\Plugins\\vsx\\net\\net.vsx"),
          Put(PACKER, "rar", "%U3_APP_DATA_PATH%\\Plugins\\vpx\\rar\\rar.vpx")}},
        {"a key written twice, in another case",
         PORTABLE,
         {Put(PACKER, "zip", "first"), Put(PACKER, "arj", "a"), Put(PACKER, "ZIP", "second"), Put(PACKER, "Zip", "third"),
          Put(PACKER, "ARJ", "a")}},
        {"values with blanks and quotes",
         PORTABLE,
         {Put(PACKER, "lead", "   leading"), Put(PACKER, "trail", "trailing   "), Put(PACKER, "both", "\t both \t"),
          Put(PACKER, "quoted", "\"quoted\""), Put(PACKER, "single", "'single'"), Put(PACKER, "half", "\"half"),
          Put(PACKER, "inner", "a\"b\"c"), Put(PACKER, "empty", ""), Put(PACKER, "blank", "   "),
          Put(PACKER, "equals", "a=b=c"), Put(PACKER, "semicolon", ";not a comment")}},
        {"long values", PORTABLE, {Put(LISTER, "0", longValue), Put(LISTER, "0_detect", longDetect)}},
        {"keys with blanks around them", PORTABLE, {Put(PACKER, "k", "1"), Put(PACKER, " k ", "2"), Put(PACKER, "m ", "3")}},
        {"removal of a key never written", PORTABLE, {Remove(LISTER, "0_detect"), Put(PACKER, "a", "1")}},
        {"removals only make no section", PORTABLE, {Remove(LISTER, "0_detect"), Remove(CONTENT, "3_detect")}},
        {"a removal before the section's first write",
         PORTABLE,
         {Remove(LISTER, "0_detect"), Put(PACKER, "a", "1"), Put(LISTER, "0", "x")}},
        {"a written key removed, and written again",
         PORTABLE,
         {Put(LISTER, "0", "x"), Put(LISTER, "1", "y"), Remove(LISTER, "0"), Put(LISTER, "2", "z"), Put(LISTER, "0", "w")}},
        {"every key of a section removed", PORTABLE, {Put(LISTER, "0", "x"), Remove(LISTER, "0"), Put(PACKER, "a", "1")}},
        {"the section already in the file",
         std::string(PORTABLE) + "[PackerPlugins]\r\n; kept\r\nold=1\r\nzip=old\r\n[Other]\r\nx=1\r\n",
         {Put(PACKER, "ZIP", "new"), Put(PACKER, "arj", "a"), Put(LISTER, "0", "x"), Remove(PACKER, "old")}},
        {"the section in the file under another case",
         std::string(PORTABLE) + "[packerplugins]\r\nold=1\r\n",
         {Put(PACKER, "a", "1")}},
        {"a file with loose formatting",
         "; leading comment\r\n[Configuration]\r\n  InstallDir = C:\\Veltrano  \r\n\r\nbare line\r\n[Empty]\r\n",
         {Put(PACKER, "a", "1"), Put(LISTER, "0", "x")}},
        {"a key with '=' and an empty key", PORTABLE, {Put(PACKER, "a", "1"), Put(PACKER, "b=c", "2"), Put(PACKER, "", "3")}},
        {"double-byte keys in two cases", PORTABLE, {Put(PACKER, "\x82\x60", "1"), Put(PACKER, "\x82\x81", "2"),
                                                   Put(PACKER, "\xC9t\xC9", "3"), Put(PACKER, "\xE9t\xE9", "4")}},
        {"two thousand keys", PORTABLE, many},
        {"no file before", "", {Put(PACKER, "a", "1")}},
    };
}

TEST(SectionWrites, GiveTheBytesOfPerKeyWrites)
{
    std::string directory = FreshTempDirectory("section_writes_test");
    const std::vector<WritesCase> cases = Cases();
    for (size_t i = 0; i < cases.size(); ++i) {
        const WritesCase &c = cases[i];
        std::string perKey = directory + "\\per_key" + std::to_string(i) + ".ini";
        std::string gathered = directory + "\\gathered" + std::to_string(i) + ".ini";
        if (!c.Before.empty()) {
            ASSERT_TRUE(WriteTextFile(perKey, c.Before));
            ASSERT_TRUE(WriteTextFile(gathered, c.Before));
        }
        BeginSectionWrites(gathered.c_str());
        for (const KeyWrite &write : c.Writes) {
            const char *value = write.Removes ? NULL : write.Value.c_str();
            WritePrivateProfileStringA(write.Section, write.Key.c_str(), value, perKey.c_str());
            GatherSectionKey(write.Section, write.Key.c_str(), value);
        }
        std::string beforeFlush;
        ReadFileBytes(gathered, &beforeFlush);
        EXPECT_EQ(c.Before, beforeFlush) << c.Name << ": nothing is written before the flush";
        FlushSectionWrites();
        std::string expected, written;
        ReadFileBytes(perKey, &expected);
        ReadFileBytes(gathered, &written);
        EXPECT_EQ(expected, written) << c.Name;
    }
}

// The flush ends the gathering: a second flush writes nothing again, and a new gathering starts
// from nothing.
TEST(SectionWrites, FlushEndsTheGathering)
{
    std::string directory = FreshTempDirectory("section_writes_flush");
    std::string file = directory + "\\vtmain.ini";
    ASSERT_TRUE(WriteTextFile(file, PORTABLE));
    BeginSectionWrites(file.c_str());
    GatherSectionKey(PACKER, "a", "1");
    FlushSectionWrites();
    std::string once;
    ReadFileBytes(file, &once);
    WritePrivateProfileStringA(PACKER, "a", "changed", file.c_str());
    FlushSectionWrites();
    char value[16];
    GetPrivateProfileStringA(PACKER, "a", "", value, COUNTOF(value), file.c_str());
    EXPECT_STREQ("changed", value);

    BeginSectionWrites(file.c_str());
    GatherSectionKey(LISTER, "0", "x");
    BeginSectionWrites(file.c_str());
    FlushSectionWrites();
    EXPECT_EQ(0u, GetPrivateProfileSectionA(LISTER, value, COUNTOF(value), file.c_str())) << "dropped unflushed";
}

}  // namespace
