// Field commands of CZPLParser: the origin, the font, and the data that
// completes the pending text or barcode.

#include <algorithm>

#include "parsers/zpl/ZPLOrientation.h"
#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"

namespace {

constexpr size_t kKeywordLength = 3;
constexpr size_t kFontKeywordLength = 2;
constexpr wchar_t kDefaultFontSize[] = L"36";

const std::wstring& At(const std::vector<std::wstring>& list, size_t index) {
  static const std::wstring kEmpty;
  return index < list.size() ? list[index] : kEmpty;
}

}  // namespace

bool CZPLParser::FieldOrigin(const std::wstring& command) {
  static const ParameterRule rule{
      2, {L"0", L"0"}, {{0}, {1}}, L"Incorrect Number of Parameters for FIELD ORIGIN"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    originX_ = params[0];
    originY_ = params[1];
    fieldState_ = ORIGIN_SET;
  }
  return true;
}

// Even a rejected font becomes the pending font: the field's data still shows.
bool CZPLParser::Font(const std::wstring& command) {
  data_->fontType = L"FREEFORM";
  const ParameterRule rule{3,
                           {data_->font, data_->fontHeight, data_->fontWidth},
                           {{1}, {2}},
                           L"Incorrect Number of Parameters for SCALABLE/BITMAPPED FONT"};
  ReadParameters(ParameterText(command, kFontKeywordLength), rule, pendingFont_);
  pendingObject_ = PENDING_TEXT;
  return true;
}

bool CZPLParser::FieldData(const std::wstring& command) {
  const std::wstring data = platform::Trim(ParameterText(command, kKeywordLength));
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
    AppendBarcode(data);
  }
  fieldState_ = DATA_GIVEN;
  pendingObject_ = PENDING_NONE;
  return true;
}

void CZPLParser::AppendText(const std::wstring& data) {
  data_->ResetText();
  const std::wstring& face = At(pendingFont_, 0);
  data_->fontName = data_->FontNameFor(std::wstring_view(face).substr(0, 1));
  data_->rotation = ZplOrientationDegrees(face.size() > 1 ? platform::ToUpperChar(face[1]) : L'\0');
  // The font's width and height are the text's box.
  using P = record::TextParam;
  record::RecordWriter text(TEXT, P::kRequired);
  text.Set(P::kText, data)
      .Set(P::kX, originX_)
      .Set(P::kY, originY_)
      .Set(P::kWidth, At(pendingFont_, 2))
      .Set(P::kHeight, At(pendingFont_, 1))
      .Set(P::kFontSize, FontSizeInPoints(At(pendingFont_, 1)));
  WriteTextAttributes(text);
  AddCommand(text.Take());
  pendingFont_.clear();
}

// The font's height is in dots; the text record wants points at this
// printer's resolution, so a 30-dot font does not print half an inch tall.
std::wstring CZPLParser::FontSizeInPoints(const std::wstring& heightInDots) const {
  const int64_t dots = platform::LeadingInt(heightInDots);
  if (dots <= 0) return kDefaultFontSize;
  const int64_t dpi = GetParserDPI();
  const int64_t points = (dots * 72 + dpi / 2) / dpi;
  return platform::IntToWide(std::max<int64_t>(points, 1));
}

namespace {

// A QR field's data opens with its switches: the error correction level
// (H, Q, M or L), an optional input mode, and a comma ("QA,https://..."). They
// are not part of the symbol's content; kept, they made every such field
// fail the data check (the comma) or encode the wrong text.
std::wstring QrContent(const std::wstring& data) {
  const size_t comma = data.find(L',');
  if (comma == std::wstring::npos || comma == 0 || comma > 3) return data;
  if (std::wstring(L"HQML").find(platform::ToUpperChar(data[0])) == std::wstring::npos) {
    return data;
  }
  return data.substr(comma + 1);
}

}  // namespace

// "^BY" gives the narrow bar in dots, the session reads the density in
// thousandths of an inch: without this a "^BY2" barcode printed three times
// too wide at 300 dpi. "0" (no "^BY" yet) is passed on for the session's default.
std::wstring CZPLParser::DensityInMils(const std::wstring& moduleInDots) const {
  const int64_t dots = platform::LeadingInt(moduleInDots);
  if (dots <= 0) return moduleInDots;
  const int64_t dpi = GetParserDPI();
  return platform::IntToWide((dots * 1000 + dpi / 2) / dpi);
}

void CZPLParser::AppendBarcode(const std::wstring& fieldData) {
  const std::vector<std::wstring>& p = pendingBarcode_;
  const std::wstring data = barcodeTypeName_ == L"QRCode" ? QrContent(fieldData) : fieldData;
  std::wstring type = barcodeTypeName_;
  if (type == L"UPCE2" && data.size() > 13) type = L"UPCE5";
  std::wstring size = At(p, 1);
  if (type == L"Aztec") {
    size = L"600";
  } else if (type == L"MSI Plessey") {
    size = At(p, 2);
  } else if (type == L"QRCode") {
    size = L"300";
  }
  const std::wstring& orientation = At(p, 0);
  using P = record::BarcodeParam;
  record::RecordWriter barcode(BARCODE, P::kRequired);
  barcode.Set(P::kType, type)
      .Set(P::kData, data)
      .Set(P::kX, originX_)
      .Set(P::kY, originY_)
      .Set(P::kHeight, size)
      .Set(P::kRotation, ZplOrientationDegrees(orientation.size() == 1 ? orientation[0] : L'\0'))
      .SetFlag(P::kHumanReadable, At(p, 2) == L"Y")
      .Set(P::kHumanReadableTop, At(p, 3) == L"Y" ? L"TOP" : L"BOTTOM")
      .Set(P::kDensity, DensityInMils(data_->density))
      .Set(P::kRatio, data_->ratio)
      .SetFlag(P::kCheckCharacter, At(p, 4) == L"Y");
  // A module of n dots prints n dots: the density alone, rounded to the
  // session's steps, printed "^BY1", "^BY3" and "^BY5" two, four and six wide.
  const int64_t module = platform::LeadingInt(data_->density);
  if (module > 0) barcode.Set(P::kModuleDots, std::min<int64_t>(module, 1000));
  AddCommand(barcode.Take());
}
