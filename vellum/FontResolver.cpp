#include "vellum/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <mutex>

#include "platform/Text.h"

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

void LoadFontConfiguration() {
  static std::once_flag loaded;
  std::call_once(loaded, [] { FcInit(); });
}

bool IsFamilyInstalled(const std::string& family) {
  if (family.empty()) return false;
  LoadFontConfiguration();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  bool found = fonts != nullptr && fonts->nfont > 0;
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
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
