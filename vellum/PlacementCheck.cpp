#include "vellum/PlacementCheck.h"

#include <algorithm>
#include <cmath>

#include "platform/Text.h"

namespace vellum {
namespace {

// Less than this much past an edge is rounding, not a slip.
constexpr double kToleranceDots = 0.5;
constexpr size_t kShownCharacters = 40;

// What a person recognises the object by: its kind, and what it prints.
std::wstring Named(const PreparedObject& prepared) {
  const ObjectData& object = *prepared.object;
  std::wstring value = prepared.value;
  if (value.size() > kShownCharacters) value = value.substr(0, kShownCharacters) + L"...";
  switch (object.type) {
    case kVObjText:
      return L"text \"" + value + L"\"";
    case kVObjBarcode:
      return L"barcode \"" + value + L"\"";
    case kVObjPicture:
      return L"picture \"" + object.picture.cardPath + L"\"";
    case kVObjLine:
    case kVObjMultiLine:
      return L"line";
    default:
      return L"shape";
  }
}

std::wstring Dots(double value) { return platform::IntToWide(std::lround(value)); }

// How wide a typeset text's widest line is, in design dots (past its block
// when a word could not be wrapped), and how many lines it prints: empty
// lines at its end print nothing wherever they fall.
struct Measure {
  double widest = 0.0;
  size_t lines = 0;
};

Measure MeasureLines(const PreparedText& text) {
  Measure measure;
  for (size_t i = 0; i < text.lines.size(); ++i) {
    const TypesetLine& line = text.lines[i];
    PangoRectangle logical;
    pango_layout_line_get_extents(line.line, nullptr, &logical);
    if (logical.width <= 0) continue;
    const double end = line.x + static_cast<double>(logical.width) / PANGO_SCALE;
    measure.widest = std::max(measure.widest, end * text.widthScale);
    measure.lines = i + 1;
  }
  return measure;
}

// A block keeps its lines to its width and its number of lines; the lines
// past the last print over it.
void CheckBlock(const PreparedObject& prepared, Diagnostics& diagnostics) {
  const VTextFormat& format = prepared.object->textFormat;
  const double block = format.blockWidthDots;
  if (!prepared.text || !prepared.text->typeset || block <= 0.0) return;
  const auto [widest, lines] = MeasureLines(*prepared.text);
  const size_t rows = static_cast<size_t>(std::max(1, format.blockLines));
  std::wstring what;
  if (widest > block + kToleranceDots) {
    what = L"a line takes " + Dots(widest) + L" dots, the block " + Dots(block);
  } else if (lines > rows) {
    what = L"it takes " + platform::IntToWide(static_cast<int64_t>(lines)) + L" lines, the block " +
           platform::IntToWide(static_cast<int64_t>(rows)) +
           L" (the rest print over its last line)";
  } else {
    return;
  }
  diagnostics.Add(prepared.object->id, Named(prepared) + L" does not fit its block: " + what,
                  DiagnosticKind::kPastTextBlock);
}

}  // namespace

void CheckPlacement(const PreparedLabel& label, const std::vector<DotBox>& extents,
                    Diagnostics& diagnostics) {
  const double width = label.page.widthDots, height = label.page.heightDots;
  const size_t count = std::min(extents.size(), label.objects.size());
  for (size_t i = 0; i < count; ++i) {
    CheckBlock(label.objects[i], diagnostics);
    const DotBox box = TransformedBounds(label.page.designToPage, extents[i]);
    const double right = box.x + box.width, bottom = box.y + box.height;
    const bool past = box.x < -kToleranceDots || box.y < -kToleranceDots ||
                      right > width + kToleranceDots || bottom > height + kToleranceDots;
    if (!past) continue;
    const bool wholly = box.x >= width || box.y >= height || right <= 0.0 || bottom <= 0.0;
    const PreparedObject& prepared = label.objects[i];
    diagnostics.Add(prepared.object->id,
                    Named(prepared) + (wholly ? L" lies wholly" : L" lies partly") +
                        L" outside the label: it takes dots " + Dots(box.x) + L" to " +
                        Dots(right) + L" across and " + Dots(box.y) + L" to " + Dots(bottom) +
                        L" down, the label " + Dots(width) + L" by " + Dots(height),
                    DiagnosticKind::kOutsideLabel);
  }
}

}  // namespace vellum
