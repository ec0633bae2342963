#pragma once
// Maps the host's logical face names onto fonts this machine has, through
// fontconfig. The face names labels commonly ask for (Arial, Helvetica, Times
// New Roman, Courier New, Tahoma, Verdana ...) print in their metric-compatible
// open faces (Liberation, DejaVu) without remark, so text keeps its width. Any
// other face the machine lacks falls back to DejaVu Sans and is marked as
// substituted, for the engine to report. Answers are cached; the engine owns
// one resolver.

#include <map>
#include <string>
#include <vector>

namespace vellum {

struct ResolvedFace {
  std::string family;        // the family handed to pango
  bool substituted = false;  // neither the face nor its metric-compatible face is installed
};

// A face name jobs use and the open family with the same metrics.
struct MetricCompatibleFace {
  const char* face;
  const char* family;
};

// Every face name the resolver maps silently, in a fixed order.
const std::vector<MetricCompatibleFace>& MetricCompatibleFaces();

class FontResolver {
 public:
  ResolvedFace Resolve(const std::wstring& requested);

  // The family used when the host names no face.
  static constexpr const char* kDefaultFamily = "Liberation Sans";

 private:
  std::map<std::wstring, ResolvedFace> cache_;
};

// True when the system has a font whose family name is `family` (ignoring
// case); answered from the catalog kept between runs (SystemFonts).
bool IsFamilyInstalled(const std::string& family);

}  // namespace vellum
