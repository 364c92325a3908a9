#include "base/profile_section.h"

#include "base/path_helpers.h"
#include "base/profile_names.h"

namespace {

void *Allocate(SIZE_T bytes)
{
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void Release(void *block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

// The whole section, in a buffer grown until the read no longer fills it (a read that does not
// fit returns its capacity less two); NULL when there is no memory for it.
char *WholeSectionText(const char *file, const char *name)
{
    DWORD capacity = 64 * 1024;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(file, GetFileExInfoStandard, &data) && !data.nFileSizeHigh &&
        data.nFileSizeLow < 0x10000000 && data.nFileSizeLow + 16 > capacity)
        capacity = data.nFileSizeLow + 16;
    for (;;) {
        char *text = static_cast<char *>(Allocate(capacity));
        if (!text)
            return NULL;
        DWORD read = GetPrivateProfileSectionA(name, text, capacity, file);
        if (read + 2 < capacity)
            return text;
        Release(text);
        if (capacity > 0x40000000)
            return NULL;
        capacity *= 2;
    }
}

// A line's key name runs up to its first '='.
int NameLength(const char *line)
{
    return LengthBefore(line, '=');
}

void IndexLines(ProfileSection *section)
{
    int count = 0;
    for (const char *line = section->Text; *line; line += lstrlenA(line) + 1)
        ++count;
    section->SlotCount = 16;
    while (section->SlotCount < 2 * count)
        section->SlotCount *= 2;
    section->Entries = static_cast<int *>(Allocate((count + 1) * sizeof(int)));
    section->Slots = static_cast<int *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, section->SlotCount * sizeof(int)));
    if (!section->Entries || !section->Slots) {
        Release(section->Text);
        Release(section->Entries);
        Release(section->Slots);
        section->Text = NULL;
        section->Entries = section->Slots = NULL;
        return;
    }
    int offset = 0;
    for (int entry = 0; entry < count; ++entry) {
        const char *line = section->Text + offset;
        section->Entries[entry] = offset;
        offset += lstrlenA(line) + 1;
        // Only a name's first line answers for it.
        int length = NameLength(line);
        unsigned slot = ProfileNameHash(line, length) & (section->SlotCount - 1);
        for (;; slot = (slot + 1) & (section->SlotCount - 1)) {
            int taken = section->Slots[slot];
            if (!taken) {
                section->Slots[slot] = entry + 1;
                break;
            }
            const char *earlier = section->Text + section->Entries[taken - 1];
            if (SameProfileName(earlier, NameLength(earlier), line, length))
                break;
        }
    }
    section->EntryCount = count;
}

// The first line of key, or NULL.
const char *FirstLine(const ProfileSection *section, const char *key)
{
    int length = lstrlenA(key);
    TrimProfileName(&key, &length);
    unsigned slot = ProfileNameHash(key, length) & (section->SlotCount - 1);
    for (;; slot = (slot + 1) & (section->SlotCount - 1)) {
        int taken = section->Slots[slot];
        if (!taken)
            return NULL;
        const char *line = section->Text + section->Entries[taken - 1];
        if (SameProfileName(line, NameLength(line), key, length))
            return line;
    }
}

// The per-key read cannot take a key name of 32,767 characters or more: its wide form does not
// fit a counted string, and the read then goes on with an undefined name (measured: empty
// results, the section's key names, or a crash). The section answers for such keys itself.
const int MAX_WIDE_NAME = 32767;

// A key that begins with ';' is a comment line's, which the section's text leaves out; only the
// per-key read knows its value.
BOOL IsCommentKey(const char *key)
{
    int length = lstrlenA(key);
    TrimProfileName(&key, &length);
    return length > 0 && key[0] == ';' && MultiByteToWideChar(CP_ACP, 0, key, -1, NULL, 0) < MAX_WIDE_NAME;
}

// text (length bytes) widened into target (capacity characters), cut there; the characters
// written. Characters, not bytes, are what the reads count.
int WidenCut(WCHAR *target, int capacity, const char *text, int length)
{
    if (capacity <= 0 || length == 0)
        return 0;
    int wide = MultiByteToWideChar(CP_ACP, 0, text, length, NULL, 0);
    if (wide <= capacity)
        return MultiByteToWideChar(CP_ACP, 0, text, length, target, wide);
    WCHAR *whole = static_cast<WCHAR *>(Allocate(wide * sizeof(WCHAR)));
    if (!whole)
        return 0;
    MultiByteToWideChar(CP_ACP, 0, text, length, whole, wide);
    CopyMemory(target, whole, capacity * sizeof(WCHAR));
    Release(whole);
    return capacity;
}

