// Object records: the header tells text (a font digit), barcodes (a barcode
// letter) and hot shapes ("X") apart. Text is here; barcodes are in
// DPLBarcodes.cpp and hot shapes in DPLHotShapes.cpp.

#include <algorithm>

#include "parsers/dpl/DPLParser.h"
#include "platform/Text.h"

namespace {

using record::TextParam;

constexpr const wchar_t* kRotations[] = {L"0", L"90", L"180", L"270"};

}  // namespace

bool DPLParser::HandleObjectCreation(const std::wstring& line) {
  const dpl::ObjectHeader header = dpl::ReadObjectHeader(line);
  if (header.rotation < L'1' || header.rotation > L'4') return false;
  data_->rotation = kRotations[header.rotation - L'1'];
  if (header.kind == L'X') {
    ParseHotShape(header);
  } else if (isBarcode(header)) {
    GenerateBarcodeCommand();
  } else if (isText(header)) {
    ParseTextCommand(header);
    GenerateTextCommand();
  } else {
    return false;
  }
  return true;
}

bool DPLParser::isText(const dpl::ObjectHeader& header) {
  return header.kind >= L'0' && header.kind <= L'9';
}

// The font is always Arial; the size is in points, and the height the
// session wants is dots at this printer's resolution.
void DPLParser::ParseTextCommand(const dpl::ObjectHeader& header) {
  const int64_t multiplier = std::max<int64_t>(1, dpl::FieldValue(header.narrow));
  int64_t height = multiplier * TextHeightDots(dpl::FieldValue(header.size));
  data_->positionY = header.row;
  data_->positionX = header.column;
  std::wstring_view rest = header.rest;
  // Only "P" and three digits is a point size; other text starting with "P"
  // is the text itself.
  if (rest.starts_with(L'P') && dpl::StartsWithDigits(rest.substr(1), 3)) {
    height = TextHeightDots(dpl::FieldValue(rest.substr(1, 3)));
    rest.remove_prefix(4);
    if (rest.starts_with(L'P') && dpl::StartsWithDigits(rest.substr(1), 3)) rest.remove_prefix(4);
  }
  data_->height = platform::IntToWide(height);
  data_->objectData = rest;
}

int64_t DPLParser::TextHeightDots(int64_t points) const { return points * GetParserDPI() / 72; }

void DPLParser::GenerateTextCommand() {
  const TPLData& d = *data_;
  std::wstring width = d.width;
  ConvertUnitsToDots(width);
  record::RecordWriter text(TEXT, TextParam::kRequired);
  WriteTextAttributes(text);  // the styles; DPL's face and sizing follow
  text.Set(TextParam::kText, d.objectData)
      .Set(TextParam::kX, Dots(d.positionX))
      .Set(TextParam::kY, Dots(d.positionY))
      .Set(TextParam::kWidth, width)
      .Set(TextParam::kHeight, d.height)
      .Set(TextParam::kFontName, L"ARIAL")
      .Set(TextParam::kSizing, L"FREEFORM")
      .Set(TextParam::kFontSize, d.fontSize);
  Add(text);
  data_->ResetAll();
}
