#include "vellum/TextLayout.h"

#include <algorithm>
#include <cmath>

#include "platform/Text.h"

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

void SetFont(PangoLayout* layout, const TextBlock& block, double sizePoints) {
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, block.family.c_str());
  pango_font_description_set_weight(font, block.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(font, block.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_size(font, static_cast<int>(std::lround(sizePoints * PANGO_SCALE)));
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (block.lineSpacing > 0.0 && block.lineSpacing != 1.0) {
    pango_layout_set_line_spacing(layout, static_cast<float>(block.lineSpacing));
  }
  if (!block.underline && block.letterSpacingDots == 0.0) return;
  PangoAttrList* attrs = pango_attr_list_new();
  if (block.underline) {
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  }
  if (block.letterSpacingDots != 0.0) {
    pango_attr_list_insert(attrs, pango_attr_letter_spacing_new(static_cast<int>(
                                      std::lround(block.letterSpacingDots * PANGO_SCALE))));
  }
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
}

}  // namespace

void GObjectUnref::operator()(void* object) const {
  if (object != nullptr) g_object_unref(object);
}

TextShaper::TextShaper(int dpi) : dpi_(dpi) {}

TextShaper::~TextShaper() {
  if (context_ != nullptr) g_object_unref(context_);
  if (fontMap_ != nullptr) g_object_unref(fontMap_);
}

// The font map is made on first use: making one starts the text library's
// reading of the font configuration, which the host may be doing already,
// and a label without text needs none.
PangoContext* TextShaper::Context() const {
  if (context_ != nullptr) return context_;
  fontMap_ = pango_cairo_font_map_new();
  context_ = pango_font_map_create_context(fontMap_);
  pango_cairo_context_set_resolution(context_, dpi_);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(context_, FALSE);
  return context_;
}

PlacedLayout TextShaper::Place(const TextBlock& block, double sizePoints) const {
  PlacedLayout placed;
  placed.layout.reset(pango_layout_new(Context()));
  PangoLayout* layout = placed.layout.get();
  const std::wstring text = block.vertical ? OneCharacterPerLine(block.text) : block.text;
  pango_layout_set_text(layout, platform::WideToUtf8(text).c_str(), -1);
  SetFont(layout, block, sizePoints);
  pango_layout_set_alignment(layout, ToPango(block.justify));
  const bool wrap = block.wrap && !block.vertical && block.boxWidth > 0.0;
  if (wrap) {
    pango_layout_set_width(layout, static_cast<int>(block.boxWidth * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  }
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
  PlacedLayout placed = Place(block, sizePoints);
  PangoLayout* layout = placed.layout.get();
  // Autosized text is never broken inside a word to make it fit: with word
  // wrapping a long word overflows the width and the size is refused.
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  PangoRectangle logical;
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
  LayoutPtr layout(pango_layout_new(Context()));
  pango_layout_set_text(layout.get(), platform::WideToUtf8(block.text).c_str(), -1);
  SetFont(layout.get(), block, sizePoints);
  pango_layout_set_alignment(layout.get(), ToPango(block.justify));
  if (wrapWidth > 0.0) {
    pango_layout_set_width(layout.get(), static_cast<int>(wrapWidth * PANGO_SCALE));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_justify(layout.get(), justifyBoth ? TRUE : FALSE);
    // A negative indent leaves the first line and indents the others.
    if (hangingIndent > 0.0) {
      pango_layout_set_indent(layout.get(), -static_cast<int>(hangingIndent * PANGO_SCALE));
    }
  }
  return layout;
}

const TextShaper::FaceMetrics& TextShaper::MetricsOf(const TextBlock& block) const {
  const std::string key = block.family + (block.bold ? "|b" : "|") + (block.italic ? "i" : "");
  auto it = metrics_.find(key);
  if (it != metrics_.end()) return it->second;
  constexpr double kProbe = 100.0;
  TextBlock probe = block;
  probe.text = L"H";
  probe.underline = false;
  probe.letterSpacingDots = 0.0;
  FaceMetrics metrics;
  LayoutPtr h = TypesetLayout(probe, kProbe, 0.0, 0.0, false);
  PangoRectangle ink;
  pango_layout_get_extents(h.get(), &ink, nullptr);
  metrics.capPerPoint = static_cast<double>(ink.height) / PANGO_SCALE / kProbe;
  probe.text = L"0";
  LayoutPtr zero = TypesetLayout(probe, kProbe, 0.0, 0.0, false);
  PangoRectangle logical;
  pango_layout_get_extents(zero.get(), nullptr, &logical);
  metrics.advancePerPoint = static_cast<double>(logical.width) / PANGO_SCALE / kProbe;
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
