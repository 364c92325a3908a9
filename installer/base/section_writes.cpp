#include "base/section_writes.h"

#include "base/buffers.h"
#include "base/path_helpers.h"
#include "base/profile_names.h"

namespace {

// One per-key write as asked for: its section, key and value (or none: a removal) in the pool.
struct GatheredWrite {
    int Section;
    int Key;
    int Value;  // -1: the key is removed
};

const int MAX_SECTIONS = 16;

struct SectionWrites {
    char File[PATH_BUFFER_SIZE];
    char Sections[MAX_SECTIONS][PATH_BUFFER_SIZE];
    int SectionCount;
    char *Pool;  // keys and values, each ended by a zero byte
    int PoolSize, PoolCapacity;
    GatheredWrite *Writes;
    int WriteCount, WriteCapacity;
} Gathered;

BOOL Grow(void **block, int *capacity, int needed, int itemSize)
{
    if (needed <= *capacity)
        return TRUE;
    int grown = *capacity ? *capacity : 256;
    while (grown < needed)
        grown *= 2;
    void *moved = *block ? HeapReAlloc(GetProcessHeap(), 0, *block, static_cast<SIZE_T>(grown) * itemSize)
                         : HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(grown) * itemSize);
    if (!moved)
        return FALSE;
    *block = moved;
    *capacity = grown;
    return TRUE;
}

// The offset of text in the pool, or -1 when there is no memory for it.
int Pooled(const char *text)
{
    int length = lstrlenA(text) + 1;
    void *pool = Gathered.Pool;
    if (!Grow(&pool, &Gathered.PoolCapacity, Gathered.PoolSize + length, 1))
        return -1;
    Gathered.Pool = static_cast<char *>(pool);
    CopyMemory(Gathered.Pool + Gathered.PoolSize, text, length);
    Gathered.PoolSize += length;
    return Gathered.PoolSize - length;
}

// The index of the section, added when new; -1 when there is no room for it.
int SectionIndex(const char *name)
{
    for (int i = 0; i < Gathered.SectionCount; ++i) {
        if (SameProfileName(Gathered.Sections[i], lstrlenA(Gathered.Sections[i]), name, lstrlenA(name)))
            return i;
    }
    if (Gathered.SectionCount == MAX_SECTIONS || lstrlenA(name) > PATH_MAX_CHARS)
        return -1;
    CopyBounded(Gathered.Sections[Gathered.SectionCount], PATH_BUFFER_SIZE, name);
    return Gathered.SectionCount++;
}

const char *KeyOf(const GatheredWrite &write)
{
    return Gathered.Pool + write.Key;
}

const char *ValueOf(const GatheredWrite &write)
{
    return write.Value < 0 ? NULL : Gathered.Pool + write.Value;
}

// Whether the file already has a section of this name: per-key writes then go into it among
// what it holds, which one write of the whole section would replace.
BOOL FileHasSection(const char *name)
{
    DWORD capacity = 4096;
    for (;;) {
        char *names = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, capacity));
        if (!names)
            return TRUE;
        DWORD read = GetPrivateProfileSectionNamesA(names, capacity, Gathered.File);
        if (read + 2 < capacity) {
            BOOL found = FALSE;
            for (const char *each = names; *each && !found; each += lstrlenA(each) + 1)
                found = SameProfileName(each, lstrlenA(each), name, lstrlenA(name));
            HeapFree(GetProcessHeap(), 0, names);
            return found;
        }
        HeapFree(GetProcessHeap(), 0, names);
        if (capacity > 0x10000000)
            return TRUE;
        capacity *= 2;
    }
}

// Text one line of a section write cannot stand for as the per-key write takes it: not whole
// characters of the code page (a lone lead byte would swallow the '=' or the zero byte after
// it), a key that is empty, holds '=' or opens with '[' (read back as a section's header).
BOOL NeedsItsOwnWrite(const char *text, BOOL isKey)
{
    if (!text)
        return FALSE;
    int length = lstrlenA(text);
    if (length && !MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, length, NULL, 0))
        return TRUE;
    if (!isKey)
        return FALSE;
    TrimProfileName(&text, &length);
    if (length == 0 || text[0] == '[')
        return TRUE;
    for (int i = 0; i < length; ++i) {
        if (text[i] == '=')
            return TRUE;
    }
    return FALSE;
}

