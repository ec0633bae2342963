#include "vellum/ZintBarcodes.h"

#include <algorithm>
#include <cmath>

#include "platform/Text.h"
#include "vellum/FontResolver.h"
#include "vellum/GlyphLayer.h"
#include "vellum/LabelObject.h"
#include "vellum/PageLayout.h"
#include "vellum/RetailText.h"
#include "vellum/ShowText.h"

namespace vellum {
namespace {

constexpr size_t kMaxCachedSymbols = 256;

double HumanReadablePoints(const VBarcodeFormat& format) {
  return std::clamp(format.humanReadablePoints, 4, 72);
}

void AppendHexagon(cairo_t* cr, double x, double y, double radius) {
  // Corners up and down, as zint lays MaxiCode's rows.
  const double half = radius / 2.0, across = radius * std::sqrt(3.0) / 2.0;
  cairo_move_to(cr, x, y - radius);
  cairo_line_to(cr, x + across, y - half);
  cairo_line_to(cr, x + across, y + half);
  cairo_line_to(cr, x, y + radius);
  cairo_line_to(cr, x - across, y + half);
  cairo_line_to(cr, x - across, y - half);
  cairo_close_path(cr);
}

void DrawMaxiCode(cairo_t* cr, const EncodedSymbol& symbol, double scale) {
  cairo_save(cr);
  cairo_scale(cr, scale, scale);
  for (const Hexagon& h : symbol.hexagons) AppendHexagon(cr, h.x, h.y, h.diameter / 2.0);
  cairo_fill(cr);
  for (const Ring& ring : symbol.rings) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, ring.x, ring.y, ring.diameter / 2.0, 0.0, 2.0 * M_PI);
    cairo_set_line_width(cr, ring.width);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

// A digit's height and the space above it in the font's line, per em.
constexpr double kDigitHeightPerEm = 0.72;
constexpr double kLeadingPerEm = 0.22;

// Bars inside the guard ranges reach down beside the digits.
void ExtendGuards(const RetailLayout& layout, int narrow, SymbolMarks& marks) {
  const int reach = static_cast<int>(std::lround(kRetailGuardModules * narrow));
  for (BarRect& bar : marks.bars) {
    const int module = bar.x / std::max(1, narrow);
    for (const auto& [first, last] : layout.guards) {
      if (module >= first && module < last) bar.height += reach;
    }
  }
}

// Straight onto the raster when its layer can (the bars are whole dots), else
// as one path.
void DrawBars(cairo_t* cr, const SymbolMarks& marks, GlyphLayer* layer) {
  LayMode mode = LayMode::kOver;
  if (layer != nullptr && layer->Accepts(cr, mode) && layer->LayBars(cr, marks.bars, mode)) return;
  for (const BarRect& bar : marks.bars) cairo_rectangle(cr, bar.x, bar.y, bar.width, bar.height);
  cairo_fill(cr);
}

SymbolOptions OptionsOf(const VBarcodeFormat& format) {
  SymbolOptions o;
  o.check = format.checkCharacter == 1;
  o.symbologyRule = format.symbolRule == 1;
  o.errorLevel = format.errorLevel;
  o.symbolSize = format.symbolSize;
  o.rows = format.rows;
  o.mode = format.symbolMode;
  o.primary = format.primary;
  return o;
}

}  // namespace

struct ZintBarcodes::Laid {
  std::optional<RetailLayout> retail;  // EAN/UPC digits set as ZPL sets them
  const SymbologyRow* row = nullptr;
  EncodeResult encoded;
  ModuleMetrics metrics;
  SymbolMarks marks;
  int humanReadable = kVHumanNone;
  double points = 8.0;
  int textBand = 0;  // the human-readable line and its gap, dots
};

ZintBarcodes::ZintBarcodes() = default;
ZintBarcodes::~ZintBarcodes() = default;

// zint runs outside the lock: the session validates each new value while
// render threads look up the ones they draw, and an encoding (a QR code's
// masks) takes a tenth of a millisecond they would otherwise wait for.
EncodeResult ZintBarcodes::Encode(const SymbologyRow& row, const std::wstring& data,
                                  const SymbolOptions& options) const {
  CacheKey key{&row, data, options};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = cache_.find(key);
    if (found != cache_.end()) return found->second;
  }
  EncodeResult result = EncodeSymbol(row, data, options);
  std::lock_guard<std::mutex> lock(mutex_);
  if (cache_.size() >= kMaxCachedSymbols) cache_.clear();
  cache_.emplace(std::move(key), result);  // kept as it is if another thread was first
  return result;
}

