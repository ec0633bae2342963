// Object blocks: a start statement resets the block's fields in TPLData and
// opens it; the end statement turns the fields into one record, written by
// the names of the record definition (intake/CommandRecord.h). Fields live on
// after the end, until the next start that resets them.
//
// LINETHICKNESS is in dots for every block: a line takes it as it is, while
// shapes and arrows carry a pen in hundredths of a point and get it
// converted.

#include "parsers/tpl/TPLParser.h"

namespace {

using Text = record::TextParam;
using Barcode = record::BarcodeParam;

}  // namespace

void TPLParser::StartShape(const std::wstring&) {
  data_->ResetShape();
  AddState(kShapeOpen);
}

void TPLParser::EndShape(const std::wstring&) {
  CloseBlock(kShapeOpen);
  const TPLData& d = *data_;
  if (d.objectType.empty()) return;  // no accepted shape type: nothing to draw
  using P = record::ShapeParam;
  AddCommand(record::RecordWriter(SHAPE, P::kRequired)
                 .Set(P::kName, d.objectType)
                 .Set(P::kX, Dots(d.positionX))
                 .Set(P::kY, Dots(d.positionY))
                 .Set(P::kWidth, Dots(d.width))
                 .Set(P::kHeight, Dots(d.height))
                 .Set(P::kThickness, PenInHundredthsOfPoint(d.lineThickness))
                 .Set(P::kUnused6, d.shapeExtra)
                 .Set(P::kCorner, d.roundedCorners)
                 .Set(P::kFill, d.fill)
                 .Set(P::kRotation, d.rotation)
                 .Take());
}

void TPLParser::StartGraphics(const std::wstring&) {
  data_->ResetGraphic();
  AddState(kGraphicOpen);
}

void TPLParser::EndGraphics(const std::wstring&) {
  CloseBlock(kGraphicOpen);
  const TPLData& d = *data_;
  if (d.imageName.empty()) return;
  using P = record::GraphicParam;
  AddCommand(record::RecordWriter(GRAPHIC, P::kRequired)
                 .Set(P::kName, d.imageName)
                 .Set(P::kX, Dots(d.positionX))
                 .Set(P::kY, Dots(d.positionY))
                 .Set(P::kWidth, Dots(d.width))
                 .Set(P::kHeight, Dots(d.height))
                 .Set(P::kReverse, d.reverse)
                 .Take());
}

void TPLParser::StartLine(const std::wstring&) {
  data_->ResetLine();
  AddState(kLineOpen);
}

void TPLParser::EndLine(const std::wstring&) {
  CloseBlock(kLineOpen);
  const TPLData& d = *data_;
  using P = record::LineParam;
  AddCommand(record::RecordWriter(LINE, P::kRequired)
                 .Set(P::kX1, Dots(d.startX))
                 .Set(P::kY1, Dots(d.startY))
                 .Set(P::kX2, Dots(d.endX))
                 .Set(P::kY2, Dots(d.endY))
                 .Set(P::kThickness, d.lineThickness)
                 .Take());
}

void TPLParser::StartArrow(const std::wstring&) {
  data_->ResetArrow();
  AddState(kArrowOpen);
}

void TPLParser::EndArrow(const std::wstring&) {
  CloseBlock(kArrowOpen);
  const TPLData& d = *data_;
  using P = record::ArrowParam;
  AddCommand(record::RecordWriter(ARROW, P::kRequired)
                 .Set(P::kType, d.objectType)
                 .Set(P::kX, Dots(d.positionX))
                 .Set(P::kY, Dots(d.positionY))
                 .Set(P::kWidth, Dots(d.width))
                 .Set(P::kHeight, Dots(d.height))
                 .Set(P::kRotation, d.rotation)
                 .Set(P::kThickness, PenInHundredthsOfPoint(d.lineThickness))
                 .Set(P::kFill, d.fill)
                 .Set(P::kArc, d.degreesOfArc)
                 .Set(P::kCorner, d.roundedCorners)
                 .Set(P::kHeadLength, d.arrowHeadLength)
                 .Set(P::kHeadOverhang, d.arrowHeadOverhang)
                 .Set(P::kStemWidth, d.arrowStemWidth)
                 .Take());
}

