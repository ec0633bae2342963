#pragma once
// How the installed media lies, from the media rotation flags the printer's
// settings hold. The session turns and orients every label by it, and the host
// tells its drawing engine the orientation of the media loaded, so both read
// the flags through this one rule.

#include <cstdint>

struct InstalledMedia {
  int32_t rotationDegrees = 0;  // 0, 45 or 180
  bool portrait = true;         // also what a printer without flags assumes
};

// The lowest of the three flag bits decides: 0x20 turned 45 degrees, portrait;
// 0x40 portrait; 0x80 turned 180 degrees, landscape; none of them landscape.
constexpr InstalledMedia InstalledMediaOf(uint32_t rotationFlags) {
  if (rotationFlags & 0x20) return {45, true};
  if (rotationFlags & 0x40) return {0, true};
  if (rotationFlags & 0x80) return {180, false};
  return {0, false};
}