// The read's wide result narrowed into target as the ANSI read narrows it: at most capacity - 1
// bytes; a result that does not fit counts as capacity - 1.
int Narrow(char *target, int capacity, const WCHAR *wide, int wideLength)
{
    int narrowed = 0;
    if (wideLength) {
        narrowed = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, target, capacity - 1, NULL, NULL);
        if (!narrowed)
            narrowed = capacity - 1;
    }
    target[narrowed] = '\0';
    return narrowed;
}

}  // namespace

void ReadProfileSection(ProfileSection *section, const char *file, const char *name)
{
    ZeroMemory(section, sizeof(*section));
    CopyBounded(section->File, COUNTOF(section->File), file);
    CopyBounded(section->Name, COUNTOF(section->Name), name);
    section->Text = WholeSectionText(file, name);
    if (section->Text)
        IndexLines(section);
}

void FreeProfileSection(ProfileSection *section)
{
    Release(section->Text);
    Release(section->Entries);
    Release(section->Slots);
    ZeroMemory(section, sizeof(*section));
}

int SectionKeyNames(char *target, int capacity, const ProfileSection *section)
{
    if (!section->Text)
        return GetPrivateProfileStringA(section->Name, NULL, "", target, capacity, section->File);
    if (capacity <= 0)
        return 0;
    WCHAR *names = static_cast<WCHAR *>(Allocate(capacity * sizeof(WCHAR)));
    if (!names)
        return GetPrivateProfileStringA(section->Name, NULL, "", target, capacity, section->File);
    // The list is built as the read builds it in characters: each name cut to the room left but
    // two, the list ended early when two or fewer are left; lines without '=' are no keys.
    WCHAR *end = names;
    int left = capacity;
    for (int entry = 0; entry < section->EntryCount; ++entry) {
        const char *line = section->Text + section->Entries[entry];
        int length = NameLength(line);
        if (!line[length])
            continue;
        if (left <= 2)
            break;
        int copied = WidenCut(end, left - 2, line, length);
        end[copied] = L'\0';
        end += copied + 1;
        left -= copied + 1;
        if (left < 2)
            break;
    }
    *end = L'\0';
    int wideLength = static_cast<int>(end - names);
    if (left <= 1) {
        end[-1] = L'\0';
        wideLength = capacity - 2;
    }
    // A list that begins with an empty name reads as no list at all.
    if (!names[0])
        wideLength = 0;
    int narrowed = Narrow(target, capacity, names, wideLength);
    Release(names);
    return narrowed;
}

int SectionValue(char *target, int capacity, const ProfileSection *section, const char *key)
{
    if (!section->Text || IsCommentKey(key))
        return GetPrivateProfileStringA(section->Name, key, "", target, capacity, section->File);
    if (capacity <= 0)
        return 0;
    const char *line = FirstLine(section, key);
    const char *value = line && line[NameLength(line)] ? line + NameLength(line) + 1 : "";
    int valueLength = lstrlenA(value);
    // A plain value that fits needs no detour through the wide form.
    if (valueLength < capacity - 1 && value[0] != '"' && value[0] != '\'') {
        BOOL plain = TRUE;
        for (int i = 0; i < valueLength && plain; ++i)
            plain = static_cast<unsigned char>(value[i]) < 0x80;
        if (plain) {
            CopyMemory(target, value, valueLength + 1);
            return valueLength;
        }
    }
    WCHAR *wide = static_cast<WCHAR *>(Allocate((valueLength + 1) * sizeof(WCHAR)));
    WCHAR *copy = static_cast<WCHAR *>(Allocate(capacity * sizeof(WCHAR)));
    if (!wide || !copy) {
        Release(wide);
        Release(copy);
        return GetPrivateProfileStringA(section->Name, key, "", target, capacity, section->File);
    }
    int wideLength = valueLength ? MultiByteToWideChar(CP_ACP, 0, value, valueLength, wide, valueLength) : 0;
    wide[wideLength] = L'\0';
    // One pair of like quotes around the value goes, as the read drops it.
    const WCHAR *start = wide;
    WCHAR quote = L'\0';
    if ((start[0] == L'"' || start[0] == L'\'') && start[1] && start[wideLength - 1] == start[0])
        quote = *start++;
    int rest = wideLength - static_cast<int>(start - wide);
    int copied = rest < capacity - 1 ? rest : capacity - 1;
    CopyMemory(copy, start, copied * sizeof(WCHAR));
    copy[copied] = L'\0';
    if (quote && capacity >= rest && copied > 0)
        copy[--copied] = L'\0';
    int narrowed = Narrow(target, capacity, copy, copied);
    Release(wide);
    Release(copy);
    return narrowed;
}