void TPLParser::StartText(const std::wstring&) {
  data_->ResetText();
  AddState(kTextOpen);
}

// The box of an AUTOSIZE or MANUAL text is given in the script's units like
// every other length, so it goes to dots; a FREEFORM text is not bound to its
// box, whose default sizes pass unchanged.
void TPLParser::EndText(const std::wstring&) {
  const TPLData& d = *data_;
  bool boxBound = d.fontType != L"FREEFORM";
  std::wstring width = boxBound ? Dots(d.width) : d.width;
  std::wstring height = boxBound ? Dots(d.height) : d.height;
  int32_t kind = IsState(kPromptSource)     ? PROMPT_TEXT
                 : IsState(kSerialSource)   ? SEQUENCE_TEXT
                 : IsState(kDateTimeSource) ? DATE_TIME_TEXT
                                            : TEXT;
  record::RecordWriter text(kind, Text::kRequired);
  text.Set(Text::kText, d.objectData)
      .Set(Text::kX, Dots(d.positionX))
      .Set(Text::kY, Dots(d.positionY))
      .Set(Text::kWidth, width)
      .Set(Text::kHeight, height)
      .Set(Text::kFontSize, d.fontSize);
  WriteTextAttributes(text);
  if (kind == PROMPT_TEXT) text.Set(Text::kSourceText, d.promptText);
  if (kind == DATE_TIME_TEXT) text.Set(Text::kSourceText, d.dateTimeFormat);
  if (kind == SEQUENCE_TEXT) {
    text.Set(Text::kSourceText, d.serialStart)
        .Set(Text::kIncrement, d.serialIncrement)
        .Set(Text::kLabelCount, d.serialCount)
        .Set(Text::kPrefix, d.serialPrefix)
        .Set(Text::kPostfix, d.serialSuffix);
  }
  AddCommand(text.Take());
  RemoveState(kTextOpen | kPromptSource | kSerialSource | kDateTimeSource);
}

void TPLParser::StartBarcode(const std::wstring&) {
  data_->ResetBarcode();
  AddState(kBarcodeOpen);
}

// A date-time source plays no part here: barcodes are static, prompted or sequenced.
void TPLParser::EndBarcode(const std::wstring&) {
  CloseBlock(kBarcodeOpen);
  const TPLData& d = *data_;
  if (d.objectType.empty()) {
    Log(L"Invalid barcode type. Please check your script");
  } else {
    int32_t kind = IsState(kPromptSource)   ? PROMPT_BARCODE
                   : IsState(kSerialSource) ? SEQUENCE_BARCODE
                                            : BARCODE;
    record::RecordWriter barcode(kind, Barcode::kRequired);
    barcode.Set(Barcode::kType, d.objectType)
        .Set(Barcode::kData, d.objectData)
        .Set(Barcode::kX, Dots(d.positionX))
        .Set(Barcode::kY, Dots(d.positionY))
        .Set(Barcode::kHeight, Dots(d.height))
        .Set(Barcode::kRotation, d.rotation)
        .Set(Barcode::kHumanReadable, d.humanReadable)
        .Set(Barcode::kHumanReadableTop, d.humanReadableLocation)
        .Set(Barcode::kDensity, d.density)
        .Set(Barcode::kRatio, d.ratio)
        .Set(Barcode::kCheckCharacter, d.checkCharacter);
    if (kind == PROMPT_BARCODE) barcode.Set(Barcode::kPrompt, d.promptText);
    if (kind == SEQUENCE_BARCODE) {
      barcode.Set(Barcode::kSequenceStart, d.serialStart)
          .Set(Barcode::kIncrement, d.serialIncrement)
          .Set(Barcode::kLabelCount, d.serialCount)
          .Set(Barcode::kPrefix, d.serialPrefix)
          .Set(Barcode::kPostfix, d.serialSuffix);
    }
    AddCommand(barcode.Take());
  }
  RemoveState(kPromptSource | kSerialSource);
}

void TPLParser::CloseBlock(uint32_t flag) {
  if (IsState(kLabelOpen)) RemoveState(flag);
}
