// A section read once against the per-key profile reads it stands for, side by side on hostile
// sections: every answer the plugin page and the transfer take from it (the key names with their
// cut, each value with its quotes, blanks and length check, the "_detect" companions) must be the
// per-key read's, byte for byte and count for count. Runs in code page 1252 and, as
// profile_section_cp932_test, in code page 932, where the double-byte cases count characters and
// bytes apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/profile_section.h"
#include "support/files.h"
#include "support/temp_directory.h"

namespace {

const char SECTION[] = "ListerPlugins";

std::string Repeat(char c, size_t count)
{
    return std::string(count, c);
}

struct SectionCase {
    const char *Name;
    std::string File;  // the whole settings file; empty: no file at all
    std::vector<std::string> Probes;  // keys asked for besides the listed ones and their companions
};

std::string LongNames(size_t length, int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += std::to_string(100 + i) + Repeat('n', length - 3) + "=v" + std::to_string(i) + "\r\n";
    return lines;
}

std::vector<SectionCase> Cases()
{
    std::vector<SectionCase> cases = {
        {"duplicate keys, also in another case",
         "[ListerPlugins]\r\na=first\r\nb=1\r\nA=second\r\na=third\r\nB_detect=x\r\nb_DETECT=y\r\n",
         {"a", "A", "b_detect"}},
        {"blanks around '=' and the line",
         "[ListerPlugins]\r\n  spaced  =  value with blanks  \r\n\tTabbed\t=\tx\t\r\nk= \r\nempty=\r\n",
         {"spaced", " spaced ", "tabbed", "k", "empty"}},
        {"quoted values",
         "[ListerPlugins]\r\nq1=\"both\"\r\nq2='single'\r\nq3=\"left only\r\nq4=right only\"\r\n"
         "q5=\"inner\"quote\"\r\nq6=\"\"\r\nq7=\"\r\nq8='\"'\r\nq9=\" padded \"\r\nq10=\"mixed'\r\n"
         "q11=a\"b\"c\r\nq12=''\r\nq13=  \"blank before\"\r\n",
         {}},
        {"keys without '='",
         "[ListerPlugins]\r\nbare\r\nx=1\r\nbare=after\r\nlone\r\ny=2\r\n",
         {"bare", "lone"}},
        {"comments and semicolons",
         "[ListerPlugins]\r\n;comment=1\r\n; just a note\r\nk=v;not a comment\r\n#hash=1\r\n;k2=hidden\r\nk2=shown\r\n",
         {";comment", "k2"}},
        {"an empty name ends the list",
         "[ListerPlugins]\r\nfirst=1\r\n=nameless\r\nafter=2\r\n",
         {"after", ""}},
        {"an empty name first", "[ListerPlugins]\r\n=nameless\r\nafter=2\r\n", {"after"}},
        {"empty section", "[Other]\r\nx=1\r\n[ListerPlugins]\r\n[Next]\r\ny=2\r\n", {"x", "y"}},
        {"blank lines only", "[ListerPlugins]\r\n\r\n   \r\n\t\r\n", {}},
        {"missing section", "[Other]\r\nx=1\r\n", {"x"}},
        {"missing file", "", {"x"}},
        {"section named twice",
         "[ListerPlugins]\r\na=1\r\n[Other]\r\nz=0\r\n[listerplugins]\r\nb=2\r\na=3\r\n",
         {"a", "b"}},
        {"section header with blanks and the key before it",
         "k=0\r\n  [ListerPlugins]  \r\nk=1\r\n[ListerPlugins\r\nk=2\r\n",
         {"k"}},
        {"lines ended by LF and CR only", "[ListerPlugins]\na=1\nb=2\rc=3\r\n", {"a", "b", "c"}},
        {"a section name inside a value", "[ListerPlugins]\r\na=[Other]\r\n[Other]\r\nb=1\r\n", {"b"}},
        {"double-byte names and values",
         "[ListerPlugins]\r\n\x95\x5C=\x95\x5C\x95\x5C\r\nk\x83\x5C=\"\x83\x5C\"\r\n\x82\x60=upper\r\n\x82\x81=lower\r\n",
         {"\x95\x5C_detect"}},
    };
    // Single-byte letters beyond ASCII in two cases (in code page 932 these bytes are lone lead
    // bytes, no names a listing gives).
    if (GetACP() != 932) {
        cases.push_back({"accented names in two cases",
                         "[ListerPlugins]\r\n\xC9t\xC9=1\r\n\xE9t\xE9=2\r\n\x8A=3\r\n\x9A=4\r\n\x9F=5\r\n\xFF=6\r\n"
                         "\xC0\xDE=7\r\n\xE0\xFE=8\r\n\xD7=9\r\n\xF7=10\r\n\xDF=11\r\nSS=12\r\n\xB5=13\r\nM=14\r\n",
                         {"\xE9T\xC9", "\x9A", "\xFF", "ss", "m"}});
    }

    // Values around the path buffer (259 characters and the one byte to spare) and around the
    // companion buffer (8188), plain and quoted, and beyond 65,535.
    std::string lengths = "[ListerPlugins]\r\n";
    const size_t sizes[] = {257, 258, 259, 260, 261, 262, 263, 8186, 8187, 8188, 8189, 8190, 8191, 70000};
    for (size_t size : sizes) {
        lengths += "p" + std::to_string(size) + "=" + Repeat('v', size) + "\r\n";
        lengths += "q" + std::to_string(size) + "=\"" + Repeat('w', size - 2) + "\"\r\n";
        lengths += "p" + std::to_string(size) + "_detect=" + Repeat('d', size) + "\r\n";
        lengths += "q" + std::to_string(size) + "_detect=\"" + Repeat('e', size - 2) + "\"\r\n";
        lengths += "j" + std::to_string(size) + "=" + Repeat('\x8A', size / 2) + "\r\n";
    }
    cases.push_back({"long values", lengths, {}});
    cases.push_back({"long names", "[ListerPlugins]\r\n" + Repeat('k', 300) + "=short\r\n" + Repeat('K', 300) +
                                       "_detect=c\r\n" + Repeat('m', 70000) + "=x\r\nafter=1\r\n", {}});

    // Name lists beyond 65,535 characters, cut at several places inside a name and between two.
    const size_t nameLengths[] = {97, 98, 99, 100, 101, 4999, 5000, 5001, 32766, 32767, 32768};
    for (size_t length : nameLengths) {
        std::string file = "[ListerPlugins]\r\n" + LongNames(length, static_cast<int>(70000 / length) + 2);
        cases.push_back({"name list cut", file, {}});
    }
    std::string doubleByteNames = "[ListerPlugins]\r\n";
    for (int i = 0; i < 700; ++i)
        doubleByteNames += std::to_string(1000 + i) + Repeat('\x88', 2 * 50) + "=" + std::to_string(i) + "\r\n";
    cases.push_back({"double-byte name list cut", doubleByteNames, {}});
    return cases;
}

// The per-key read and the section's answer for one question, each into a buffer prefilled alike.
struct Answer {
    int Count;
    std::string Bytes;  // the whole buffer
};

Answer PerKey(const std::string &file, const char *key, int capacity)
{
    std::string buffer(capacity, '#');
    int count = GetPrivateProfileStringA(SECTION, key, "", &buffer[0], capacity, file.c_str());
    return {count, buffer};
}

Answer FromSection(const ProfileSection &section, const char *key, int capacity)
{
    std::string buffer(capacity, '#');
    int count = key ? SectionValue(&buffer[0], capacity, &section, key) : SectionKeyNames(&buffer[0], capacity, &section);
    return {count, buffer};
}

// Names from a list read with the page's buffer, as the page walks it.
std::vector<std::string> ListedNames(const std::string &list)
{
    std::vector<std::string> names;
    for (const char *name = list.c_str(); *name; name += lstrlenA(name) + 1)
        names.push_back(name);
    return names;
}

// The key names of the section's lines in file order (lines with '=' only), for the files that
// hold plain names.
std::vector<std::string> FileNames(const std::string &file)
{
    std::vector<std::string> names;
    size_t start = file.find('\n');
    while (start != std::string::npos && start + 1 < file.size()) {
        size_t end = file.find("\r\n", start + 1);
        std::string line = file.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            names.push_back(line.substr(0, equals));
        start = end == std::string::npos ? end : end + 1;
    }
    return names;
}

bool HasLineOfAtLeast(const std::string &file, size_t length)
{
    for (size_t start = 0; start < file.size();) {
        size_t end = file.find('\n', start);
        if ((end == std::string::npos ? file.size() : end) - start >= length)
            return true;
        start = end == std::string::npos ? file.size() : end + 1;
    }
    return false;
}

// A list's names within its count, as the page reads them (it ends the list there): the buffer
// past the count is not the list's.
std::string WithinCount(const Answer &list)
{
    return list.Bytes.substr(0, list.Count + 1) + std::string(1, '\0');
}

// The section's answer for key, where the file holds it unquoted, in ASCII and shorter than the
// largest buffer: the value as written, whole.
void ExpectFileValue(const std::string &file, const std::string &key, const ProfileSection &section,
                     const std::string &what)
{
    size_t line = file.find("\n" + key + "=");
    if (line == std::string::npos)
        return;
    std::string value = file.substr(line + key.size() + 2);
    value = value.substr(0, value.find('\r'));
    if (value.size() >= 65535 || value.empty() || value[0] == '"' || value[0] == '\'')
        return;
    // Bytes beyond ASCII may end in a lone lead byte, which the read's conversion changes.
    for (char c : value) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return;
    }
    Answer answer = FromSection(section, key.c_str(), 65536);
    EXPECT_EQ(static_cast<int>(value.size()), answer.Count) << what << ": " << key.substr(0, 40);
    EXPECT_EQ(value, answer.Bytes.substr(0, value.size())) << what << ": " << key.substr(0, 40);
}

