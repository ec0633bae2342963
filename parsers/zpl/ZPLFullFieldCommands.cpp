// The full dialect's field commands. Each one adds to the field being built
// (ZPLFullField); "^FS" emits it. A field without an origin, or with a
// malformed command, is logged and skipped: the rest of the label prints.

#include <algorithm>

#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"

namespace {

constexpr size_t kKeywordLength = 3;
constexpr size_t kFontKeywordLength = 2;

bool IsOrientation(wchar_t c) { return c == L'N' || c == L'R' || c == L'I' || c == L'B'; }

// The graphic box's height as "^GB" width,height,thickness gives it: never
// less than its border.
int64_t BoxHeight(std::wstring_view parameters) {
  std::vector<std::wstring> p;
  CZPLParser::SplitParameters(parameters, p);
  p.resize(std::max<size_t>(p.size(), 3));
  const int64_t height = p[1].empty() ? 1 : platform::LeadingInt(p[1]);
  const int64_t thickness = p[2].empty() ? 1 : platform::LeadingInt(p[2]);
  return std::max(height, thickness);
}

}  // namespace

bool CZPLParser::FullFieldOrigin(const std::wstring& command) {
  return FullSetOrigin(command, ZPLFullField::Origin::kTop);
}

bool CZPLParser::FullFieldTypeset(const std::wstring& command) {
  return FullSetOrigin(command, ZPLFullField::Origin::kBaseline);
}

// x,y,justification; coordinates may carry decimals (the printer keeps the
// whole dots). "^FT" without coordinates continues after the last text.
bool CZPLParser::FullSetOrigin(const std::wstring& command, ZPLFullField::Origin origin) {
  std::vector<std::wstring> p;
  const std::wstring_view name =
      origin == ZPLFullField::Origin::kTop ? L"FIELD ORIGIN" : L"FIELD TYPESET";
  if (!FullNumbers(command, kKeywordLength, 3, name, p)) return true;
  p.resize(3);
  // A new origin after a field's data separates the field before it.
  if (field_.hasData || field_.serial || field_.objectCommand) FullFieldSeparator(command);

  const ZPLFullSettings& full = data_->full;
  const bool follow = origin == ZPLFullField::Origin::kBaseline && p[0].empty() && p[1].empty();
  int64_t x = lastFtX_, y = lastFtY_;
  if (!follow) {
    x = full.homeX + (p[0].empty() ? 0 : platform::LeadingInt(p[0])) - full.shift;
    y = full.homeY + (p[1].empty() ? 0 : platform::LeadingInt(p[1])) + full.top;
  }
  field_.hasOrigin = true;
  field_.origin = follow ? ZPLFullField::Origin::kFollow : origin;
  field_.x = x;
  field_.y = y;
  field_.justification = p[2].empty() ? -1 : std::clamp(platform::LeadingInt(p[2]), 0, 2);
  originX_ = platform::IntToWide(x);
  originY_ = platform::IntToWide(y);
  if (origin == ZPLFullField::Origin::kBaseline) lastFtX_ = x, lastFtY_ = y;
  fieldState_ = ORIGIN_SET;
  return true;
}

// "^A" font orientation,height,width[,font file for "@"]: the font of this
// field only.
bool CZPLParser::FullFont(const std::wstring& command) {
  const std::wstring_view text = ParameterText(command, kFontKeywordLength);
  const size_t comma = text.find(L',');
  const std::wstring_view head = text.substr(0, comma);
  std::vector<std::wstring> p;
  if (comma != std::wstring_view::npos) SplitParameters(text.substr(comma + 1), p);
  p.resize(std::max<size_t>(p.size(), 3));
  if (p.size() > 3 || !IsNumeric(p[0], true) || !IsNumeric(p[1], true)) {
    FullReportBadParameters(L"SCALABLE/BITMAPPED FONT", command);
    return true;
  }
  field_.hasFont = true;
  field_.font = head.empty() ? std::wstring() : std::wstring(1, platform::ToUpperChar(head[0]));
  field_.orientation = 0;
  if (head.size() > 1 && IsOrientation(platform::ToUpperChar(head[1]))) {
    field_.orientation = platform::ToUpperChar(head[1]);
  }
  field_.height = p[0];
  field_.width = p[1];
  field_.fontFile = p[2];
  field_.symbol = false;
  return true;
}

