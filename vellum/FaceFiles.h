#pragma once
// The font file each face prints from, found once per process. The text
// library (pango on fontconfig) looks a face up afresh for every size it is
// asked for: it substitutes the pattern through the whole configuration and
// sorts every installed font, a few milliseconds per size on a desktop
// machine. A label's faces are few and its sizes many, so FaceFiles asks the
// text library once per face which file it prints from, and keeps beside it
// a font configuration holding that file alone: a font map on it looks any
// size of the face up among one font. TextShaper lays out there the text
// whose every character that file has (see Covers); text that needs another
// font for some character goes through the whole configuration, so fallback
// is exactly what the text library does.
//
// A face is resolved through the font configuration current when it is
// asked for, on the system's configuration from the catalog kept between
// runs (SystemFonts) when it has the face; when the process switches to
// another configuration (FcConfigSetCurrent), every face is resolved again. A face the text
// library prints with synthetic bold or slant, font features or variations
// has no file of its own here (null): the configuration's rules make those,
// so such a face always goes through the whole configuration. The catalog
// also keeps what TextShaper measured of a face, handed out here while the
// configuration is the system's. Thread-safe: every render thread shares the
// process's faces.

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "vellum/FaceKey.h"
#include "vellum/FontCatalog.h"

namespace vellum {

// One face's font file. Immutable once made; shared by every shaper.
class FaceFile {
 public:
  // Reads face `index` of `file`; null config when the file cannot be read
  // or holds more than that face. With `cacheDirs` (the system's folders of
  // fontconfig's scans) the face is taken from its folder's scan when that
  // scan is valid, which costs a fraction of reading the file; else, and
  // whenever the scan does not give the face alone, the file is read.
  FaceFile(std::string file, int index, const std::vector<std::string>& cacheDirs = {});
  ~FaceFile();
  FaceFile(const FaceFile&) = delete;
  FaceFile& operator=(const FaceFile&) = delete;

  const std::string& file() const { return file_; }
  int index() const { return index_; }
  // A configuration with this file alone and no rules; the text library
  // takes a reference of its own when it is given one.
  FcConfig* config() const { return config_; }
  // True when the text library would print every character of `utf8` (a
  // layout's text) from this file: each character is in the file, or is a
  // control character, for which no font is chosen. Characters that may
  // start an emoji presentation (from U+231A, variation selectors, the
  // keycap mark) are never claimed: the text library may pick a colour font
  // for them whatever the face.
  bool Covers(const std::string& utf8) const;
  // Whether the file has exactly the characters of `charset`.
  bool SameCharacters(const FcCharSet* charset) const;
  // Whether the face came from its folder's scan rather than the file.
  bool fromScan() const { return fromScan_; }

 private:
  std::string file_;
  int index_;
  FcCharSet* charset_ = nullptr;
  FcConfig* config_ = nullptr;
  bool fromScan_ = false;

  // Takes the face from its folder's scan, on config_ (ScanConfig).
  bool FromScan();
  // Keeps the one face config_ holds, if it is the one asked for.
  bool TakeFace();
};

using FaceFilePtr = std::shared_ptr<const FaceFile>;

class FaceFiles {
 public:
  // The faces of this process.
  static FaceFiles& Process();

  FaceFiles() = default;
  ~FaceFiles();
  FaceFiles(const FaceFiles&) = delete;
  FaceFiles& operator=(const FaceFiles&) = delete;

  // The file `key` prints from: the catalog's (SystemFonts) while the
  // configuration is the system's, else the text library's answer on
  // `system()` (a context whose font map is on the current configuration),
  // asked the first time. Null when the face has no file of its own.
  FaceFilePtr Resolve(const FaceKey& key, const std::function<PangoContext*()>& system);

  // Faces resolved under the current configuration.
  size_t size() const;

  // A face's measurements at `dpi` kept from earlier runs, and measurements
  // for the next runs; only while the configuration is the system's.
  std::optional<FontCatalog::Metrics> FindMetrics(const FaceKey& key, int dpi);
  void RecordMetrics(const FaceKey& key, int dpi, const FontCatalog::Metrics& metrics);

 private:
  void FollowConfiguration();  // holding mutex_

  mutable std::mutex mutex_;
  // Null: the system configuration. Another is referenced, so that its
  // address stays its own.
  FcConfig* configuration_ = nullptr;
  std::map<FaceKey, FaceFilePtr> faces_;
};

}  // namespace vellum
