// Object blocks: a start statement resets the block's fields in TPLData and
// opens it; the end statement turns the fields into one record. Fields live
// on after the end, until the next start that resets them.

#include "parsers/tpl/TPLParser.h"

void TPLParser::StartShape(const std::wstring&) {
  data_->ResetShape();
  AddState(kShapeOpen);
}

void TPLParser::EndShape(const std::wstring&) {
  CloseBlock(kShapeOpen);
  const TPLData& d = *data_;
  if (d.objectType.empty()) return;  // no accepted shape type: nothing to draw
  AddCommand(SHAPE,
             {d.objectType, Dots(d.positionX), Dots(d.positionY), Dots(d.width), Dots(d.height),
              d.lineThickness, d.shapeExtra, d.roundedCorners, d.fill, d.rotation});
}

void TPLParser::StartGraphics(const std::wstring&) {
  data_->ResetGraphic();
  AddState(kGraphicOpen);
}

void TPLParser::EndGraphics(const std::wstring&) {
  CloseBlock(kGraphicOpen);
  const TPLData& d = *data_;
  if (d.imageName.empty()) return;
  AddCommand(GRAPHIC, {d.imageName, Dots(d.positionX), Dots(d.positionY), Dots(d.width),
                       Dots(d.height), d.reverse});
}

void TPLParser::StartLine(const std::wstring&) {
  data_->ResetLine();
  AddState(kLineOpen);
}

void TPLParser::EndLine(const std::wstring&) {
  CloseBlock(kLineOpen);
  const TPLData& d = *data_;
  AddCommand(LINE, {Dots(d.startX), Dots(d.startY), Dots(d.endX), Dots(d.endY), d.lineThickness});
}

void TPLParser::StartArrow(const std::wstring&) {
  data_->ResetArrow();
  AddState(kArrowOpen);
}

void TPLParser::EndArrow(const std::wstring&) {
  CloseBlock(kArrowOpen);
  const TPLData& d = *data_;
  AddCommand(ARROW, {d.objectType, Dots(d.positionX), Dots(d.positionY), Dots(d.width),
                     Dots(d.height), d.rotation, d.lineThickness, d.fill, d.degreesOfArc,
                     d.roundedCorners, d.arrowHeadLength, d.arrowHeadOverhang, d.arrowStemWidth});
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
  LabelCommand& command = AddCommand(
      kind, {d.objectData, Dots(d.positionX), Dots(d.positionY), width, height, d.fontName,
             d.fontType, d.fontSize, d.justification, d.textExtra, d.rotation, d.boundingBox,
             d.lineThickness, d.bold, d.italic, d.underline, d.reverse, d.vertical});
  std::vector<std::wstring>& params = command.params;
  if (kind == PROMPT_TEXT) params.push_back(d.promptText);
  if (kind == SEQUENCE_TEXT) {
    params.insert(params.end(), {d.serialStart, d.serialIncrement, d.serialCount, d.serialPrefix,
                                 d.serialSuffix});
  }
  if (kind == DATE_TIME_TEXT) params.push_back(d.dateTimeFormat);
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
    LabelCommand& command =
        AddCommand(kind, {d.objectType, d.objectData, Dots(d.positionX), Dots(d.positionY),
                          Dots(d.height), d.rotation, d.humanReadable, d.humanReadableLocation,
                          d.density, d.ratio, d.checkCharacter});
    std::vector<std::wstring>& params = command.params;
    if (kind == PROMPT_BARCODE) params.push_back(d.promptText);
    if (kind == SEQUENCE_BARCODE) {
      params.insert(params.end(), {d.serialStart, d.serialIncrement, d.serialCount, d.serialPrefix,
                                   d.serialSuffix});
    }
  }
  RemoveState(kPromptSource | kSerialSource);
}

void TPLParser::CloseBlock(uint32_t flag) {
  if (IsState(kLabelOpen)) RemoveState(flag);
}