BOOL NeedsReplay()
{
    for (int i = 0; i < Gathered.WriteCount; ++i) {
        const GatheredWrite &write = Gathered.Writes[i];
        if (NeedsItsOwnWrite(KeyOf(write), TRUE) || NeedsItsOwnWrite(ValueOf(write), FALSE))
            return TRUE;
    }
    for (int i = 0; i < Gathered.SectionCount; ++i) {
        if (FileHasSection(Gathered.Sections[i]))
            return TRUE;
    }
    return FALSE;
}

// A value as the file holds it once read back: the profile functions drop the blanks at both ends.
void TrimmedValue(const char *value, const char **start, int *length)
{
    *start = value;
    *length = lstrlenA(value);
    TrimProfileName(start, length);
}

BOOL SameValueReadBack(const char *standing, const char *written)
{
    const char *a, *b;
    int aLength, bLength;
    TrimmedValue(standing, &a, &aLength);
    while (IsProfileBlank(*written))
        ++written;
    b = written;
    bLength = lstrlenA(written);
    return aLength == bLength && memcmp(a, b, aLength) == 0;
}

// Every write as asked for, one by one.
void ReplayWrites()
{
    for (int i = 0; i < Gathered.WriteCount; ++i) {
        const GatheredWrite &write = Gathered.Writes[i];
        WritePrivateProfileStringA(Gathered.Sections[write.Section], KeyOf(write), ValueOf(write), Gathered.File);
    }
}

// A key standing in a section after the writes so far: the write that gave its spelling and
// place, and the one that gave its value (-1 once removed).
struct StandingKey {
    int KeyWrite;
    int ValueWrite;
};

// The standing keys after every write, in the order the per-key writes placed them, and the
// sections in the order their first writes made them. FALSE when there is no memory for it.
BOOL SettleWrites(StandingKey *keys, int *keyCount, int *sectionOrder, int *sectionCount, int *lastChange)
{
    int slotCount = 16;
    while (slotCount < 2 * Gathered.WriteCount)
        slotCount *= 2;
    int *slots = static_cast<int *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, slotCount * sizeof(int)));
    if (!slots)
        return FALSE;
    *keyCount = *sectionCount = 0;
    *lastChange = -1;
    for (int i = 0; i < Gathered.WriteCount; ++i) {
        const GatheredWrite &write = Gathered.Writes[i];
        const char *key = KeyOf(write);
        int length = lstrlenA(key);
        TrimProfileName(&key, &length);
        unsigned slot = (ProfileNameHash(key, length) + 40503u * write.Section) & (slotCount - 1);
        for (; slots[slot]; slot = (slot + 1) & (slotCount - 1)) {
            const GatheredWrite &other = Gathered.Writes[keys[slots[slot] - 1].KeyWrite];
            const char *otherKey = KeyOf(other);
            int otherLength = lstrlenA(otherKey);
            TrimProfileName(&otherKey, &otherLength);
            if (other.Section == write.Section && SameProfileName(otherKey, otherLength, key, length))
                break;
        }
        StandingKey *standing = slots[slot] && keys[slots[slot] - 1].ValueWrite >= 0 ? &keys[slots[slot] - 1] : NULL;
        BOOL changes = TRUE;
        if (!ValueOf(write)) {
            changes = standing != NULL;
            if (standing)
                standing->ValueWrite = -1;
        } else if (standing) {
            // The key keeps its first spelling and place; the file is read back before each write.
            changes = !SameValueReadBack(ValueOf(Gathered.Writes[standing->ValueWrite]), ValueOf(write));
            standing->ValueWrite = i;
        } else {
            // A new key, or one written again after its removal, goes to its section's end.
            keys[*keyCount].KeyWrite = keys[*keyCount].ValueWrite = i;
            slots[slot] = ++*keyCount;
            BOOL listed = FALSE;
            for (int j = 0; j < *sectionCount && !listed; ++j)
                listed = sectionOrder[j] == write.Section;
            if (!listed)
                sectionOrder[(*sectionCount)++] = write.Section;
        }
        if (changes)
            *lastChange = i;
    }
    HeapFree(GetProcessHeap(), 0, slots);
    return TRUE;
}

