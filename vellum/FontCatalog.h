#pragma once
// What a run needs of the system's font configuration, kept on disk from run
// to run: every font family name, per face the file the text library prints
// it from and the two measurements typeset text is sized by, and the folders
// where fontconfig keeps its scans of the font folders. Reading the
// configuration itself (some fifty XML files on a Debian machine) costs a
// fresh process more than drawing a label; the catalog is a few kilobytes.
// It is valid only while everything it was made from is as it was: each
// configuration file and folder and each font folder it watches (mtime and
// size; one that was missing must still be missing), and its key (the
// fontconfig, pango, cairo and harfbuzz versions, the language, the
// environment that points fontconfig elsewhere). SystemFonts owns the
// process's catalog; this class only holds, reads and writes one.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vellum/FaceKey.h"

namespace vellum {

class FontCatalog {
 public:
  // A face's file; an empty file: the face has none of its own.
  struct Face {
    std::string file;
    int index = 0;
    bool operator==(const Face& other) const { return file == other.file && index == other.index; }
  };
  // A face's measurements at 100 points and one resolution, as the text
  // library gave them (pango units): the ink height of "H" and the logical
  // width of "0". Each says whether it was laid out on the face's own file
  // (FaceFiles) or on the whole configuration: the next run may use it only
  // where it would lay the text out alike.
  struct Metrics {
    int capHeight = 0;
    int digitAdvance = 0;
    bool capOnFile = false;
    bool digitOnFile = false;
    bool operator==(const Metrics&) const = default;
  };

  // Reads the catalog at `path`: false, leaving this catalog empty, when the
  // file is missing or malformed, its key is not `key`, or anything it
  // watches changed.
  bool Read(const std::string& path, const std::string& key);
  // Writes the catalog whole, through a temporary file renamed over `path`,
  // so that a reader never sees half of one; makes the folder. False when it
  // cannot.
  bool Write(const std::string& path) const;

  void SetKey(std::string key) { key_ = std::move(key); }
  // Remembers `path` as it is now (or that it is missing).
  void Watch(const std::string& path);
  // `first`: the name a font gives first, the one lists show.
  void AddFamily(const std::string& name, bool first);
  void AddFace(const FaceKey& key, const Face& face) { faces_[key] = face; }
  void AddMetrics(const FaceKey& key, int dpi, const Metrics& metrics) {
    metrics_[{key, dpi}] = metrics;
  }
  // A folder of fontconfig's scans of font folders, in the configuration's
  // order.
  void AddCacheDir(const std::string& path);

  // The first names, sorted, each once.
  std::vector<std::string> FirstFamilies() const;
  // Whether a font has `name` among its family names, ignoring case and
  // spaces, as fontconfig's listing does.
  bool HasFamily(const std::string& name) const;
  const Face* FindFace(const FaceKey& key) const;
  const Metrics* FindMetrics(const FaceKey& key, int dpi) const;
  const std::vector<std::string>& cacheDirs() const { return cacheDirs_; }
  size_t watched() const { return watched_.size(); }

  // Where the process keeps its catalog: $LABELHOST_FONT_CATALOG, else
  // $XDG_CACHE_HOME/labelhost/font-catalog, else under ~/.cache; empty when
  // none of these is set (no catalog).
  static std::string DefaultPath();

 private:
  struct Watched {
    std::string path;
    long long mtime = -1;  // nanoseconds; -1: missing
    long long size = 0;
  };
  static Watched StatOf(const std::string& path);
  bool Parse(std::string_view line);

  std::string key_;
  std::vector<Watched> watched_;
  std::set<std::string> names_;       // every name, compared as HasFamily does
  std::set<std::string> firstNames_;  // as given
  std::map<FaceKey, Face> faces_;
  std::map<std::pair<FaceKey, int>, Metrics> metrics_;  // per face and dots per inch
  std::vector<std::string> cacheDirs_;
};

}  // namespace vellum
