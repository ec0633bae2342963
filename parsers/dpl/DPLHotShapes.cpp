// Hot shapes: object records of kind "X". After the header comes a shape
// letter and the shape's own fixed-width fields; every length goes to dots
// like the other objects' lengths.

#include <algorithm>

#include "parsers/dpl/DPLParser.h"
#include "platform/Text.h"

namespace {

using record::LineParam;
using record::PolygonParam;
using record::ShapeParam;

constexpr size_t kShortField = 3;  // "B" and "L"
constexpr size_t kLongField = 4;   // "b" and "l"

constexpr wchar_t kBoxMessage[] =
    L"BottomTop differs from Side Paremeter. This is unsupported. BottomTop value used";

}  // namespace

void DPLParser::ParseHotShape(const dpl::ObjectHeader& header) {
  data_->positionY = header.row;
  data_->positionX = header.column;
  dpl::FieldReader fields(header.rest);
  const wchar_t letter = fields.Peek();
  fields.Take(1);
  switch (letter) {
    case L'B':
    case L'b':
      data_->objectType = L"RECTANGLE";
      ParseBoxDefinition(fields, letter == L'b');
      break;
    case L'L':
    case L'l':
      data_->objectType = L"DRAW_DIAGONAL_LINE";
      ParseLineDefinition(fields, letter == L'l');
      break;
    case L'C':
      data_->objectType = L"CIRCLE";
      ParseCircleDefinition(fields);
      break;
    case L'P':
      data_->objectType = L"POLYGON";
      ParsePolyDefinition(fields);
      break;
    default:
      break;  // no shape: nothing is made
  }
}

// Width, height, then the bottom-top and the side thickness; one pen draws
// all four sides.
void DPLParser::ParseBoxDefinition(dpl::FieldReader& fields, bool isLong) {
  const size_t width = isLong ? kLongField : kShortField;
  data_->width = fields.Take(width);
  data_->height = fields.Take(width);
  const std::wstring bottomTop(fields.Take(width));
  const std::wstring_view side = fields.Take(width);
  if (dpl::FieldValue(bottomTop) != dpl::FieldValue(side)) Log(kBoxMessage);
  data_->lineThickness = PenInHundredthsOfPoint(bottomTop);
  GenerateShapeCommand();
}

// The session's shape pens are hundredths of a point, as for ZPL's boxes.
std::wstring DPLParser::PenInHundredthsOfPoint(const std::wstring& thickness) const {
  const int64_t dots = platform::LeadingInt(Dots(thickness));
  if (dots <= 0) return L"0";
  const int64_t dpi = GetParserDPI();
  return platform::IntToWide((dots * 7200 + dpi / 2) / dpi);
}

void DPLParser::ParseLineDefinition(dpl::FieldReader& fields, bool isLong) {
  const size_t width = isLong ? kLongField : kShortField;
  data_->width = fields.Take(width);
  data_->height = fields.Take(width);
  GenerateLineCommand();
}

// A fill code, four characters the printer does not use here, the radius.
// The circle is given by its centre; the box around it stays on the label.
void DPLParser::ParseCircleDefinition(dpl::FieldReader& fields) {
  data_->fill = GetFillPattern(fields.Take(3));
  fields.Take(4);
  const int64_t radius = dpl::FieldValue(fields.Take(4));
  const int64_t column = dpl::FieldValue(data_->positionX);
  const int64_t row = dpl::FieldValue(data_->positionY);
  data_->positionX = platform::IntToWide(std::max<int64_t>(0, column - radius));
  data_->positionY = platform::IntToWide(std::max<int64_t>(0, row - radius));
  data_->width = data_->height = platform::IntToWide(2 * radius);
  GenerateShapeCommand();
}

// A fill code, four unused characters, then row and column pairs; the
// header's row and column are the first point.
void DPLParser::ParsePolyDefinition(dpl::FieldReader& fields) {
  data_->fill = GetFillPattern(fields.Take(3));
  fields.Take(4);
  while (fields.Remaining() > 7) {
    polygonRows.emplace_back(fields.Take(4));
    polygonColumns.emplace_back(fields.Take(4));
  }
  GeneratePolyCommand();
}

void DPLParser::GenerateShapeCommand() {
  const TPLData& d = *data_;
  record::RecordWriter shape(SHAPE, ShapeParam::kRequired);
  shape.Set(ShapeParam::kName, d.objectType)
      .Set(ShapeParam::kX, Dots(d.positionX))
      .Set(ShapeParam::kY, Dots(d.positionY))
      .Set(ShapeParam::kWidth, Dots(d.width))
      .Set(ShapeParam::kHeight, Dots(d.height))
      .Set(ShapeParam::kThickness, d.lineThickness)
      .Set(ShapeParam::kUnused6, d.shapeExtra)
      .Set(ShapeParam::kCorner, d.roundedCorners)
      .Set(ShapeParam::kFill, d.fill)
      .Set(ShapeParam::kRotation, d.rotation);
  Add(shape);
  data_->ResetAll();
}

// A line object is a solid rule filling its width and height: the session
// draws it as a line along its longer side, as thick as the shorter one.
void DPLParser::GenerateLineCommand() {
  TPLData& d = *data_;
  const int64_t column = dpl::FieldValue(d.positionX), row = dpl::FieldValue(d.positionY);
  const int64_t width = dpl::FieldValue(d.width), height = dpl::FieldValue(d.height);
  const bool across = width >= height;
  d.endX = platform::IntToWide(across ? column + width : column);
  d.endY = platform::IntToWide(across ? row : row + height);
  record::RecordWriter line(LINE, LineParam::kRequired);
  line.Set(LineParam::kX1, Dots(d.positionX))
      .Set(LineParam::kY1, Dots(d.positionY))
      .Set(LineParam::kX2, Dots(d.endX))
      .Set(LineParam::kY2, Dots(d.endY))
      .Set(LineParam::kThickness, Dots(across ? d.height : d.width));
  Add(line);
  data_->ResetLine();
}

void DPLParser::GeneratePolyCommand() {
  const TPLData& d = *data_;
  const size_t points = polygonRows.size() + 1;
  record::RecordWriter polygon(POLYGON, PolygonParam::Size(points));
  polygon.Set(PolygonParam::kCount, static_cast<int64_t>(points))
      .Set(PolygonParam::X(0), Dots(d.positionX))
      .Set(PolygonParam::Y(0), Dots(d.positionY));
  for (size_t i = 0; i + 1 < points; ++i) {
    polygon.Set(PolygonParam::X(i + 1), Dots(polygonColumns[i]))
        .Set(PolygonParam::Y(i + 1), Dots(polygonRows[i]));
  }
  polygon.Set(PolygonParam::Fill(points), d.fill)
      .Set(PolygonParam::Thickness(points), d.lineThickness);
  Add(polygon);
  data_->ResetAll();
  polygonColumns.clear();
  polygonRows.clear();
}