// A line's height depends on the font and size only, so it is measured once
// (the same by every thread's shaper).
double ZintBarcodes::TextHeight(double points, int dpi, const TextShaper& text) const {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = textHeights_.find({dpi, points});
    if (found != textHeights_.end()) return found->second;
  }
  TextBlock block;
  block.text = L"0";
  block.family = FontResolver::kDefaultFamily;
  const double height = std::ceil(text.Place(block, points).height);
  std::lock_guard<std::mutex> lock(mutex_);
  textHeights_.emplace(std::make_pair(dpi, points), height);
  return height;
}

ZintBarcodes::Laid ZintBarcodes::LayOut(const ObjectData& object, const std::wstring& data, int dpi,
                                        const TextShaper& text) const {
  Laid laid;
  const VBarcodeFormat& format = object.barcode;
  laid.row = FindSymbology(format.typeName, object.barcodeLayout.symbology);
  if (laid.row == nullptr) {
    laid.encoded.reason = L"unknown barcode type";
    return laid;
  }
  laid.encoded = Encode(*laid.row, data, OptionsOf(format));
  if (!laid.encoded.symbol) return laid;
  laid.metrics = MetricsFor(format, dpi);
  laid.marks = LayOutSymbol(*laid.row, *laid.encoded.symbol, laid.metrics, dpi);
  laid.humanReadable = format.humanReadable;
  laid.points = HumanReadablePoints(format);
  // Under ZPL's rules the line grows with the module, as a printer's does.
  if (format.symbolRule == 1) {
    laid.points = kRetailDigitModules * laid.metrics.narrow / kDigitHeightPerEm * 72.0 / dpi;
  }
  if (format.symbolRule == 1 && laid.humanReadable == kVHumanBelow) {
    laid.retail = RetailLayoutFor(*laid.row, laid.encoded.symbol->text);
  }
  if (laid.retail) {
    ExtendGuards(*laid.retail, laid.metrics.narrow, laid.marks);
    laid.textBand = static_cast<int>(std::lround(kRetailBandModules * laid.metrics.narrow));
  } else if (laid.humanReadable == kVHumanAbove || laid.humanReadable == kVHumanBelow) {
    laid.textBand = static_cast<int>(TextHeight(laid.points, dpi, text)) + TextGap(laid.metrics);
  } else {
    laid.humanReadable = kVHumanNone;
  }
  return laid;
}

bool ZintBarcodes::Validate(const VBarcodeFormat& format, const VBarcodeLayout& layout,
                            std::wstring* reason) const {
  const SymbologyRow* row = FindSymbology(format.typeName, layout.symbology);
  std::wstring why;
  if (row == nullptr) {
    why = L"unknown barcode type \"" + format.typeName + L"\"";
  } else {
    const EncodeResult encoded = Encode(*row, format.data, OptionsOf(format));
    if (encoded.symbol) return true;
    why = std::wstring(row->TypeName()) + L": " + encoded.reason;
  }
  if (reason != nullptr) *reason = why;
  return false;
}

DotBox ZintBarcodes::Frame(const ObjectData& object, const std::wstring& data, const DotBox& box,
                           int dpi, const TextShaper& text) const {
  if (!object.barcodeRejection.empty() || object.barcode.autoSize != 1) return box;
  const Laid laid = LayOut(object, data, dpi, text);
  if (!laid.encoded.symbol) return box;
  DotBox frame{box.x, box.y, static_cast<double>(laid.marks.width),
               static_cast<double>(laid.marks.height + laid.textBand)};
  // A turned object keeps the top-left corner of its turned outline at its
  // frame's corner: the frame moves so that the symbol's anchor lands on the
  // position.
  const double barsTop = laid.humanReadable == kVHumanAbove ? laid.textBand : 0.0;
  cairo_matrix_t turn;
  InitTurnAbout(&turn, object.rotation, frame.width / 2.0, frame.height / 2.0);
  const DotBox bounds = TransformedBounds(turn, DotBox{0.0, 0.0, frame.width, frame.height});
  if (object.barcode.anchorBottom != 1) {
    // Under ZPL's rules the position is the top-left corner of the marks as
    // the page shows them; the line stands outside, wherever it turns to.
    if (object.barcode.symbolRule != 1 || laid.humanReadable == kVHumanNone) return frame;
    const DotBox marks = TransformedBounds(
        turn, DotBox{0.0, barsTop, frame.width, static_cast<double>(laid.marks.height)});
    frame.x = box.x - (marks.x - bounds.x);
    frame.y = box.y - (marks.y - bounds.y);
    return frame;
  }
  // The position is the bottom-left corner of the symbol's marks as the
  // symbol reads, turned with it.
  double ax = 0.0, ay = barsTop + laid.marks.height;
  cairo_matrix_transform_point(&turn, &ax, &ay);
  frame.x = box.x - (ax - bounds.x);
  frame.y = box.y - (ay - bounds.y);
  return frame;
}

