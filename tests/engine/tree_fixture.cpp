#include "tree_fixture.h"

#include "support/files.h"

#include <windows.h>

std::string ReadTextFile(const std::string &path)
{
    std::string content;
    return ReadFileBytes(path, &content) ? content : "<missing>";
}

unsigned long Attributes(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str());
}
