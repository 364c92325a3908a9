// The small tmpfs drive that scripts/test maps to a letter, for device drives that fill up.
#pragma once

#include <string>

namespace hostile {

// "S:\<name>", fresh and empty, on the small drive; empty (and a test failure) when the drive is
// not there or is not small.
std::string FreshSmallDriveDirectory(const char *name);

}  // namespace hostile
