#include "vellum/TextObject.h"

#include <algorithm>
#include <cmath>

#include "vellum/ShowText.h"

namespace vellum {
namespace {

Justify ToJustify(int32_t justification) {
  switch (justification) {
    case kVJustifyCentre:
      return Justify::kCentre;
    case kVJustifyRight:
      return Justify::kRight;
  }
  return Justify::kLeft;
}

TextBlock MakeBlock(const ObjectData& object, const std::wstring& value, const std::string& family,
                    int dpi) {
  TextBlock block;
  const VTextFormat& format = object.textFormat;
  block.text = format.maxLength > 0 && value.size() > static_cast<size_t>(format.maxLength)
                   ? value.substr(0, static_cast<size_t>(format.maxLength))
                   : value;
  block.family = family;
  block.bold = object.font.bold;
  block.italic = object.font.italic;
  block.underline = object.font.underline;
  block.vertical = object.alignment.vertical == 1;
  block.justify = ToJustify(object.alignment.justification);
  block.lineSpacing = std::clamp(static_cast<double>(format.lineSpacing), 0.1, 10.0);
  block.letterSpacingDots = std::clamp(format.characterSpacingPoints * dpi / 72.0, -100.0, 1000.0);
  return block;
}

double ChooseSize(const ObjectData& object, const TextBlock& block, const TextShaper& shaper,
                  bool boxBound, double frameHeight) {
  const FontData& font = object.font;
  if (boxBound && object.alignment.autoSize == 1) return shaper.LargestFittingSize(block);
  if (font.heightDots > 0) return shaper.SizeForLineHeight(block, font.heightDots);
  if (font.points <= 0) {
    // Free-form text without a size takes it from its frame's height.
    return frameHeight >= 1.0 ? shaper.SizeForLineHeight(block, frameHeight) : 10.0;
  }
  return std::clamp<double>(font.points, TextShaper::kMinPoints, TextShaper::kMaxPoints);
}

}  // namespace

PreparedText PrepareText(const ObjectData& object, const std::wstring& value, const DotBox& frame,
                         const std::string& family, const TextShaper& shaper, int dpi) {
  PreparedText text;
  text.boxBound = object.alignment.boxBound != 0;
  text.reverse = object.alignment.reverse == 1;
  text.clip = object.textFormat.clip == 1 && text.boxBound;
  text.borderDots = std::clamp<double>(object.textFormat.borderThickness, 0.0, 1000.0);
  text.widthScale =
      object.font.widthScale > 0.0 ? std::clamp(object.font.widthScale, 0.05, 20.0) : 1.0;
  // A border is drawn inside the frame; the text keeps clear of it by a gap
  // as wide as the border, and at least 0.02 in, so the two never touch.
  const double clearance = text.borderDots > 0.0
                               ? text.borderDots + std::max(text.borderDots, std::round(0.02 * dpi))
                               : 0.0;
  const double margin =
      std::max(0.0, object.textFormat.marginInches * static_cast<double>(dpi)) + clearance;

  TextBlock block = MakeBlock(object, value, family, dpi);
  if (text.boxBound) {
    block.wrap = object.alignment.wordWrap == 1;
    block.boxWidth = std::max(0.0, frame.width - 2 * margin) / text.widthScale;
    block.boxHeight = std::max(0.0, frame.height - 2 * margin);
  }
  text.sizePoints = ChooseSize(object, block, shaper, text.boxBound, frame.height);
  text.placed = shaper.Place(block, text.sizePoints);
  if (text.boxBound) {
    text.frame = frame;
    text.textX = frame.x + margin + text.placed.x * text.widthScale;
    const double spare = block.boxHeight - text.placed.height;
    text.textY = frame.y + margin + (object.alignment.verticalCentre == 1 ? spare / 2.0 : 0.0);
  } else {
    text.frame = DotBox{frame.x, frame.y, text.placed.width * text.widthScale + 2 * margin,
                        text.placed.height + 2 * margin};
    text.textX = frame.x + margin + text.placed.x * text.widthScale;
    text.textY = frame.y + margin;
  }
  return text;
}

void DrawText(cairo_t* cr, const PreparedText& text, const Painter& painter) {
  if (text.typeset) {
    DrawTypesetText(cr, text, painter);
    return;
  }
  cairo_save(cr);
  if (text.clip) {
    cairo_rectangle(cr, text.frame.x, text.frame.y, text.frame.width, text.frame.height);
    cairo_clip(cr);
  }
  if (text.reverse) {
    painter.Ink(cr);
    cairo_rectangle(cr, text.frame.x, text.frame.y, text.frame.width, text.frame.height);
    cairo_fill(cr);
  }
  if (text.borderDots > 0.0) {
    painter.Ink(cr);
    AppendRoundedRect(cr, text.frame, 0.0, 0.0);
    PaintPath(cr, false, text.borderDots);
  }
  painter.Choose(cr, !text.reverse);
  cairo_translate(cr, text.textX, text.textY);
  if (text.widthScale != 1.0) cairo_scale(cr, text.widthScale, 1.0);
  cairo_move_to(cr, 0.0, 0.0);
  ShowLayout(cr, text.placed.layout.get(), painter);
  cairo_restore(cr);
}

}  // namespace vellum
