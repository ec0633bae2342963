// Typeset text, as label printers set a field: the face is fitted to the
// printer font's cell (capital height, baseline, character advance), lines
// stand one cell plus the block's spacing apart, a field block wraps and
// justifies its lines and prints any line past its last over the last one,
// and the origin is the field's top-left corner, its first baseline, or the
// end of the previous field's baseline. Prepared and drawn for the
// LabelRenderer.

#include <algorithm>
#include <climits>
#include <cmath>

#include "vellum/ShowText.h"
#include "vellum/TextObject.h"

namespace vellum {
namespace {

Justify BlockJustify(int32_t justify) {
  switch (justify) {
    case kVJustifyCentre:
      return Justify::kCentre;
    case kVJustifyRight:
      return Justify::kRight;
  }
  return Justify::kLeft;
}

TextBlock MakeTypesetBlock(const ObjectData& object, const std::wstring& value,
                           const std::string& family) {
  TextBlock block;
  block.text = value;
  block.family = family;
  block.bold = object.font.bold;
  block.italic = object.font.italic;
  block.underline = object.font.underline;
  block.justify = BlockJustify(object.textFormat.blockJustify);
  return block;
}

double ChooseTypesetSize(const VTextFormat& format, const TextBlock& block,
                         const TextShaper& shaper, int dpi) {
  if (format.capHeightDots > 0.0f) return shaper.SizeForCapHeight(block, format.capHeightDots);
  return std::clamp(format.cellHeightDots * 72.0 / dpi, TextShaper::kMinPoints,
                    TextShaper::kMaxPoints);
}

}  // namespace

PreparedText PrepareTypesetText(const ObjectData& object, const std::wstring& value,
                                const DotPoint& origin, const std::string& family,
                                const TextShaper& shaper, int dpi) {
  const VTextFormat& format = object.textFormat;
  PreparedText text;
  text.typeset = true;
  text.boxBound = false;
  text.clip = false;
  text.reverseBelow = format.reverseBelow == 1;
  text.origin = origin;
  text.turnAboutOrigin = format.originKind != kVOriginTop;

  const TextBlock block = MakeTypesetBlock(object, value, family);
  text.sizePoints = ChooseTypesetSize(format, block, shaper, dpi);
  text.widthScale = object.font.widthScale > 0.0 ? object.font.widthScale : 1.0;
  if (format.advanceDots > 0.0f) {
    const double natural = shaper.DigitAdvance(block, text.sizePoints);
    if (natural > 0.0) text.widthScale = format.advanceDots / natural;
  }
  text.widthScale = std::clamp(text.widthScale, 0.05, 20.0);

  const bool isBlock = format.blockWidthDots > 0.0f;
  text.placed.layout = shaper.TypesetLayout(
      block, text.sizePoints, isBlock ? format.blockWidthDots / text.widthScale : 0.0,
      format.hangingIndentDots / text.widthScale, format.blockJustify == kVJustifyBoth);
  PangoLayout* layout = text.placed.layout.get();

  const double pitch = std::max(1.0f, format.cellHeightDots) + format.blockSpacingDots;
  const double baseline =
      format.baselineDots > 0.0f
          ? format.baselineDots
          : static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  const int lineCount = pango_layout_get_line_count(layout);
  const int lastRow = isBlock ? std::max(1, format.blockLines) - 1 : INT_MAX;
  const int rows = isBlock ? lastRow + 1 : std::max(1, lineCount);
  double top = origin.y;
  if (format.originKind != kVOriginTop) top = origin.y - baseline - (rows - 1) * pitch;

  double right = 0.0, lastEnd = 0.0;
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  for (int i = 0; i < lineCount; ++i) {
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    TypesetLine line;
    line.line = pango_layout_iter_get_line_readonly(iter);
    line.x = static_cast<double>(logical.x) / PANGO_SCALE;
    line.baseline = top + baseline + std::min(i, lastRow) * pitch;
    const double end = line.x + static_cast<double>(logical.width) / PANGO_SCALE;
    right = std::max(right, end);
    lastEnd = end;
    text.lines.push_back(line);
    if (!pango_layout_iter_next_line(iter)) break;
  }
  pango_layout_iter_free(iter);

  const double width = isBlock ? format.blockWidthDots : right * text.widthScale;
  const double left = format.originRight == 1 ? origin.x - width : origin.x;
  text.frame = DotBox{left, top, width, rows * pitch};
  text.textX = left;
  text.textY = top;
  text.placed.width = width;
  text.placed.height = rows * pitch;
  text.penEnd = DotPoint{left + lastEnd * text.widthScale,
                         text.lines.empty() ? top + baseline : text.lines.back().baseline};
  return text;
}

namespace {

// Limits drawing to the dots around the text's ink, on whole dots of the
// raster. A group made without it is the size of the whole label, and
// reversing it reads and writes every dot of the label.
void ClipToInk(cairo_t* cr, const PreparedText& text) {
  double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
  cairo_save(cr);
  cairo_translate(cr, text.textX, 0.0);
  cairo_scale(cr, text.widthScale, 1.0);
  for (const TypesetLine& line : text.lines) {
    PangoRectangle ink, logical;
    pango_layout_line_get_extents(line.line, &ink, &logical);
    pango_extents_to_pixels(&ink, nullptr);
    pango_extents_to_pixels(&logical, nullptr);
    const int x0 = std::min(ink.x, logical.x), y0 = std::min(ink.y, logical.y);
    const int x1 = std::max(ink.x + ink.width, logical.x + logical.width);
    const int y1 = std::max(ink.y + ink.height, logical.y + logical.height);
    const double xs[2] = {line.x + x0, line.x + x1};
    const double ys[2] = {line.baseline + y0, line.baseline + y1};
    for (double x : xs) {
      for (double y : ys) {
        double dx = x, dy = y;
        cairo_user_to_device(cr, &dx, &dy);
        left = std::min(left, dx), right = std::max(right, dx);
        top = std::min(top, dy), bottom = std::max(bottom, dy);
      }
    }
  }
  cairo_restore(cr);
  if (left > right) return;
  // Room for glyphs that reach past their extents (synthetic bold, edges).
  const double margin = 4.0 + 0.25 * (bottom - top);
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, std::floor(left - margin), std::floor(top - margin),
                  std::ceil(right - left + 2 * margin) + 1,
                  std::ceil(bottom - top + 2 * margin) + 1);
  cairo_clip(cr);
  cairo_set_matrix(cr, &matrix);
}

}  // namespace