// Ten modules for bars (the common linear and stacked minimum), four for the
// matrix codes (QR's rule, generous for Data Matrix and Aztec, whose readers
// in phones still want clear space).
double ZintBarcodes::QuietZoneDots(const ObjectData& object, int dpi) const {
  const SymbologyRow* row = FindSymbology(object.barcode.typeName, object.barcodeLayout.symbology);
  if (row == nullptr) return 0.0;
  const bool matrix = row->shape == SymbolShape::kMatrix || row->shape == SymbolShape::kMaxiCode;
  return (matrix ? 4.0 : 10.0) * MetricsFor(object.barcode, dpi).narrow;
}

void ZintBarcodes::Draw(cairo_t* cr, const ObjectData& object, const std::wstring& data,
                        const DotBox& frame, int dpi, const TextShaper& text, GlyphLayer* glyphs,
                        Diagnostics& diagnostics) const {
  if (!object.barcodeRejection.empty()) return;  // reported when the label was prepared
  const Laid laid = LayOut(object, data, dpi, text);
  if (!laid.encoded.symbol) {
    const std::wstring name =
        laid.row != nullptr ? std::wstring(laid.row->TypeName()) : object.barcode.typeName;
    diagnostics.Add(object.id, L"barcode " + platform::IntToWide(object.id) + L" (" + name +
                                   L") not drawn: data \"" + data + L"\" refused: " +
                                   laid.encoded.reason);
    return;
  }
  const double x = std::round(frame.x);
  const double barsTop =
      std::round(frame.y) + (laid.humanReadable == kVHumanAbove ? laid.textBand : 0);
  cairo_save(cr);
  cairo_translate(cr, x, barsTop);
  if (laid.row->shape == SymbolShape::kMaxiCode) {
    DrawMaxiCode(cr, *laid.encoded.symbol, laid.marks.vectorScale);
  } else {
    DrawBars(cr, laid.marks, glyphs);
  }
  cairo_restore(cr);
  if (laid.humanReadable == kVHumanNone) return;
  if (laid.retail) {
    DrawRetailDigits(cr, *laid.retail, laid.metrics.narrow, x, barsTop + laid.marks.height, dpi,
                     text, glyphs);
    return;
  }
  const double centre = x + laid.marks.width / 2.0;
  const double top = laid.humanReadable == kVHumanAbove
                         ? std::round(frame.y)
                         : barsTop + laid.marks.height + TextGap(laid.metrics);
  DrawText(cr, laid.encoded.symbol->text, laid.points, centre, top, text, glyphs);
}

// Each digit centred on its slot; its top two modules below the bars.
void ZintBarcodes::DrawRetailDigits(cairo_t* cr, const RetailLayout& layout, int narrow, double x,
                                    double barsBottom, int dpi, const TextShaper& text,
                                    GlyphLayer* glyphs) const {
  for (const RetailDigit& d : layout.digits) {
    const double digitDots = (d.outside ? 4.5 : kRetailDigitModules) * narrow;
    const double em = digitDots / kDigitHeightPerEm;
    const double top = barsBottom + 2.0 * narrow - kLeadingPerEm * em;
    DrawText(cr, std::wstring(1, d.digit), em * 72.0 / dpi, x + d.centre * narrow, top, text,
             glyphs);
  }
}

void ZintBarcodes::DrawText(cairo_t* cr, const std::wstring& line, double points, double centreX,
                            double top, const TextShaper& text, GlyphLayer* glyphs) const {
  TextBlock block;
  block.text = line;
  block.family = FontResolver::kDefaultFamily;
  const PlacedLayout placed = text.Place(block, points);
  cairo_save(cr);
  cairo_move_to(cr, std::round(centreX - placed.width / 2.0) + placed.x, top);
  Painter painter;
  painter.glyphs = glyphs;
  ShowLayout(cr, placed.layout.get(), painter);
  cairo_restore(cr);
}

}  // namespace vellum
