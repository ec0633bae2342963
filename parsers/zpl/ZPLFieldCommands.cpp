// Field commands of the device dialect: the origin, the font, and the data
// that completes the pending text or barcode.

#include "parsers/zpl/ZPLOrientation.h"
#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"

using zpl::ParameterAt;

bool CZPLParser::FieldOrigin(const ZPLCommand& command) {
  static const zpl::ParameterRule rule{
      2, {L"0", L"0"}, {{0}, {1}}, L"Incorrect Number of Parameters for FIELD ORIGIN"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) {
    originX_ = params[0];
    originY_ = params[1];
    fieldState_ = ORIGIN_SET;
  }
  return true;
}

// Even a rejected font becomes the pending font: the field's data still shows.
bool CZPLParser::Font(const ZPLCommand& command) {
  data_->fontType = L"FREEFORM";
  const zpl::ParameterRule rule{3,
                                {data_->font, data_->fontHeight, data_->fontWidth},
                                {{1}, {2}},
                                L"Incorrect Number of Parameters for SCALABLE/BITMAPPED FONT"};
  ReadParameters(command.parameters, rule, pendingFont_);
  pendingObject_ = PENDING_TEXT;
  return true;
}

bool CZPLParser::FieldData(const ZPLCommand& command) {
  const std::wstring data = platform::Trim(command.parameters);
  if (pendingObject_ == PENDING_TEXT) {
    if (fieldState_ != ORIGIN_SET) {
      const std::wstring message = L"ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED";
      return StopForMissingOrigin(message, message);
    }
    AppendText(data);
  } else if (pendingObject_ == PENDING_BARCODE) {
    if (fieldState_ != OBJECT_DEFINED) {
      const std::wstring message = L"ERROR CREATING BARCODE, NO FIELD ORIGIN DEFINED";
      return StopForMissingOrigin(message, message);
    }
    Append(DeviceBarcodeRecord(barcodeType_, pendingBarcode_, data, originX_, originY_));
  }
  fieldState_ = DATA_GIVEN;
  pendingObject_ = PENDING_NONE;
  return true;
}

void CZPLParser::AppendText(const std::wstring& data) {
  data_->ResetText();
  const std::wstring& face = ParameterAt(pendingFont_, 0);
  data_->fontName = data_->FontNameFor(std::wstring_view(face).substr(0, 1));
  data_->rotation = ZplOrientationDegrees(face.size() > 1 ? platform::ToUpperChar(face[1]) : L'\0');
  // The font's width and height are the text's box.
  using P = record::TextParam;
  record::RecordWriter text(TEXT, P::kRequired);
  text.Set(P::kText, data)
      .Set(P::kX, originX_)
      .Set(P::kY, originY_)
      .Set(P::kWidth, ParameterAt(pendingFont_, 2))
      .Set(P::kHeight, ParameterAt(pendingFont_, 1))
      .Set(P::kFontSize, FontSizeInPoints(ParameterAt(pendingFont_, 1)));
  WriteTextAttributes(text);
  Append(text.Take());
  pendingFont_.clear();
}
