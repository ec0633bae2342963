// How the full dialect writes a field when it is separated: first the
// objects it draws, then a text field's TEXT record (SEQUENCE_TEXT for "^SN")
// with the typeset positions the device dialect never writes, or its
// barcode's BARCODE record.

#include <algorithm>

#include "parsers/zpl/ZPLEncoding.h"
#include "parsers/zpl/ZPLFonts.h"
#include "parsers/zpl/ZPLOrientation.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "parsers/zpl/full/ZPLPlacement.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

using record::TextParam;

// A serial start such as "BOX0041-A": the last run of digits counts, what
// stands before and after it is kept.
struct SerialParts {
  std::wstring prefix, digits, postfix;
};

SerialParts SplitSerial(const std::wstring& start, bool leadingZeros) {
  SerialParts parts;
  const size_t last = start.find_last_of(L"0123456789");
  if (last == std::wstring::npos) {
    parts.prefix = start;
    return parts;
  }
  size_t first = last;
  while (first > 0 && start[first - 1] >= L'0' && start[first - 1] <= L'9') --first;
  parts.prefix = start.substr(0, first);
  parts.digits = start.substr(first, last - first + 1);
  parts.postfix = start.substr(last + 1);
  if (!leadingZeros) {
    const size_t nonZero = parts.digits.find_first_not_of(L'0');
    parts.digits = nonZero == std::wstring::npos ? L"0" : parts.digits.substr(nonZero);
  }
  return parts;
}

std::wstring Dots(int64_t value) { return platform::IntToWide(value); }

}  // namespace

void ZPLFullParser::EmitField() {
  WriteObjects();
  if (NumberedField()) {
    // The data of a stored format's field: kept, not printed.
  } else if (field_.objectCommand) {
    if (fieldBarcode_ != FieldBarcode::kNone && field_.hasData) EmitBarcode();
  } else if (field_.hasData || field_.serial) {
    if (field_.hasOrigin) {
      EmitText();
    } else {
      ReportError(L"NO FIELD ORIGIN DEFINED, FIELD SKIPPED: ^FD" + ShortCommand(field_.data));
    }
  }
  field_.hasData = field_.serial = field_.objectCommand = false;
  field_.fieldNumber = 0;
  fieldBarcode_ = FieldBarcode::kNone;
}

// The field's characters: hex escapes first (they name bytes), then the
// character set, then the block's line breaks.
std::wstring ZPLFullParser::FieldText() const {
  std::wstring bytes = field_.serial ? field_.serialStart : field_.data;
  if (field_.hex) bytes = DecodeZplHex(bytes, field_.hexIndicator);
  std::wstring text = DecodeZplText(bytes, data_->full.encoding);
  if (field_.symbol) {
    // The approval marks D and E have no character to print them with.
    std::wstring symbols;
    for (wchar_t c : text) {
      if (c == L'A') symbols.push_back(0x00AE);  // registered
      if (c == L'B') symbols.push_back(0x00A9);  // copyright
      if (c == L'C') symbols.push_back(0x2122);  // trade mark
      if (c == L' ') symbols.push_back(c);
    }
    text = symbols;
  }
  return field_.block ? ZplBlockText(text) : text;
}

