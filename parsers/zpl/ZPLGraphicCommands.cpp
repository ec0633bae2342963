// Graphic commands of the device dialect: boxes, circles, ellipses and
// diagonal lines at the field origin, and the fixed picture of "^GF".

#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"

namespace {

const std::wstring kNoOriginRecord = L"ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED";

}  // namespace

void CZPLParser::AppendShape(const ZPLCommand& command, PendingObject pending) {
  const std::optional<Shape> shape = ReadShape(command);
  if (!shape) {
    fieldState_ = NO_ORIGIN;
    return;
  }
  Append(ShapeRecord(*shape, originX_, originY_).Take());
  AcceptObject(pending);
}

void CZPLParser::AcceptObject(PendingObject pending) {
  fieldState_ = OBJECT_DEFINED;
  pendingObject_ = pending;
}

bool CZPLParser::Box(const ZPLCommand& command) {
  if (fieldState_ != ORIGIN_SET) {
    return StopForMissingOrigin(L"ERROR CREATING RECTANGLE, NO FIELD ORIGIN DEFINED",
                                kNoOriginRecord);
  }
  AppendShape(command, PENDING_RECTANGLE);
  return true;
}

bool CZPLParser::Circle(const ZPLCommand& command) {
  if (fieldState_ != ORIGIN_SET) {
    const std::wstring message = L"ERROR CREATING CIRCLE, NO FIELD ORIGIN DEFINED";
    return StopForMissingOrigin(message, message);
  }
  AppendShape(command, PENDING_CIRCLE);
  return true;
}

bool CZPLParser::Ellipse(const ZPLCommand& command) {
  if (fieldState_ != ORIGIN_SET) {
    const std::wstring message = L"ERROR CREATING ELLIPSE, NO FIELD ORIGIN DEFINED";
    return StopForMissingOrigin(message, message);
  }
  AppendShape(command, PENDING_ELLIPSE);
  return true;
}

// The line runs across the box at the origin: "R" (or "/") rises from the
// bottom left to the top right, anything else falls from the top left.
bool CZPLParser::DiagonalLine(const ZPLCommand& command) {
  if (fieldState_ != ORIGIN_SET) {
    const std::wstring message = L"ERROR CREATING DIAGONAL LINE, NO FIELD ORIGIN DEFINED";
    return StopForMissingOrigin(message, message);
  }
  static const zpl::ParameterRule rule{5,
                                       {L"1", L"1", L"1", L"B", L"R"},
                                       {{0}, {1}, {2}},
                                       L"Incorrect Number of Parameters for DIAGONAL LINE"};
  std::vector<std::wstring> p;
  if (!ReadParameters(command.parameters, rule, p)) {
    fieldState_ = NO_ORIGIN;
    return true;
  }
  // Leading integers saturate at 32 bits, so the sums cannot overflow here.
  const int64_t x = platform::LeadingInt(originX_);
  const int64_t y = platform::LeadingInt(originY_);
  const int64_t width = platform::LeadingInt(p[0]);
  const int64_t height = platform::LeadingInt(p[1]);
  const bool rising = platform::EqualsIgnoreCase(p[4], L"R") || p[4] == L"/";
  using Line = record::LineParam;
  Append(record::RecordWriter(LINE, Line::kRequired)
             .Set(Line::kX1, x)
             .Set(Line::kY1, rising ? y + height : y)
             .Set(Line::kX2, x + width)
             .Set(Line::kY2, rising ? y : y + height)
             .Set(Line::kThickness, p[2])
             .Take());
  AcceptObject(PENDING_LINE);
  return true;
}

// The graphic data is not decoded: the stored logo stands in for it.
bool CZPLParser::GraphicField(const ZPLCommand&) {
  using Graphic = record::GraphicParam;
  Append(record::RecordWriter(GRAPHIC, Graphic::kRequired)
             .Set(Graphic::kName, L"ZLOGO.BMP")
             .Set(Graphic::kX, L"0")
             .Set(Graphic::kY, L"0")
             .Set(Graphic::kWidth, L"300")
             .Set(Graphic::kHeight, L"300")
             .Set(Graphic::kReverse, L"N")
             .Take());
  return true;
}
