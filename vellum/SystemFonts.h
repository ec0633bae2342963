#pragma once
// The process's one way to the system's font configuration. Reading that
// configuration costs a fresh process more than its label, and most runs
// need only what the last run found: the family names, which file each
// face prints from and its measurements, and where fontconfig keeps its
// scans of the font folders. Those come from the FontCatalog on disk while it is
// valid, and the configuration itself is read only when something needs it
// (text a face's own file cannot print, a face the catalog does not know),
// once, whoever asks first, and the catalog is made afresh from it.
//
// Until then the process's current fontconfig configuration is an empty
// one: the text library reads the current configuration on its first font
// map, and must not read the system's for nothing. Every font map that lays
// text out on the system's fonts is made after Load(). So that the empty
// configuration never replaces one already read, the process uses fontconfig
// only through this class (FontResolver, the host's font list, FaceFiles,
// TextShaper) and the text library. Thread-safe.

#include <fontconfig/fontconfig.h>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "vellum/FontCatalog.h"

namespace vellum {

class SystemFonts {
 public:
  static SystemFonts& Process();

  // The system configuration, read and made current on the first call.
  FcConfig* Load();
  // The current configuration, without reading the system's while the
  // catalog stands for it.
  FcConfig* Current();
  // Whether `config` is the system configuration, or stands for it until it
  // is read.
  bool Describes(const FcConfig* config) const;

  // Every family's first name, sorted.
  std::vector<std::string> FamilyNames();
  // Whether some font has `family` among its names (ignoring case).
  bool HasFamily(const std::string& family);

  // The catalog's file for a face, if it has one; and a face resolved on
  // the system configuration, for the next runs.
  std::optional<FontCatalog::Face> FindFace(const FaceKey& key);
  void RecordFace(const FaceKey& key, const FontCatalog::Face& face);
  // The same for a face's measurements at `dpi`.
  std::optional<FontCatalog::Metrics> FindMetrics(const FaceKey& key, int dpi);
  void RecordMetrics(const FaceKey& key, int dpi, const FontCatalog::Metrics& metrics);
  // The folders of fontconfig's scans of the font folders, from the system
  // configuration (or the catalog that stands for it); empty before either
  // is at hand.
  std::vector<std::string> CacheDirs();

 private:
  SystemFonts();
  // The catalog's key: what the configuration's answers also depend on.
  static std::string Key();
  void Catalogue(FcConfig* config);  // holding mutex_
  void Ensure();                     // the catalog, from the configuration if need be

  mutable std::mutex mutex_;
  std::string path_;
  FontCatalog catalog_;
  bool catalogued_ = false;  // catalog_ holds this configuration's answers
  FcConfig* stand_in_ = nullptr;
  FcConfig* loaded_ = nullptr;
};

}  // namespace vellum
