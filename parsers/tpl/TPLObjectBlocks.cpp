// Object blocks: a start statement resets the block's fields in TPLData and
// opens it; the end statement turns the fields into one record. Fields live
// on after the end, until the next start that resets them.

#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLRecordBuilders.h"

void TPLParser::StartShape(const std::wstring&) {
  data_->ResetShape();
  AddState(kShapeOpen);
}

void TPLParser::EndShape(const std::wstring&) {
  CloseBlock(kShapeOpen);
  if (data_->objectType.empty()) return;  // no accepted shape type: nothing to draw
  commandList_.push_back(tpl::ShapeRecord(*data_, *this));
}

void TPLParser::StartGraphics(const std::wstring&) {
  data_->ResetGraphic();
  AddState(kGraphicOpen);
}

void TPLParser::EndGraphics(const std::wstring&) {
  CloseBlock(kGraphicOpen);
  if (data_->imageName.empty()) return;
  commandList_.push_back(tpl::GraphicRecord(*data_, *this));
}

void TPLParser::StartLine(const std::wstring&) {
  data_->ResetLine();
  AddState(kLineOpen);
}

void TPLParser::EndLine(const std::wstring&) {
  CloseBlock(kLineOpen);
  commandList_.push_back(tpl::LineRecord(*data_, *this));
}

void TPLParser::StartArrow(const std::wstring&) {
  data_->ResetArrow();
  AddState(kArrowOpen);
}

void TPLParser::EndArrow(const std::wstring&) {
  CloseBlock(kArrowOpen);
  commandList_.push_back(tpl::ArrowRecord(*data_, *this));
}

void TPLParser::StartText(const std::wstring&) {
  data_->ResetText();
  AddState(kTextOpen);
}

// The box of an AUTOSIZE or MANUAL text is given in the script's units like
// every other length, so it goes to dots; a FREEFORM text is not bound to its
// box, whose default sizes pass unchanged.
void TPLParser::EndText(const std::wstring&) {
  int32_t source = IsState(kPromptSource)     ? DATA_SOURCE_PROMPT
                   : IsState(kSerialSource)   ? DATA_SOURCE_SEQUENCE
                   : IsState(kDateTimeSource) ? DATA_SOURCE_DATE_TIME
                                              : DATA_SOURCE_STATIC;
  commandList_.push_back(tpl::TextRecord(*data_, *this, source, tpl::TextBox::kFreeformAsGiven));
  RemoveState(kTextOpen | kPromptSource | kSerialSource | kDateTimeSource);
}

void TPLParser::StartBarcode(const std::wstring&) {
  data_->ResetBarcode();
  AddState(kBarcodeOpen);
}

// A date-time source plays no part here: barcodes are static, prompted or sequenced.
void TPLParser::EndBarcode(const std::wstring&) {
  CloseBlock(kBarcodeOpen);
  if (data_->objectType.empty()) {
    Log(L"Invalid barcode type. Please check your script");
  } else {
    int32_t source = IsState(kPromptSource)   ? DATA_SOURCE_PROMPT
                     : IsState(kSerialSource) ? DATA_SOURCE_SEQUENCE
                                              : DATA_SOURCE_STATIC;
    commandList_.push_back(tpl::BarcodeRecord(*data_, *this, source));
  }
  RemoveState(kPromptSource | kSerialSource);
}

void TPLParser::CloseBlock(uint32_t flag) {
  if (IsState(kLabelOpen)) RemoveState(flag);
}
