// The one clock of the benchmarks.
#pragma once

#include <windows.h>

// Seconds on the performance counter; only differences between two readings mean anything.
inline double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}