// The lines of one section, "key=value" each ended by a zero byte and the whole by another, on
// the heap; NULL when it has none (a section emptied by removals keeps its header, which only
// the per-key writes give) or there is no memory. Each per-key write reads the file back first,
// which drops the blanks at a value's end: only the last change keeps them.
char *SectionLines(int section, const StandingKey *keys, int keyCount, int lastChange)
{
    SIZE_T size = 1;
    for (int j = 0; j < keyCount; ++j) {
        if (keys[j].ValueWrite >= 0 && Gathered.Writes[keys[j].KeyWrite].Section == section)
            size += lstrlenA(KeyOf(Gathered.Writes[keys[j].KeyWrite])) + 1 +
                    lstrlenA(ValueOf(Gathered.Writes[keys[j].ValueWrite])) + 1;
    }
    char *lines = size > 1 ? static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, size)) : NULL;
    if (!lines)
        return NULL;
    char *end = lines;
    for (int j = 0; j < keyCount; ++j) {
        if (keys[j].ValueWrite < 0 || Gathered.Writes[keys[j].KeyWrite].Section != section)
            continue;
        const char *key = KeyOf(Gathered.Writes[keys[j].KeyWrite]);
        const char *value = ValueOf(Gathered.Writes[keys[j].ValueWrite]);
        int keyLength = lstrlenA(key), valueLength = lstrlenA(value);
        if (keys[j].ValueWrite != lastChange) {
            while (valueLength > 0 && IsProfileBlank(value[valueLength - 1]))
                --valueLength;
        }
        CopyMemory(end, key, keyLength);
        end[keyLength] = '=';
        CopyMemory(end + keyLength + 1, value, valueLength);
        end[keyLength + 1 + valueLength] = '\0';
        end += keyLength + 1 + valueLength + 1;
    }
    *end = '\0';
    return lines;
}

// One write per section, in the order the per-key writes made the sections; FALSE when that
// cannot stand for them (nothing is written then).
BOOL WriteWholeSections()
{
    SIZE_T count = Gathered.WriteCount + 1;
    StandingKey *keys = static_cast<StandingKey *>(HeapAlloc(GetProcessHeap(), 0, count * sizeof(StandingKey)));
    char *lines[MAX_SECTIONS] = {};
    int order[MAX_SECTIONS], sections = 0, keyCount = 0, lastChange = -1;
    BOOL whole = keys && SettleWrites(keys, &keyCount, order, &sections, &lastChange);
    for (int j = 0; j < sections && whole; ++j) {
        lines[j] = SectionLines(order[j], keys, keyCount, lastChange);
        whole = lines[j] != NULL;
    }
    for (int j = 0; j < sections && whole; ++j)
        WritePrivateProfileSectionA(Gathered.Sections[order[j]], lines[j], Gathered.File);
    for (int j = 0; j < sections; ++j) {
        if (lines[j])
            HeapFree(GetProcessHeap(), 0, lines[j]);
    }
    if (keys)
        HeapFree(GetProcessHeap(), 0, keys);
    return whole;
}

}  // namespace

void BeginSectionWrites(const char *file)
{
    if (Gathered.Pool)
        HeapFree(GetProcessHeap(), 0, Gathered.Pool);
    if (Gathered.Writes)
        HeapFree(GetProcessHeap(), 0, Gathered.Writes);
    ZeroMemory(&Gathered, sizeof(Gathered));
    CopyBounded(Gathered.File, COUNTOF(Gathered.File), file);
}

void GatherSectionKey(const char *section, const char *key, const char *value)
{
    int index = SectionIndex(section);
    int keyOffset = index >= 0 ? Pooled(key) : -1;
    int valueOffset = keyOffset >= 0 && value ? Pooled(value) : -1;
    void *writes = Gathered.Writes;
    if (keyOffset < 0 || (value && valueOffset < 0) ||
        !Grow(&writes, &Gathered.WriteCapacity, Gathered.WriteCount + 1, sizeof(GatheredWrite))) {
        // Nothing is lost or reordered for want of memory: what was gathered is written, then
        // this write at once.
        FlushSectionWrites();
        WritePrivateProfileStringA(section, key, value, Gathered.File);
        return;
    }
    Gathered.Writes = static_cast<GatheredWrite *>(writes);
    GatheredWrite &write = Gathered.Writes[Gathered.WriteCount++];
    write.Section = index;
    write.Key = keyOffset;
    write.Value = valueOffset;
}

void FlushSectionWrites()
{
    // Nothing but removals from sections the file does not have changes nothing.
    if (Gathered.WriteCount && (NeedsReplay() || !WriteWholeSections()))
        ReplayWrites();
    BeginSectionWrites(Gathered.File);
}
