#pragma once
// Lays text out with pango for the renderer: box-bound wrapping, justification,
// vertical text (one character per line), autosize and free-form sizing. The
// same layout is drawn on the raster and on PDF pages: hinting and glyph
// position rounding are off, so glyph advances do not depend on the surface.
// All lengths here are printer dots. The renderer owns one TextShaper.

#include <pango/pangocairo.h>

#include <map>
#include <memory>
#include <string>

#include "vellum/FaceFiles.h"
#include "vellum/LayoutCache.h"

namespace vellum {

enum class Justify { kLeft, kCentre, kRight };

struct TextBlock {
  std::wstring text;
  std::string family;
  double sizePoints = 10.0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Justify justify = Justify::kLeft;
  bool wrap = false;      // break lines at the box width
  bool vertical = false;  // one character per line
  double boxWidth = 0.0;  // dots; 0 when the text has no box
  double boxHeight = 0.0;
  double lineSpacing = 1.0;        // multiple of the font's line height
  double letterSpacingDots = 0.0;  // extra space after each character
};

// A laid-out block and where it goes relative to its box's top-left corner.
// The layout may be shared with other texts (see LayoutCache): only read it.
struct PlacedLayout {
  LayoutPtr layout;
  double x = 0.0;      // dots from the box's left edge to the layout's origin
  double width = 0.0;  // logical extent of the text, dots
  double height = 0.0;
};

// Lays text out with pango at one resolution. Each LabelRenderer owns one,
// used by one thread at a time; its font maps are made on first use. Text a
// face's own file prints whole is laid out on a font map of that file alone
// (FaceFiles), where a new size costs no search of the system's fonts; other
// text on the system font map. Layouts are kept for text that comes again
// (LayoutCache), per font map.
class TextShaper {
 public:
  explicit TextShaper(int dpi);
  ~TextShaper();
  TextShaper(const TextShaper&) = delete;
  TextShaper& operator=(const TextShaper&) = delete;

  // Lays `block` out at `sizePoints` (its own size is ignored).
  PlacedLayout Place(const TextBlock& block, double sizePoints) const;

  // The largest size, in quarter points, at which the block fits its box;
  // kMinPoints when even that does not fit.
  double LargestFittingSize(const TextBlock& block) const;

  // The size whose line height is `heightDots` (free-form text of size 0).
  double SizeForLineHeight(const TextBlock& block, double heightDots) const;

  static constexpr double kMinPoints = 1.0;
  static constexpr double kMaxPoints = 1000.0;

  // Typesetting (TypesetText.cpp). A layout of the block at `sizePoints`,
  // wrapped at `wrapWidth` dots when that is positive (word by word, a long
  // word by characters), its later lines indented by `hangingIndent` dots,
  // aligned by the block's justification or, with `justifyBoth`, to both
  // edges.
  LayoutPtr TypesetLayout(const TextBlock& block, double sizePoints, double wrapWidth,
                          double hangingIndent, bool justifyBoth) const;
  // The size at which the face's capitals ("H") are `capDots` tall.
  double SizeForCapHeight(const TextBlock& block, double capDots) const;
  // How far the digit "0" advances at `sizePoints`, dots.
  double DigitAdvance(const TextBlock& block, double sizePoints) const;

 private:
  LayoutRequest PlaceRequest(const TextBlock& block, double sizePoints) const;
  bool Fits(const TextBlock& block, double sizePoints) const;
  // Cap height and digit advance per point of a face, measured once.
  struct FaceMetrics {
    double capPerPoint = 0.0;
    double advancePerPoint = 0.0;
  };
  const FaceMetrics& MetricsOf(const TextBlock& block) const;
  mutable std::map<FaceKey, FaceMetrics> metrics_;

  // A font map, the context laid out in and the layouts made there.
  struct Lane {
    Lane() = default;
    Lane(const Lane&) = delete;
    Lane& operator=(const Lane&) = delete;
    ~Lane();
    PangoFontMap* fontMap = nullptr;
    PangoContext* context = nullptr;
    LayoutCache layouts;
    FaceFilePtr face;  // null on the system font map
  };
  void Open(Lane& lane, PangoFontMap* fontMap) const;
  // The system font map's lane, made on first use.
  Lane& System() const;
  // Where `request` is laid out.
  Lane& LaneFor(const LayoutRequest& request) const;
  mutable Lane system_;
  mutable std::map<FaceKey, std::unique_ptr<Lane>> faces_;
  int dpi_;
};

}  // namespace vellum
