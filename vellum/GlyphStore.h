#pragma once
// Glyph rasters kept on disk from run to run, so that a fresh process
// printing a label it printed before draws none of its glyphs through cairo.
// GlyphRasters (one per render worker) asks the store before drawing a glyph
// and gives it what it drew; the label's worker saves the store when the
// label is done. The process has one store, shared by its workers.
//
// A strike is one font drawn with one matrix, kept in one file named by the
// hash of its key. The key names everything cairo's dots depend on (the
// font's fontconfig pattern, its file's size and time, the scaled font's
// matrices and options, the library versions), so a glyph found is exactly
// the dots cairo would draw; the file holds the whole key, and a file whose
// key differs (a collision, a foreign or damaged file) is a miss. Files are
// input: every size read is checked, and any file that does not parse whole,
// with its checksum, is not used. Files are written whole through a
// temporary file renamed over the old one, and the folder is kept within a
// bound by dropping the oldest files.

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

typedef struct _PangoFont PangoFont;

namespace vellum {

struct GlyphRaster;

class GlyphStore {
 public:
  // The glyphs of one strike; opaque to callers, guarded by the store's lock.
  class Strike;

  explicit GlyphStore(std::string folder, size_t maxFolderBytes = kMaxFolderBytes,
                      size_t maxStrikeBytes = kMaxStrikeBytes);
  ~GlyphStore();
  GlyphStore(const GlyphStore&) = delete;
  GlyphStore& operator=(const GlyphStore&) = delete;

  // The process's store, in DefaultFolder(); null when there is none. It is
  // never destroyed: workers may draw until the process ends.
  static GlyphStore* Process();
  // $LABELHOST_GLYPH_CACHE, else $XDG_CACHE_HOME/labelhost/glyphs, else
  // under ~/.cache; empty (no store) when the one found is empty.
  static std::string DefaultFolder();

  // What cairo's dots for `font`, made by pango for `source`, depend on
  // besides the matrix they are drawn with; empty when that cannot be named
  // exactly (not a fontconfig font, emboldened, no font file...), and the
  // font's glyphs are then not stored. Costly: once per font.
  static std::string FontKey(PangoFont* source, cairo_scaled_font_t* font);
  // The strike of a font (its FontKey) drawn with `matrix` (its linear part).
  static std::string StrikeKey(const std::string& fontKey, const cairo_matrix_t& matrix);
  // The strike's file name in the folder: the key's hash.
  static std::string FileName(const std::string& strikeKey);
  // What a strike file's last eight bytes hold: the checksum of all before.
  static uint64_t Checksum(const void* data, size_t size);

  // The strike with `key`, read from its file on first use in this process.
  std::shared_ptr<Strike> Open(const std::string& key);
  // Glyph `index` of the strike into `out`; false when it is not stored.
  bool Find(Strike& strike, unsigned long index, GlyphRaster& out);
  // Keeps `raster`, just drawn, for the next save; refused when the strike
  // has reached its bound.
  void Add(Strike& strike, unsigned long index, const GlyphRaster& raster);
  // Writes every strike that gained glyphs since it was read or written,
  // then trims the folder. Called when a label is done, never on the way out.
  void Save();

  const std::string& folder() const { return folder_; }

  // On disk: the folder, and each strike's file.
  static constexpr size_t kMaxFolderBytes = 64u << 20;
  static constexpr size_t kMaxStrikeBytes = 1u << 20;
  // In memory: strikes no worker holds are let go past this.
  static constexpr size_t kMaxHeldBytes = 16u << 20;

 private:
  void DropUnused();
  long long Trim();

  std::string folder_;
  size_t maxFolderBytes_;
  size_t maxStrikeBytes_;
  std::mutex mutex_;  // guards the strikes and their glyphs
  std::unordered_map<std::string, std::shared_ptr<Strike>> strikes_;  // by key
  std::mutex saveMutex_;        // one save at a time; guards folderBytes_
  long long folderBytes_ = -1;  // what the folder holds, as far as known; -1: not listed yet
};

}  // namespace vellum
