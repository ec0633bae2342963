// Block-end records shared by TPL and XTPL: one place that knows which field
// of TPLData goes to which position of each object record.

#include "parsers/tpl/TPLRecordBuilders.h"

#include <string>

#include "record/CommandRecord.h"

namespace tpl {

namespace {

std::wstring Dots(const CLanguageParserBase& units, std::wstring value) {
  units.ConvertUnitsToDots(value);
  return value;
}

int32_t TextKind(int32_t dataSource) {
  switch (dataSource) {
    case DATA_SOURCE_PROMPT:
      return PROMPT_TEXT;
    case DATA_SOURCE_SEQUENCE:
      return SEQUENCE_TEXT;
    case DATA_SOURCE_DATE_TIME:
      return DATE_TIME_TEXT;
    default:
      return TEXT;
  }
}

int32_t BarcodeKind(int32_t dataSource) {
  switch (dataSource) {
    case DATA_SOURCE_PROMPT:
      return PROMPT_BARCODE;
    case DATA_SOURCE_SEQUENCE:
      return SEQUENCE_BARCODE;
    default:
      return BARCODE;
  }
}

}  // namespace

LabelCommand TextRecord(const TPLData& d, const CLanguageParserBase& units, int32_t dataSource,
                        TextBox box) {
  using P = record::TextParam;
  const bool convertBox = box == TextBox::kAlwaysDots || d.fontType != L"FREEFORM";
  const int32_t kind = TextKind(dataSource);
  record::RecordWriter w(kind, P::kRequired);
  w.Set(P::kText, d.objectData)
      .Set(P::kX, Dots(units, d.positionX))
      .Set(P::kY, Dots(units, d.positionY))
      .Set(P::kWidth, convertBox ? Dots(units, d.width) : d.width)
      .Set(P::kHeight, convertBox ? Dots(units, d.height) : d.height)
      .Set(P::kFontSize, d.fontSize);
  units.WriteTextAttributes(w);  // the attribute record is `d` itself
  if (kind == PROMPT_TEXT) w.Set(P::kSourceText, d.promptText);
  if (kind == DATE_TIME_TEXT) w.Set(P::kSourceText, d.dateTimeFormat);
  if (kind == SEQUENCE_TEXT) {
    w.Set(P::kSourceText, d.serialStart)
        .Set(P::kIncrement, d.serialIncrement)
        .Set(P::kLabelCount, d.serialCount)
        .Set(P::kPrefix, d.serialPrefix)
        .Set(P::kPostfix, d.serialSuffix);
  }
  return w.Take();
}

LabelCommand BarcodeRecord(const TPLData& d, const CLanguageParserBase& units, int32_t dataSource) {
  using P = record::BarcodeParam;
  const int32_t kind = BarcodeKind(dataSource);
  record::RecordWriter w(kind, P::kRequired);
  w.Set(P::kType, d.objectType)
      .Set(P::kData, d.objectData)
      .Set(P::kX, Dots(units, d.positionX))
      .Set(P::kY, Dots(units, d.positionY))
      .Set(P::kHeight, Dots(units, d.height))
      .Set(P::kRotation, d.rotation)
      .Set(P::kHumanReadable, d.humanReadable)
      .Set(P::kHumanReadableTop, d.humanReadableLocation)
      .Set(P::kDensity, d.density)
      .Set(P::kRatio, d.ratio)
      .Set(P::kCheckCharacter, d.checkCharacter);
  if (kind == PROMPT_BARCODE) w.Set(P::kPrompt, d.promptText);
  if (kind == SEQUENCE_BARCODE) {
    w.Set(P::kSequenceStart, d.serialStart)
        .Set(P::kIncrement, d.serialIncrement)
        .Set(P::kLabelCount, d.serialCount)
        .Set(P::kPrefix, d.serialPrefix)
        .Set(P::kPostfix, d.serialSuffix);
  }
  return w.Take();
}

LabelCommand ShapeRecord(const TPLData& d, const CLanguageParserBase& units) {
  using P = record::ShapeParam;
  return record::RecordWriter(SHAPE, P::kRequired)
      .Set(P::kName, d.objectType)
      .Set(P::kX, Dots(units, d.positionX))
      .Set(P::kY, Dots(units, d.positionY))
      .Set(P::kWidth, Dots(units, d.width))
      .Set(P::kHeight, Dots(units, d.height))
      .Set(P::kThickness, units.PenInHundredthsOfPoint(d.lineThickness))
      .Set(P::kUnused6, d.shapeExtra)
      .Set(P::kCorner, d.roundedCorners)
      .Set(P::kFill, d.fill)
      .Set(P::kRotation, d.rotation)
      .Take();
}

LabelCommand LineRecord(const TPLData& d, const CLanguageParserBase& units) {
  using P = record::LineParam;
  return record::RecordWriter(LINE, P::kRequired)
      .Set(P::kX1, Dots(units, d.startX))
      .Set(P::kY1, Dots(units, d.startY))
      .Set(P::kX2, Dots(units, d.endX))
      .Set(P::kY2, Dots(units, d.endY))
      .Set(P::kThickness, d.lineThickness)
      .Take();
}

// Positions 8 to 12 carry the arrow's own sizes; the session reads none of them.
LabelCommand ArrowRecord(const TPLData& d, const CLanguageParserBase& units) {
  using P = record::ArrowParam;
  return record::RecordWriter(ARROW, P::kRequired)
      .Set(P::kType, d.objectType)
      .Set(P::kX, Dots(units, d.positionX))
      .Set(P::kY, Dots(units, d.positionY))
      .Set(P::kWidth, Dots(units, d.width))
      .Set(P::kHeight, Dots(units, d.height))
      .Set(P::kRotation, d.rotation)
      .Set(P::kThickness, units.PenInHundredthsOfPoint(d.lineThickness))
      .Set(P::kFill, d.fill)
      .Set(P::kArc, d.degreesOfArc)
      .Set(P::kCorner, d.roundedCorners)
      .Set(P::kHeadLength, d.arrowHeadLength)
      .Set(P::kHeadOverhang, d.arrowHeadOverhang)
      .Set(P::kStemWidth, d.arrowStemWidth)
      .Take();
}

LabelCommand GraphicRecord(const TPLData& d, const CLanguageParserBase& units) {
  using P = record::GraphicParam;
  return record::RecordWriter(GRAPHIC, P::kRequired)
      .Set(P::kName, d.imageName)
      .Set(P::kX, Dots(units, d.positionX))
      .Set(P::kY, Dots(units, d.positionY))
      .Set(P::kWidth, Dots(units, d.width))
      .Set(P::kHeight, Dots(units, d.height))
      .Set(P::kReverse, d.reverse)
      .Take();
}

}  // namespace tpl
