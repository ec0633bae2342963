#pragma once
// Maps the host's logical face names onto fonts this machine has, through
// fontconfig. A face the machine lacks falls back to a metric-compatible one
// (Arial -> Liberation Sans, Times New Roman -> Liberation Serif, Courier New
// -> Liberation Mono, ...), or to DejaVu Sans when none is known, so text
// keeps its width. Answers are cached; the engine owns one resolver.

#include <map>
#include <string>

namespace vellum {

struct ResolvedFace {
  std::string family;        // the family handed to pango
  bool substituted = false;  // the requested face is not installed
};

class FontResolver {
 public:
  ResolvedFace Resolve(const std::wstring& requested);

  // The family used when the host names no face.
  static constexpr const char* kDefaultFamily = "Liberation Sans";

 private:
  std::map<std::wstring, ResolvedFace> cache_;
};

// True when fontconfig lists a face whose family name is `family` (ignoring
// case).
bool IsFamilyInstalled(const std::string& family);

}  // namespace vellum
