#include "vellum/TextLayout.h"

#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>

#include "platform/Text.h"
#include "vellum/SystemFonts.h"

namespace vellum {
namespace {

std::wstring OneCharacterPerLine(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() * 2);
  for (wchar_t c : text) {
    if (c == L'\n' || c == L'\r') continue;
    if (!out.empty()) out += L'\n';
    out += c;
  }
  return out;
}

PangoAlignment ToPango(Justify justify) {
  switch (justify) {
    case Justify::kCentre:
      return PANGO_ALIGN_CENTER;
    case Justify::kRight:
      return PANGO_ALIGN_RIGHT;
    case Justify::kLeft:
      break;
  }
  return PANGO_ALIGN_LEFT;
}

double AlignOffset(Justify justify, double box, double extent) {
  switch (justify) {
    case Justify::kCentre:
      return (box - extent) / 2.0;
    case Justify::kRight:
      return box - extent;
    case Justify::kLeft:
      break;
  }
  return 0.0;
}

// The font, attributes and alignment of `block` at `sizePoints`.
LayoutRequest FontRequest(const TextBlock& block, double sizePoints) {
  LayoutRequest request;
  request.family = block.family;
  request.size = static_cast<int>(std::lround(sizePoints * PANGO_SCALE));
  request.bold = block.bold;
  request.italic = block.italic;
  request.underline = block.underline;
  if (block.lineSpacing > 0.0 && block.lineSpacing != 1.0) {
    request.lineSpacing = static_cast<float>(block.lineSpacing);
  }
  request.letterSpaced = block.letterSpacingDots != 0.0;
  if (request.letterSpaced) {
    request.letterSpacing = static_cast<int>(std::lround(block.letterSpacingDots * PANGO_SCALE));
  }
  request.alignment = ToPango(block.justify);
  return request;
}

bool WrapsInBox(const TextBlock& block) {
  return block.wrap && !block.vertical && block.boxWidth > 0.0;
}

}  // namespace

TextShaper::TextShaper(int dpi) : dpi_(dpi) {}

TextShaper::~TextShaper() = default;

TextShaper::Lane::~Lane() {
  layouts.Clear();
  if (context != nullptr) g_object_unref(context);
  if (fontMap != nullptr) g_object_unref(fontMap);
}

void TextShaper::Open(Lane& lane, PangoFontMap* fontMap) const {
  lane.fontMap = fontMap;
  // The text library measures each new font by laying out a sample sentence
  // in a context of the font map's own. At the map's default resolution that
  // context asks for a twin of the font (same pixels, other dots per inch),
  // which is loaded and measured in turn; at ours it finds the font itself.
  pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap), dpi_);
  lane.context = pango_font_map_create_context(fontMap);
  pango_cairo_context_set_resolution(lane.context, dpi_);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(lane.context, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(lane.context, FALSE);
}

// The font map is made on first use: a label whose text its faces' own files
// print needs none, nor the system's font configuration read.
TextShaper::Lane& TextShaper::System() const {
  if (system_.context == nullptr) {
    SystemFonts::Process().Load();
    Open(system_, pango_cairo_font_map_new());
  }
  return system_;
}

TextShaper::Lane& TextShaper::LaneFor(const LayoutRequest& request) const {
  const FaceKey key{request.family, request.bold, request.italic};
  FaceFilePtr face = FaceFiles::Process().Resolve(key, [this] { return System().context; });
  if (face == nullptr || !face->Covers(request.text)) return System();
  std::unique_ptr<Lane>& lane = faces_[key];
  if (lane == nullptr || lane->face != face) {
    PangoFontMap* fontMap = pango_cairo_font_map_new();
    if (!PANGO_IS_FC_FONT_MAP(fontMap)) {  // a text library on other fonts than fontconfig's
      g_object_unref(fontMap);
      return System();
    }
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap), face->config());
    lane = std::make_unique<Lane>();
    lane->face = face;
    Open(*lane, fontMap);
  }
  return *lane;
}

LayoutRequest TextShaper::PlaceRequest(const TextBlock& block, double sizePoints) const {
  LayoutRequest request = FontRequest(block, sizePoints);
  request.text =
      platform::WideToUtf8(block.vertical ? OneCharacterPerLine(block.text) : block.text);
  if (WrapsInBox(block)) request.width = static_cast<int>(block.boxWidth * PANGO_SCALE);
  return request;
}

PlacedLayout TextShaper::Place(const TextBlock& block, double sizePoints) const {
  PlacedLayout placed;
  const LayoutRequest request = PlaceRequest(block, sizePoints);
  Lane& lane = LaneFor(request);
  placed.layout = lane.layouts.Get(lane.context, request);
  PangoLayout* layout = placed.layout.get();
  const bool wrap = WrapsInBox(block);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  placed.width = static_cast<double>(logical.width) / PANGO_SCALE;
  placed.height = static_cast<double>(logical.height) / PANGO_SCALE;
  // A wrapped layout aligns its lines inside the box itself; otherwise the
  // whole block is placed in the box. Without a box (free-form text) the block
  // starts at its position whatever its justification, which then only lines
  // up its lines with each other: a centred free-form text must not spill left
  // of where the script put it.
  const double inBox =
      block.boxWidth > 0.0 ? AlignOffset(block.justify, block.boxWidth, placed.width) : 0.0;
  placed.x = wrap ? 0.0 : inBox - static_cast<double>(logical.x) / PANGO_SCALE;
  return placed;
}

