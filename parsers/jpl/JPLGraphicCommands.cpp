// The picture and graphics lines of CJPLParser: "I:name;x,y,rotation[,width,
// height]" places a picture from the store, "G x,y,rotation;shape:sizes" draws
// a circle ("C"), a horizontal line ("L") or a rectangle ("R").

#include <algorithm>
#include <cmath>

#include "parsers/jpl/JPLParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

using record::GraphicParam;
using record::LineParam;
using record::RecordWriter;
using record::ShapeParam;

constexpr size_t kPictureFields = 4;
constexpr size_t kPictureSizeFields = 7;
constexpr size_t kGraphicsFields = 6;
constexpr int64_t kThinnest = 1;
constexpr int64_t kThickest = 1500;
constexpr int64_t kLargestRadius = 50000;

std::wstring WithoutColons(std::wstring value) {
  std::erase(value, L':');
  return value;
}

std::wstring TrimColons(const std::wstring& name) {
  const size_t first = name.find_first_not_of(L':');
  if (first == std::wstring::npos) return L"";
  return name.substr(first, name.find_last_not_of(L':') - first + 1);
}

// Sum of two decimal texts, truncated toward zero and kept inside 64 bits.
std::wstring Sum(const std::wstring& a, const std::wstring& b) {
  const double value = std::trunc(platform::LeadingNumber(a) + platform::LeadingNumber(b));
  constexpr double kMax = 9.2e18;
  return platform::IntToWide(static_cast<int64_t>(std::clamp(value, -kMax, kMax)));
}

}  // namespace

void CJPLParser::Picture(const Fields& fields) {
  if (fields.size() < kPictureFields) return;
  data_->imageName = TrimColons(fields[1]);
  const bool sized = fields.size() >= kPictureSizeFields;
  AppendObject(RecordWriter(GRAPHIC, GraphicParam::kRequired)
                   .Set(GraphicParam::kName, data_->imageName)
                   .Set(GraphicParam::kX, Dots(fields[2]))
                   .Set(GraphicParam::kY, Dots(fields[3]))
                   .Set(GraphicParam::kWidth, sized ? Dots(fields[5]) : L"300")
                   .Set(GraphicParam::kHeight, sized ? Dots(fields[6]) : L"300")
                   .Set(GraphicParam::kReverse, L"N")
                   .Take());
}

void CJPLParser::Graphics(const Fields& fields) {
  if (fields.size() < kGraphicsFields) return;
  const size_t s = ValueStart(fields);
  const std::wstring x = Dots(fields[s]);
  const std::wstring y = Dots(fields[s + 1]);
  const std::wstring& rotation = fields[s + 2];
  const std::wstring& shape = fields[s + 3];
  // The first size keeps the ":" that followed the shape letter.
  const std::wstring first = Dots(WithoutColons(FieldAt(fields, s + 4)));
  auto dotsAt = [&](size_t i) { return Dots(FieldAt(fields, i)); };
  auto thickness = [&](size_t i) {
    return std::clamp<int64_t>(platform::LeadingInt(dotsAt(i)), kThinnest, kThickest);
  };
  auto shapeRecord = [&](const wchar_t* name, const std::wstring& left, const std::wstring& top,
                         const std::wstring& width, const std::wstring& height, int64_t t) {
    return RecordWriter(SHAPE, ShapeParam::kRequired)
        .Set(ShapeParam::kName, name)
        .Set(ShapeParam::kX, left)
        .Set(ShapeParam::kY, top)
        .Set(ShapeParam::kWidth, width)
        .Set(ShapeParam::kHeight, height)
        .Set(ShapeParam::kThickness, PenInHundredthsOfPoint(t))
        .Set(ShapeParam::kUnused6, L"0")
        .Set(ShapeParam::kCorner, L"0")
        .Set(ShapeParam::kFill, L"NONE")
        .Set(ShapeParam::kRotation, rotation)
        .Take();
  };

  switch (shape.empty() ? L'\0' : shape[0]) {
    case L'C': {
      // The outline is drawn inside the box, so each radius gives up half of it.
      const int64_t t = thickness(s + 6);
      const int64_t a = platform::LeadingInt(first) - t / 2;
      int64_t b = platform::LeadingInt(dotsAt(s + 5)) - t / 2;
      if (b < 1 || b > kLargestRadius) b = a;
      const int64_t left = platform::LeadingInt(x) - a;
      const int64_t top = platform::LeadingInt(y) - b;
      if (left < 0 || top < 0) return;
      AppendObject(shapeRecord(L"CIRCLE", platform::IntToWide(left), platform::IntToWide(top),
                               platform::IntToWide(2 * a + 1), platform::IntToWide(2 * b + 1), t));
      return;
    }
    case L'L':
      AppendObject(RecordWriter(LINE, LineParam::kRequired)
                       .Set(LineParam::kX1, x)
                       .Set(LineParam::kY1, y)
                       .Set(LineParam::kX2, Sum(x, first))
                       .Set(LineParam::kY2, y)
                       .Set(LineParam::kThickness, thickness(s + 5))
                       .Take());
      return;
    case L'R':
      AppendObject(shapeRecord(L"RECTANGLE", x, y, first, dotsAt(s + 5), thickness(s + 6)));
      return;
    default:
      return;  // other shapes are not drawn
  }
}