void ZPLFullParser::EmitText() {
  const ZPLFullSettings& full = data_->full;
  std::wstring font = field_.hasFont && !field_.font.empty() ? field_.font : full.font;
  std::wstring height = field_.hasFont ? field_.height : full.fontHeight;
  std::wstring width = field_.hasFont ? field_.width : full.fontWidth;
  if (field_.hasFont && height.empty() && width.empty()) {
    height = full.fontHeight;
    width = full.fontWidth;
  }
  const wchar_t letter = font.empty() ? L'0' : font[0];
  ZPLFontCell cell;
  if (field_.symbol) {
    cell = ZplSymbolFontCell(height, width);
  } else if (letter == L'@' && !field_.fontFile.empty()) {
    cell = ZplFontFileCell(field_.fontFile, height, width);
  } else if (auto alias = full.fontAliases.find(letter); alias != full.fontAliases.end()) {
    cell = ZplFontFileCell(alias->second, height, width);
  } else {
    // A font the printer does not have prints in the default font, or in
    // font 0 when that is not one of the printer's either.
    wchar_t known = letter;
    if (!IsZplPrinterFont(known)) known = full.font.empty() ? L'0' : full.font[0];
    if (!IsZplPrinterFont(known)) known = L'0';
    cell = ZplPrinterFontCell(known, height, width, GetParserDPI());
  }

  const int32_t justification =
      field_.justification >= 0 ? field_.justification : full.justification;
  const wchar_t orientation = field_.orientation != 0 ? field_.orientation : full.orientation;
  const std::wstring blockJustify(1, field_.block ? field_.blockJustify : L'L');
  const int64_t dpi = std::max(1, GetParserDPI());

  const std::wstring text = cell.capitalsOnly ? platform::ToUpper(FieldText()) : FieldText();
  const ZPLPlacement at = PlaceZplObject(field_, ZPLObjectKind::kText);
  // The approval marks hang from the cell's top in the symbol font's pitch;
  // where a field without coordinates lands is known only when printed.
  if (field_.symbol && field_.origin != ZPLFullField::Origin::kFollow &&
      std::wstring_view(ZplOrientationDegrees(orientation)) == L"0") {
    const int64_t top = field_.origin == ZPLFullField::Origin::kTop ? at.y : at.y - cell.baseline;
    EmitApprovalMarks(DecodedData(), at.x, top, cell.cellHeight);
  }
  const SerialParts serial = SplitSerial(text, field_.serialLeadingZeros);
  const bool sequenced = field_.serial && !serial.digits.empty();

  record::RecordWriter r(sequenced ? SEQUENCE_TEXT : TEXT, TextParam::kTypeset);
  r.Set(TextParam::kText, sequenced ? serial.prefix + serial.digits + serial.postfix : text)
      .Set(TextParam::kX, Dots(at.x))
      .Set(TextParam::kY, Dots(at.y))
      .Set(TextParam::kWidth, Dots(field_.block ? field_.blockWidth : 0))
      .Set(TextParam::kHeight, Dots(cell.cellHeight))
      .Set(TextParam::kFontName, cell.face)
      .Set(TextParam::kSizing, L"FREEFORM")
      .Set(TextParam::kFontSize, Dots(std::max<int64_t>(1, (cell.cellHeight * 72 + dpi / 2) / dpi)))
      .Set(TextParam::kJustification, blockJustify == L"J" ? L"L" : blockJustify)
      .Set(TextParam::kRotation, ZplOrientationDegrees(orientation))
      .SetFlag(TextParam::kBoxDrawn, false)
      .Set(TextParam::kBoxThickness, L"1")
      .SetFlag(TextParam::kBold, cell.bold)
      .SetFlag(TextParam::kItalic, false)
      .SetFlag(TextParam::kUnderline, false)
      .SetFlag(TextParam::kReverse, false)
      .SetFlag(TextParam::kVertical, false)
      .Set(TextParam::kCellHeight, Dots(cell.cellHeight))
      .Set(TextParam::kCapHeight, cell.capHeight > 0 ? Dots(cell.capHeight) : L"")
      .Set(TextParam::kBaseline, cell.baseline > 0 ? Dots(cell.baseline) : L"")
      .Set(TextParam::kAdvance, cell.advance > 0 ? Dots(cell.advance) : L"")
      .Set(TextParam::kWidthPercent, Dots(cell.widthPercent))
      .Set(TextParam::kBlockWidth, Dots(field_.block ? field_.blockWidth : 0))
      .Set(TextParam::kBlockLines, Dots(field_.block ? field_.blockLines : 1))
      .Set(TextParam::kBlockSpacing, Dots(field_.block ? field_.blockSpacing : 0))
      .Set(TextParam::kBlockJustify, blockJustify)
      .Set(TextParam::kHangingIndent, Dots(field_.block ? field_.hangingIndent : 0))
      .SetFlag(TextParam::kReverseBelow, field_.reverse || full.labelReverse)
      .Set(TextParam::kOriginKind, std::wstring(at.originKind))
      .Set(TextParam::kOriginJustify, justification == 1 ? L"R" : L"L");
  formatPrints_ = true;
  if (!sequenced) {
    Append(r.Take());
    return;
  }
  // The label count is the format's "^PQ", known when the format ends.
  r.Set(TextParam::kSourceText, serial.digits)
      .Set(TextParam::kIncrement, Dots(field_.serialIncrement))
      .Set(TextParam::kPrefix, serial.prefix)
      .Set(TextParam::kPostfix, serial.postfix);
  WriteSerial(std::move(r));
}

// The field's data: hex escapes first (they name bytes), then the character
// set.
std::wstring ZPLFullParser::DecodedData() const {
  const std::wstring bytes =
      field_.hex ? DecodeZplHex(field_.data, field_.hexIndicator) : field_.data;
  return DecodeZplText(bytes, data_->full.encoding);
}
