#include "vellum/SystemFonts.h"

#include <cairo.h>
#include <dlfcn.h>
#include <pango/pango.h>

#include <cstdlib>

namespace vellum {
namespace {

// Places fontconfig also reads when they exist: a catalog made while they
// were missing must notice them appear.
std::vector<std::string> UserPlaces() {
  std::vector<std::string> places;
  const char* home = std::getenv("HOME");
  const std::string h = home != nullptr ? home : "";
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* data = std::getenv("XDG_DATA_HOME");
  places.push_back((config != nullptr ? std::string(config) : h + "/.config") + "/fontconfig");
  places.push_back((data != nullptr ? std::string(data) : h + "/.local/share") + "/fonts");
  places.push_back(h + "/.fonts.conf");
  places.push_back(h + "/.fonts");
  return places;
}

// The version of the shaping library the text library brought in, asked by
// name: linking it for this alone would cost every start one more library
// to bind.
std::string ShaperVersion() {
  using VersionString = const char* (*)();
  auto version = reinterpret_cast<VersionString>(::dlsym(RTLD_DEFAULT, "hb_version_string"));
  return version != nullptr ? version() : "none";
}

void WatchAll(FontCatalog& catalog, FcStrList* list) {
  if (list == nullptr) return;
  while (FcChar8* path = FcStrListNext(list)) catalog.Watch(reinterpret_cast<const char*>(path));
  FcStrListDone(list);
}

}  // namespace

SystemFonts& SystemFonts::Process() {
  static SystemFonts fonts;
  return fonts;
}

SystemFonts::SystemFonts() : path_(FontCatalog::DefaultPath()) {
  if (path_.empty() || !catalog_.Read(path_, Key())) return;
  catalogued_ = true;
  stand_in_ = FcConfigCreate();
  if (!FcConfigSetCurrent(stand_in_)) {
    FcConfigDestroy(stand_in_);
    stand_in_ = nullptr;
  }
}

std::string SystemFonts::Key() {
  // The measurements also depend on the shaper and the rasteriser.
  std::string key = "fontconfig " + std::to_string(FcGetVersion()) + " pango " +
                    std::to_string(pango_version()) + " cairo " + std::to_string(cairo_version()) +
                    " harfbuzz " + ShaperVersion() + " lang " +
                    pango_language_to_string(pango_language_get_default());
  for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME",
                           "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
    const char* value = std::getenv(name);
    key += std::string(" ") + name + "=" + (value != nullptr ? value : "");
  }
  return key;
}

FcConfig* SystemFonts::Load() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (loaded_ != nullptr) return loaded_;
  // Both configurations keep a reference of ours, so that their addresses
  // stay theirs whatever is made current later.
  if (stand_in_ != nullptr) {
    FcConfig* system = FcInitLoadConfigAndFonts();
    if (system != nullptr && FcConfigSetCurrent(system)) {
      loaded_ = system;
    } else if (system != nullptr) {
      FcConfigDestroy(system);
    }
  }
  if (loaded_ == nullptr) loaded_ = FcConfigReference(nullptr);
  if (!catalogued_) Catalogue(loaded_);
  return loaded_;
}

FcConfig* SystemFonts::Current() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (loaded_ != nullptr || stand_in_ != nullptr) return FcConfigGetCurrent();
  }
  Load();
  return FcConfigGetCurrent();
}

bool SystemFonts::Describes(const FcConfig* config) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return config != nullptr && (config == stand_in_ || config == loaded_);
}

void SystemFonts::Catalogue(FcConfig* config) {
  catalog_ = FontCatalog();
  catalog_.SetKey(Key());
  WatchAll(catalog_, FcConfigGetConfigFiles(config));
  WatchAll(catalog_, FcConfigGetConfigDirs(config));
  WatchAll(catalog_, FcConfigGetFontDirs(config));
  if (FcStrList* dirs = FcConfigGetCacheDirs(config)) {
    while (FcChar8* dir = FcStrListNext(dirs)) {
      catalog_.AddCacheDir(reinterpret_cast<const char*>(dir));
    }
    FcStrListDone(dirs);
  }
  for (const std::string& place : UserPlaces()) catalog_.Watch(place);
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(config, pattern, objects);
  for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &family) == FcResultMatch;
         ++n) {
      catalog_.AddFamily(reinterpret_cast<const char*>(family), n == 0);
    }
  }
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  catalogued_ = true;
  catalog_.Write(path_);
}

std::vector<std::string> SystemFonts::FamilyNames() {
  Ensure();
  std::lock_guard<std::mutex> lock(mutex_);
  return catalog_.FirstFamilies();
}

bool SystemFonts::HasFamily(const std::string& family) {
  Ensure();
  std::lock_guard<std::mutex> lock(mutex_);
  return catalog_.HasFamily(family);
}

void SystemFonts::Ensure() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (catalogued_) return;
  }
  Load();
}

std::optional<FontCatalog::Face> SystemFonts::FindFace(const FaceKey& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  const FontCatalog::Face* face = catalog_.FindFace(key);
  if (face == nullptr) return std::nullopt;
  return *face;
}

void SystemFonts::RecordFace(const FaceKey& key, const FontCatalog::Face& face) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!catalogued_) return;
  const FontCatalog::Face* known = catalog_.FindFace(key);
  if (known != nullptr && *known == face) return;
  catalog_.AddFace(key, face);
  catalog_.Write(path_);
}

std::optional<FontCatalog::Metrics> SystemFonts::FindMetrics(const FaceKey& key, int dpi) {
  std::lock_guard<std::mutex> lock(mutex_);
  const FontCatalog::Metrics* metrics = catalog_.FindMetrics(key, dpi);
  if (metrics == nullptr) return std::nullopt;
  return *metrics;
}

void SystemFonts::RecordMetrics(const FaceKey& key, int dpi, const FontCatalog::Metrics& metrics) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!catalogued_) return;
  const FontCatalog::Metrics* known = catalog_.FindMetrics(key, dpi);
  if (known != nullptr && *known == metrics) return;
  catalog_.AddMetrics(key, dpi, metrics);
  catalog_.Write(path_);
}

std::vector<std::string> SystemFonts::CacheDirs() {
  std::lock_guard<std::mutex> lock(mutex_);
  return catalog_.cacheDirs();
}

}  // namespace vellum
