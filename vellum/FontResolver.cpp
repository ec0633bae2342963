#include "vellum/FontResolver.h"

#include "platform/Text.h"
#include "vellum/SystemFonts.h"

namespace vellum {

const std::vector<MetricCompatibleFace>& MetricCompatibleFaces() {
  // Faces labels ask for, and the open family with the same metrics
  // (fonts-liberation, fonts-dejavu-core).
  static const std::vector<MetricCompatibleFace> faces = {
      {"Arial", "Liberation Sans"},
      {"Helvetica", "Liberation Sans"},
      {"Arial Narrow", "Liberation Sans Narrow"},
      {"Helvetica Narrow", "Liberation Sans Narrow"},
      {"Times New Roman", "Liberation Serif"},
      {"Times", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"Courier", "Liberation Mono"},
      {"Lucida Console", "Liberation Mono"},
      {"Consolas", "Liberation Mono"},
      {"Tahoma", "DejaVu Sans"},
      {"Verdana", "DejaVu Sans"},
  };
  return faces;
}

namespace {

constexpr const char* kLastResort = "DejaVu Sans";

std::string ToLowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

const char* MetricCompatibleFamily(const std::string& face) {
  const std::string lower = ToLowerAscii(face);
  for (const MetricCompatibleFace& f : MetricCompatibleFaces()) {
    if (lower == ToLowerAscii(f.face)) return f.family;
  }
  return nullptr;
}

}  // namespace

bool IsFamilyInstalled(const std::string& family) {
  return !family.empty() && SystemFonts::Process().HasFamily(family);
}

ResolvedFace FontResolver::Resolve(const std::wstring& requested) {
  auto cached = cache_.find(requested);
  if (cached != cache_.end()) return cached->second;
  ResolvedFace face;
  const std::string name = platform::WideToUtf8(platform::Trim(requested));
  if (name.empty()) {
    face.family = kDefaultFamily;
  } else if (IsFamilyInstalled(name)) {
    face.family = name;
  } else {
    // A known face in its metric-compatible family is what the label meant;
    // only a face with no such family is worth a remark.
    const char* compatible = MetricCompatibleFamily(name);
    const bool found = compatible != nullptr && IsFamilyInstalled(compatible);
    face.family = found ? compatible : kLastResort;
    face.substituted = !found;
  }
  cache_.emplace(requested, face);
  return face;
}

}  // namespace vellum