bool HasNameOfAtLeast(const std::string &file, size_t length)
{
    for (const std::string &name : FileNames(file)) {
        if (name.size() >= length)
            return true;
    }
    return false;
}

// A list of names that ran out of room: the first names whole, the last one a cut start of the
// next name, and the count of a list that filled its buffer.
void ExpectCutListOfNames(const Answer &list, const std::vector<std::string> &names, const std::string &what)
{
    EXPECT_EQ(static_cast<int>(list.Bytes.size()) - 2, list.Count) << what << ": the list fills its buffer";
    std::vector<std::string> listed = ListedNames(WithinCount(list));
    ASSERT_FALSE(listed.empty()) << what;
    ASSERT_LE(listed.size(), names.size()) << what;
    for (size_t i = 0; i + 1 < listed.size(); ++i)
        EXPECT_EQ(names[i], listed[i]) << what << ": name " << i << " whole";
    const std::string &last = listed.back();
    EXPECT_LT(last.size(), names[listed.size() - 1].size()) << what << ": the last name is cut";
    EXPECT_EQ(names[listed.size() - 1].substr(0, last.size()), last) << what << ": the last name starts as in the file";
}

void ExpectSame(const Answer &perKey, const Answer &section, const std::string &what)
{
    EXPECT_EQ(perKey.Count, section.Count) << what;
    if (perKey.Bytes != section.Bytes) {
        size_t at = 0;
        while (at < perKey.Bytes.size() && perKey.Bytes[at] == section.Bytes[at])
            ++at;
        ADD_FAILURE() << what << ": buffers differ from byte " << at << " of " << perKey.Bytes.size() << " ("
                      << perKey.Bytes.substr(at, 40) << " | " << section.Bytes.substr(at, 40) << ")";
    }
}