// One line reversing what lies below it, through the painter's glyph layer;
// false when the layer declined (nothing is drawn then).
bool ReverseThroughLayer(cairo_t* cr, const PreparedText& text, const Painter& painter) {
  if (text.lines.size() != 1) return false;
  cairo_save(cr);
  cairo_translate(cr, text.textX, 0.0);
  cairo_scale(cr, text.widthScale, 1.0);
  cairo_move_to(cr, text.lines[0].x, text.lines[0].baseline);
  const bool shown = ShowLineReversing(cr, text.lines[0].line, painter);
  cairo_restore(cr);
  return shown;
}

void DrawTypesetText(cairo_t* cr, const PreparedText& text, const Painter& painter) {
  cairo_save(cr);
  if (text.reverseBelow && !painter.vector) ClipToInk(cr, text);
  if (text.reverseBelow && ReverseThroughLayer(cr, text, painter)) {
    cairo_restore(cr);
    return;
  }
  if (text.reverseBelow) {
    // Drawn into a group first, so overlapping glyphs reverse once.
    cairo_push_group_with_content(cr,
                                  painter.vector ? CAIRO_CONTENT_COLOR_ALPHA : CAIRO_CONTENT_ALPHA);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 1.0);
  } else {
    painter.Ink(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, text.textX, 0.0);
  cairo_scale(cr, text.widthScale, 1.0);
  for (const TypesetLine& line : text.lines) {
    cairo_move_to(cr, line.x, line.baseline);
    ShowLayoutLine(cr, line.line, painter);
  }
  cairo_restore(cr);
  if (text.reverseBelow) {
    cairo_pop_group_to_source(cr);
    // Ink turns to paper and paper to ink: XOR on the raster's coverage, the
    // difference of white on a page.
    cairo_set_operator(cr, painter.vector ? CAIRO_OPERATOR_DIFFERENCE : CAIRO_OPERATOR_XOR);
    cairo_paint(cr);
  }
  cairo_restore(cr);
}

}  // namespace vellum
