// The full dialect's field commands. Each one adds to the field being built
// (ZPLFullField); "^FS" writes it. A field without an origin, or with a
// malformed command, is logged and skipped: the rest of the label prints.

#include <algorithm>

#include "parsers/zpl/ZPLOrientation.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "platform/Text.h"

using zpl::IsNumeric;
using zpl::SplitParameters;

namespace {

// A coordinate read as a printer reads it: from its first digit (with a
// "-" just before it), stray characters before it skipped; the whole dots
// count. Empty when it holds no digit: the default applies.
std::wstring LenientCoordinate(const std::wstring& text) {
  const size_t digit = text.find_first_of(L"0123456789");
  if (digit == std::wstring::npos) return {};
  const size_t from = digit > 0 && text[digit - 1] == L'-' ? digit - 1 : digit;
  return platform::IntToWide(platform::LeadingInt(text.substr(from)));
}

}  // namespace

bool ZPLFullParser::FieldOrigin(const ZPLCommand& command) {
  return SetOrigin(command, ZPLFullField::Origin::kTop);
}

bool ZPLFullParser::FieldTypeset(const ZPLCommand& command) {
  return SetOrigin(command, ZPLFullField::Origin::kBaseline);
}

// x,y,justification; coordinates may carry decimals (the printer keeps the
// whole dots) and stray characters (a malformed number never costs the
// field). "^FT" without coordinates continues after the last text.
bool ZPLFullParser::SetOrigin(const ZPLCommand& command, ZPLFullField::Origin origin) {
  std::vector<std::wstring> p;
  SplitParameters(command.parameters, p);
  if (p.size() > 3) {
    ReportError(std::wstring(L"Incorrect Number of Parameters for ") +
                (origin == ZPLFullField::Origin::kTop ? L"FIELD ORIGIN" : L"FIELD TYPESET"));
    return true;
  }
  p.resize(3);
  for (std::wstring& coordinate : p) coordinate = LenientCoordinate(coordinate);
  // A new origin after a field's data separates the field before it.
  if (field_.hasData || field_.serial || field_.objectCommand) FieldSeparator(command);

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
  if (origin == ZPLFullField::Origin::kBaseline) lastFtX_ = x, lastFtY_ = y;
  return true;
}

// "^A" font orientation,height,width[,font file for "@"]: the font of this
// field only.
bool ZPLFullParser::Font(const ZPLCommand& command) {
  const std::wstring_view text = command.parameters;
  const size_t comma = text.find(L',');
  const std::wstring_view head = text.substr(0, comma);
  std::vector<std::wstring> p;
  if (comma != std::wstring_view::npos) SplitParameters(text.substr(comma + 1), p);
  p.resize(std::max<size_t>(p.size(), 3));
  if (p.size() > 3 || !IsNumeric(p[0], true) || !IsNumeric(p[1], true)) {
    ReportBadParameters(L"SCALABLE/BITMAPPED FONT", command);
    return true;
  }
  field_.hasFont = true;
  field_.font = head.empty() ? std::wstring() : std::wstring(1, platform::ToUpperChar(head[0]));
  field_.orientation = 0;
  if (head.size() > 1 && IsZplOrientation(platform::ToUpperChar(head[1]))) {
    field_.orientation = platform::ToUpperChar(head[1]);
  }
  field_.height = p[0];
  field_.width = p[1];
  field_.fontFile = p[2];
  field_.symbol = false;
  return true;
}

// "^GS" orientation,height,width: a symbol field in the scalable font.
bool ZPLFullParser::SymbolFont(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  SplitParameters(command.parameters, p);
  p.resize(std::max<size_t>(p.size(), 3));
  const wchar_t orientation = p[0].empty() ? 0 : platform::ToUpperChar(p[0][0]);
  if (p.size() > 3 || (orientation != 0 && !IsZplOrientation(orientation)) ||
      !IsNumeric(p[1], true) || !IsNumeric(p[2], true)) {
    ReportBadParameters(L"GRAPHIC SYMBOL", command);
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
bool ZPLFullParser::FieldData(const ZPLCommand& command) {
  field_.hasData = true;
  field_.data = std::wstring(command.parameters);
  return true;
}

bool ZPLFullParser::FieldSeparator(const ZPLCommand&) {
  EmitField();
  field_ = ZPLFullField{};
  return true;
}

bool ZPLFullParser::FieldHex(const ZPLCommand& command) {
  field_.hex = true;
  field_.hexIndicator = command.parameters.empty() ? L'_' : command.parameters[0];
  return true;
}

// "^FR" reverses what the field draws; the object just before it too.
bool ZPLFullParser::FieldReverse(const ZPLCommand&) {
  field_.reverse = true;
  if (!objects_.empty()) objects_.back().reversed = true;
  return true;
}

// "^SN" start,increment,leading zeros: the field counts from label to label.
bool ZPLFullParser::SerialNumber(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  SplitParameters(command.parameters, p);
  p.resize(std::max<size_t>(p.size(), 3));
  if (p.size() > 3 || !IsNumeric(p[1], false)) {
    ReportBadParameters(L"SERIALIZATION DATA", command);
    return true;
  }
  field_.serial = true;
  field_.serialStart = p[0];
  field_.serialIncrement = p[1].empty() ? 1 : platform::LeadingInt(p[1]);
  field_.serialLeadingZeros = platform::ToUpper(p[2]) == L"Y";
  return true;
}

// "^FW" orientation,justification: the default of later fields and barcodes.
bool ZPLFullParser::FieldOrientation(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  SplitParameters(command.parameters, p);
  p.resize(std::max<size_t>(p.size(), 2));
  const wchar_t orientation =
      p[0].empty() ? data_->full.orientation : platform::ToUpperChar(p[0][0]);
  if (p.size() > 2 || !IsZplOrientation(orientation) || !IsNumeric(p[1], false)) {
    ReportBadParameters(L"Field Orientation", command);
    return true;
  }
  data_->full.orientation = orientation;
  if (!p[1].empty()) data_->full.justification = std::clamp(platform::LeadingInt(p[1]), 0, 2);
  return true;
}

bool ZPLFullParser::ClaimField(const ZPLCommand& command) {
  field_.objectCommand = true;
  if (field_.hasOrigin) return true;
  ReportError(L"NO FIELD ORIGIN DEFINED, FIELD SKIPPED: " + ShortCommand(command.text));
  return false;
}
