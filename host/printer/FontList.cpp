#include "host/printer/FontList.h"

#include <algorithm>
#include <set>

#include "platform/Text.h"
#include "vellum/FontResolver.h"
#include "vellum/SystemFonts.h"

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
  std::vector<std::string> families;
  for (std::string& name : vellum::SystemFonts::Process().FamilyNames()) {
    // Jobs name faces in single-byte text, so only ASCII names can ever match.
    if (std::all_of(name.begin(), name.end(), [](char c) { return c > 0x1f && c < 0x7f; })) {
      families.push_back(std::move(name));
    }
  }
  return families;
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