// "^GS" orientation,height,width: a symbol field in the scalable font.
bool CZPLParser::FullSymbolFont(const std::wstring& command) {
  std::vector<std::wstring> p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  p.resize(std::max<size_t>(p.size(), 3));
  const wchar_t orientation = p[0].empty() ? 0 : platform::ToUpperChar(p[0][0]);
  if (p.size() > 3 || (orientation != 0 && !IsOrientation(orientation)) || !IsNumeric(p[1], true) ||
      !IsNumeric(p[2], true)) {
    FullReportBadParameters(L"GRAPHIC SYMBOL", command);
    return true;
  }
  field_.hasFont = field_.symbol = true;
  field_.font = L"0";
  field_.orientation = orientation;
  field_.height = p[1];
  field_.width = p[2];
  return true;
}

// The data as written, spaces included: a full printer prints them.
bool CZPLParser::FullFieldData(const std::wstring& command) {
  field_.hasData = true;
  field_.data = std::wstring(ParameterText(command, kKeywordLength));
  return true;
}

bool CZPLParser::FullFieldSeparator(const std::wstring&) {
  FullEmitField();
  field_ = ZPLFullField{};
  fieldState_ = NO_ORIGIN;
  pendingObject_ = PENDING_NONE;
  return true;
}

bool CZPLParser::FullFieldHex(const std::wstring& command) {
  const std::wstring_view text = ParameterText(command, kKeywordLength);
  field_.hex = true;
  field_.hexIndicator = text.empty() ? L'_' : text[0];
  return true;
}

bool CZPLParser::FullFieldReverse(const std::wstring&) {
  field_.reverse = true;
  FullReverseShape();
  return true;
}

// "^SN" start,increment,leading zeros: the field counts from label to label.
bool CZPLParser::FullSerialNumber(const std::wstring& command) {
  std::vector<std::wstring> p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  p.resize(std::max<size_t>(p.size(), 3));
  if (p.size() > 3 || !IsNumeric(p[1], false)) {
    FullReportBadParameters(L"SERIALIZATION DATA", command);
    return true;
  }
  field_.serial = true;
  field_.serialStart = p[0];
  field_.serialIncrement = p[1].empty() ? 1 : platform::LeadingInt(p[1]);
  field_.serialLeadingZeros = platform::ToUpper(p[2]) == L"Y";
  return true;
}

// "^FW" orientation,justification: the default of later fields and barcodes.
bool CZPLParser::FullFieldOrientation(const std::wstring& command) {
  std::vector<std::wstring> p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  p.resize(std::max<size_t>(p.size(), 2));
  const wchar_t orientation =
      p[0].empty() ? data_->full.orientation : platform::ToUpperChar(p[0][0]);
  if (p.size() > 2 || !IsOrientation(orientation) || !IsNumeric(p[1], false)) {
    FullReportBadParameters(L"Field Orientation", command);
    return true;
  }
  data_->full.orientation = orientation;
  data_->fieldOrientation = std::wstring(1, orientation);
  if (!p[1].empty()) data_->full.justification = std::clamp(platform::LeadingInt(p[1]), 0, 2);
  return true;
}

// A graphic or barcode command: the shared command does the work once the
// field has an origin. A baseline origin is the box's bottom-left corner.
bool CZPLParser::FullObject(const std::wstring& command) {
  if (!field_.hasOrigin) {
    ReportError(L"NO FIELD ORIGIN DEFINED, FIELD SKIPPED: " + ShortCommand(command));
    field_.objectCommand = true;
    return true;
  }
  const bool box = command.starts_with(L"^GB");
  if (box && field_.origin != ZPLFullField::Origin::kTop) {
    originY_ = platform::IntToWide(field_.y - BoxHeight(ParameterText(command, kKeywordLength)));
  }
  if (command.starts_with(L"^GD")) return FullDiagonalLine(command);
  const size_t before = commandList_.size();
  fullBarcodeSet_ = false;
  fieldState_ = ORIGIN_SET;   // a second object in one field replaces the first
  RunSharedCommand(command);  // a missing origin cannot stop the pass here
  field_.objectCommand = true;
  for (size_t i = before; i < commandList_.size(); ++i) {
    if (commandList_[i].kind == SCRIPT_ERROR) continue;
    formatPrints_ = true;
    if (commandList_[i].kind == SHAPE) {
      using Shape = record::ShapeParam;
      FullSetShapeInk(i, platform::ToUpper(commandList_[i].params[Shape::kUnused6]) == L"W");
    }
  }
  return true;
}