bool TextShaper::Fits(const TextBlock& block, double sizePoints) const {
  // A layout of its own, since it is changed: laid out as placed, then again
  // without breaking words. Autosized text is never broken inside a word to
  // make it fit: with word wrapping a long word overflows the width and the
  // size is refused.
  const LayoutRequest request = PlaceRequest(block, sizePoints);
  LayoutPtr own = MakeLayout(LaneFor(request).context, request);
  PangoLayout* layout = own.get();
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  pango_layout_get_extents(layout, nullptr, &logical);
  const double width = static_cast<double>(logical.width) / PANGO_SCALE;
  const double height = static_cast<double>(logical.height) / PANGO_SCALE;
  constexpr double kSlack = 0.01;
  return height <= block.boxHeight + kSlack &&
         (block.boxWidth <= 0.0 || width <= block.boxWidth + kSlack);
}

double TextShaper::LargestFittingSize(const TextBlock& block) const {
  if (block.boxHeight <= 0.0) return kMinPoints;
  int low = static_cast<int>(kMinPoints * 4);
  int high = static_cast<int>(std::min(kMaxPoints, block.boxHeight * 72.0 / dpi_ * 2.0) * 4);
  if (!Fits(block, low / 4.0)) return kMinPoints;
  while (low < high) {
    int mid = (low + high + 1) / 2;
    if (Fits(block, mid / 4.0)) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return low / 4.0;
}

double TextShaper::SizeForLineHeight(const TextBlock& block, double heightDots) const {
  constexpr double kProbe = 100.0;
  TextBlock probe = block;
  probe.text = L"X";
  probe.vertical = false;
  probe.wrap = false;
  PlacedLayout placed = Place(probe, kProbe);
  if (placed.height <= 0.0) return kMinPoints;
  return std::clamp(kProbe * heightDots / placed.height, kMinPoints, kMaxPoints);
}

}  // namespace vellum

namespace vellum {

LayoutPtr TextShaper::TypesetLayout(const TextBlock& block, double sizePoints, double wrapWidth,
                                    double hangingIndent, bool justifyBoth) const {
  LayoutRequest request = FontRequest(block, sizePoints);
  request.text = platform::WideToUtf8(block.text);
  if (wrapWidth > 0.0) {
    request.width = static_cast<int>(wrapWidth * PANGO_SCALE);
    request.justify = justifyBoth;
    // A negative indent leaves the first line and indents the others.
    if (hangingIndent > 0.0) request.indent = -static_cast<int>(hangingIndent * PANGO_SCALE);
  }
  Lane& lane = LaneFor(request);
  return lane.layouts.Get(lane.context, request);
}

// Measured at 100 points, on the lanes LaneFor picks for "H" and "0"; kept
// between runs (FaceFiles) as pango gave them, so that the sizes derived
// from them are the same to the last bit whether measured or read.
const TextShaper::FaceMetrics& TextShaper::MetricsOf(const TextBlock& block) const {
  const FaceKey key{block.family, block.bold, block.italic};
  auto it = metrics_.find(key);
  if (it != metrics_.end()) return it->second;
  constexpr double kProbe = 100.0;
  FaceFiles& faces = FaceFiles::Process();
  const FaceFilePtr face = faces.Resolve(key, [this] { return System().context; });
  FontCatalog::Metrics measured;
  measured.capOnFile = face != nullptr && face->Covers("H");
  measured.digitOnFile = face != nullptr && face->Covers("0");
  const std::optional<FontCatalog::Metrics> known = faces.FindMetrics(key, dpi_);
  if (known && known->capOnFile == measured.capOnFile &&
      known->digitOnFile == measured.digitOnFile) {
    measured = *known;
  } else {
    TextBlock probe = block;
    probe.text = L"H";
    probe.underline = false;
    probe.letterSpacingDots = 0.0;
    LayoutPtr h = TypesetLayout(probe, kProbe, 0.0, 0.0, false);
    PangoRectangle ink;
    pango_layout_get_extents(h.get(), &ink, nullptr);
    measured.capHeight = ink.height;
    probe.text = L"0";
    LayoutPtr zero = TypesetLayout(probe, kProbe, 0.0, 0.0, false);
    PangoRectangle logical;
    pango_layout_get_extents(zero.get(), nullptr, &logical);
    measured.digitAdvance = logical.width;
    faces.RecordMetrics(key, dpi_, measured);
  }
  FaceMetrics metrics;
  metrics.capPerPoint = static_cast<double>(measured.capHeight) / PANGO_SCALE / kProbe;
  metrics.advancePerPoint = static_cast<double>(measured.digitAdvance) / PANGO_SCALE / kProbe;
  return metrics_.emplace(key, metrics).first->second;
}

double TextShaper::SizeForCapHeight(const TextBlock& block, double capDots) const {
  const double perPoint = MetricsOf(block).capPerPoint;
  if (perPoint <= 0.0) return SizeForLineHeight(block, capDots);
  return std::clamp(capDots / perPoint, kMinPoints, kMaxPoints);
}

double TextShaper::DigitAdvance(const TextBlock& block, double sizePoints) const {
  return MetricsOf(block).advancePerPoint * sizePoints;
}

}  // namespace vellum
