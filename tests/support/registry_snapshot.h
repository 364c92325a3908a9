// The Veltrano registry values in one text, to compare before and after a run.
#pragma once

#include <string>

// Type and data of every value under SOFTWARE\Ostrand\Veltrano, HKEY_LOCAL_MACHINE first and then
// HKEY_CURRENT_USER, one line each; a hive without the key says so.
std::string SnapshotVeltranoRegistry();
