#include "vellum/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <array>

#include "platform/Text.h"

namespace vellum {
namespace {

struct Substitute {
  const char* face;
  const char* family;
};

// Faces labels ask for, and the installed family with the same metrics.
constexpr std::array<Substitute, 11> kSubstitutes = {{
    {"arial", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"arial narrow", "Liberation Sans Narrow"},
    {"tahoma", "DejaVu Sans"},
    {"verdana", "DejaVu Sans"},
    {"times new roman", "Liberation Serif"},
    {"times", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
    {"courier", "Liberation Mono"},
    {"lucida console", "Liberation Mono"},
    {"consolas", "Liberation Mono"},
}};

constexpr const char* kLastResort = "DejaVu Sans";

std::string ToLowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

const char* SubstituteFor(const std::string& face) {
  const std::string lower = ToLowerAscii(face);
  for (const Substitute& s : kSubstitutes) {
    if (lower == s.face) return s.family;
  }
  return nullptr;
}

}  // namespace

bool IsFamilyInstalled(const std::string& family) {
  if (family.empty()) return false;
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
    const char* substitute = SubstituteFor(name);
    face.family = substitute != nullptr && IsFamilyInstalled(substitute) ? substitute : kLastResort;
    face.substituted = true;
  }
  cache_.emplace(requested, face);
  return face;
}

}  // namespace vellum