TEST(ProfileSection, AnswersAsThePerKeyReads)
{
    std::string directory = FreshTempDirectory("profile_section_test");
    const std::vector<SectionCase> cases = Cases();
    // The page's list buffer, the one byte to spare of the values, the companion buffer, and
    // small ones that cut inside the short cases.
    const int listCapacities[] = {65535, 2, 3, 4, 7, 12, 100};
    const int valueCapacities[] = {261, 8189, 65536, 2, 3, 4, 6};
    for (size_t i = 0; i < cases.size(); ++i) {
        const SectionCase &c = cases[i];
        std::string file = directory + "\\case" + std::to_string(i) + ".ini";
        if (!c.File.empty()) {
            ASSERT_TRUE(WriteTextFile(file, c.File));
        }
        ProfileSection section;
        ReadProfileSection(&section, file.c_str(), SECTION);
        ASSERT_NE(nullptr, section.Text) << c.Name;

        // Wine's own per-key reads overrun their stack in the 32-bit build on files with lines of
        // 32,767 characters or more (measured: a crash while listing the names whole into the
        // page's buffer, and elsewhere as the layout changes). A list of names that holds such a
        // name whole is held to what the list means instead (the names in file order, whole but
        // the last, cut where the list ends), and so are the 32-bit build's answers for those
        // files, against the values as the file holds them.
        const bool hugeName = HasNameOfAtLeast(c.File, 32767);
        const bool perKeyCrashes = sizeof(void *) == 4 && HasLineOfAtLeast(c.File, 32767);
        for (int capacity : listCapacities) {
            if (hugeName && capacity == 65535) {
                ExpectCutListOfNames(FromSection(section, NULL, capacity), FileNames(c.File), c.Name);
                continue;
            }
            if (perKeyCrashes)
                continue;
            ExpectSame(PerKey(file, NULL, capacity), FromSection(section, NULL, capacity),
                       std::string(c.Name) + ": names in " + std::to_string(capacity));
        }
        std::vector<std::string> keys = ListedNames(WithinCount(FromSection(section, NULL, 65535)));
        std::vector<std::string> asked = keys;
        for (const std::string &key : keys)
            asked.push_back(key + "_detect");
        asked.insert(asked.end(), c.Probes.begin(), c.Probes.end());
        asked.push_back("not there");
        for (const std::string &key : asked) {
            if (key.size() >= 32767) {
                // Too long for the per-key read (see the note in the section read): the section
                // gives the key's own value.
                size_t line = c.File.find("\n" + key + "=");
                std::string value = line == std::string::npos ? "" : c.File.substr(line + key.size() + 2);
                value = value.substr(0, value.find('\r'));
                EXPECT_EQ(static_cast<int>(value.size()), FromSection(section, key.c_str(), 261).Count) << c.Name;
                continue;
            }
            if (perKeyCrashes) {
                ExpectFileValue(c.File, key, section, c.Name);
                continue;
            }
            for (int capacity : valueCapacities) {
                ExpectSame(PerKey(file, key.c_str(), capacity), FromSection(section, key.c_str(), capacity),
                           std::string(c.Name) + ": key \"" + key.substr(0, 40) + "\" in " + std::to_string(capacity));
            }
        }
        FreeProfileSection(&section);
    }
    DeleteFileA((directory + "\\*").c_str());
}

// A section that cannot be held is answered by the per-key reads themselves.
TEST(ProfileSection, UnreadSectionAsksPerKey)
{
    std::string directory = FreshTempDirectory("profile_section_unread");
    std::string file = directory + "\\vtmain.ini";
    ASSERT_TRUE(WriteTextFile(file, "[ListerPlugins]\r\na=\"1\"\r\nb=2\r\n"));
    ProfileSection section = {};
    lstrcpyA(section.File, file.c_str());
    lstrcpyA(section.Name, SECTION);
    char buffer[64];
    EXPECT_EQ(4, SectionKeyNames(buffer, COUNTOF(buffer), &section));
    EXPECT_EQ(std::string("a\0b\0", 5), std::string(buffer, 5));
    EXPECT_EQ(1, SectionValue(buffer, COUNTOF(buffer), &section, "A"));
    EXPECT_STREQ("1", buffer);
}

}  // namespace
