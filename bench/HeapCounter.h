#pragma once
// Counts the bytes that operator new hands out in this process, so that a
// benchmark can report how much memory a run held at its peak. Linking
// HeapCounter.cpp replaces the global operator new and delete; memory that C
// libraries take with malloc is not counted (peak RSS covers it).

#include <cstddef>

namespace bench {

// Bytes allocated through operator new and not yet freed.
size_t HeapBytesInUse();
// The most HeapBytesInUse has been since the last ResetHeapPeak.
size_t HeapPeakBytes();
void ResetHeapPeak();

// The process's peak resident set (VmHWM) in bytes, and a reset of it to the
// current resident set (0 where the system does not allow it).
size_t PeakRssBytes();
void ResetPeakRss();

}  // namespace bench
