#include "lists/plugin_row.h"

const PluginKindEntry PluginKind[PLUGIN_KIND_COUNT] = {
    {"Packer: ", "PackerPlugins", "vpx", 0},
    {"Lister: ", "ListerPlugins", "vlx", 1},
    {"File System: ", "FileSystemPlugins", "vfx", 0},
    {"Content: ", "ContentPlugins", "vdx", 1},
};

namespace {

const char MODULE_SEPARATOR[] = ": ";

// The kind whose label prefix starts label, compared byte for byte; -1 when there is none.
int KindOfLabel(const char *label)
{
    for (int kind = 0; kind < PLUGIN_KIND_COUNT; ++kind) {
        const char *prefix = PluginKind[kind].LabelPrefix;
        int length = lstrlenA(prefix);
        int i = 0;
        while (i < length && label[i] == prefix[i])
            ++i;
        if (i == length)
            return kind;
    }
    return -1;
}

void EmptyParts(PluginValue *parts)
{
    parts->Flags[0] = '\0';
    parts->SourceDirectory[0] = '\0';
    parts->FileName[0] = '\0';
}

}  // namespace

BOOL ComposePluginLabel(char *label, int capacity, int kind, const char *key, const char *moduleBaseName)
{
    if (!JoinPath(label, capacity, PluginKind[kind].LabelPrefix, key)) {
        if (capacity > 0)
            label[0] = '\0';
        return FALSE;
    }
    if (moduleBaseName) {
        AppendBounded(label, capacity, MODULE_SEPARATOR);
        AppendBounded(label, capacity, moduleBaseName);
    }
    return TRUE;
}

int ParsePluginLabel(const char *label, char *desktopKey, int capacity)
{
    if (capacity > 0)
        desktopKey[0] = '\0';
    int kind = KindOfLabel(label);
    if (kind < 0)
        return -1;
    const char *rest = label + lstrlenA(PluginKind[kind].LabelPrefix);
    // A numbered kind's key (a number) runs up to the ':' where the module name starts.
    int length = PluginKind[kind].Renumbered ? LengthBefore(rest, ':') : lstrlenA(rest);
    if (length > capacity - 1)
        return -1;
    CopyMemory(desktopKey, rest, length);
    desktopKey[length] = '\0';
    return kind;
}

BOOL SplitPluginValue(PluginValue *parts, const char *value)
{
    EmptyParts(parts);
    const char *last = LastCharOf(value, '\\');
    if (!last)
        return FALSE;
    // Digits and a comma hold no backslash: the flags end before the last one.
    const char *directory = SkipFlagsPrefix(value);
    int flagsLength = static_cast<int>(directory - value);
    int directoryLength = static_cast<int>(last - directory);
    if (flagsLength > PATH_MAX_CHARS || directoryLength > PATH_MAX_CHARS ||
        !CopyWhole(parts->FileName, COUNTOF(parts->FileName), last + 1))
        return FALSE;
    CopyBounded(parts->Flags, flagsLength + 1, value);
    CopyBounded(parts->SourceDirectory, directoryLength + 1, directory);
    return TRUE;
}

PluginValueResult ParsePluginValue(PluginValue *parts, const char *value)
{
    EmptyParts(parts);
    char expanded[PATH_BUFFER_SIZE];
    if (ExpandWhole(expanded, COUNTOF(expanded), value))
        return SplitPluginValue(parts, expanded) ? PLUGIN_VALUE_SPLIT : PLUGIN_VALUE_NO_FILE;
    const char *last = LastCharOf(value, '\\');
    if (!last || !last[1])
        return PLUGIN_VALUE_NO_FILE;
    // The directory alone, expanded within what the flags leave of a path buffer.
    const char *directory = SkipFlagsPrefix(value);
    int flagsLength = static_cast<int>(directory - value);
    char written[PATH_BUFFER_SIZE];
    CopyBounded(written, static_cast<int>(last - directory) + 1, directory);
    if (!ExpandWhole(parts->SourceDirectory, PATH_BUFFER_SIZE - flagsLength, written))
        parts->SourceDirectory[0] = '\0';
    return PLUGIN_VALUE_TOO_LONG;
}

BOOL PluginModuleName(char *baseName, int capacity, const char *value)
{
    const char *last = LastCharOf(value, '\\');
    if (!last) {
        if (capacity > 0)
            baseName[0] = '\0';
        return FALSE;
    }
    return FileBaseName(baseName, capacity, last + 1);
}
