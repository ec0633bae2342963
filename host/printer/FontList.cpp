#include "host/printer/FontList.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <set>

#include "platform/Text.h"
#include "vellum/FontResolver.h"

namespace host {

const std::vector<std::string>& FontAliases() {
  static const std::vector<std::string> aliases = [] {
    std::vector<std::string> names;
    for (const vellum::MetricCompatibleFace& face : vellum::MetricCompatibleFaces()) {
      names.push_back(face.face);
    }
    return names;
  }();
  return aliases;
}

std::vector<std::string> MachineFamilies() {
  std::set<std::string> families;
  vellum::LoadFontConfiguration();
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    // A font may list its family in several languages; the first is the usual name.
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch) continue;
    const std::string name = reinterpret_cast<const char*>(family);
    // Jobs name faces in single-byte text, so only ASCII names can ever match.
    if (std::all_of(name.begin(), name.end(), [](char c) { return c > 0x1f && c < 0x7f; })) {
      families.insert(name);
    }
  }
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return {families.begin(), families.end()};
}

std::vector<std::string> FontNames(const HostOptions& options) {
  std::vector<std::string> candidates;
  if (!options.noSystemFonts) {
    candidates = FontAliases();
    for (std::string& family : MachineFamilies()) candidates.push_back(std::move(family));
  }
  candidates.insert(candidates.end(), options.fonts.begin(), options.fonts.end());

  std::vector<std::string> names;
  std::set<std::wstring> seen;
  for (const std::string& name : candidates) {
    if (seen.insert(platform::ToLower(platform::BytesToWide(name))).second) names.push_back(name);
  }
  return names;
}

std::vector<platform::LOGFONTW> ToLogFonts(const std::vector<std::string>& names) {
  std::vector<platform::LOGFONTW> fonts;
  for (const std::string& name : names) {
    platform::LOGFONTW font;
    font.lfFaceName = platform::BytesToWide(name);
    fonts.push_back(std::move(font));
  }
  return fonts;
}

}  // namespace host
