#include "parsers/zpl/ZPLData.h"

#include "platform/Text.h"

namespace {
const std::wstring kDefaultFontName = L"Arial";
}  // namespace

ZPLData::ZPLData()
    : fontLetters_{
          {L"A", L"Arial"}, {L"B", L"Courier New"}, {L"C", L"Tahoma"}, {L"D", L"Times New Roman"}} {
  ResetAll();
}

void ZPLData::ResetAll() {
  density = L"0";
  ratio = L"0";
  labelLength.clear();  // the label-negative value
  ResetShape();
  ResetGraphic();
  ResetLine();
  ResetText();
  fieldOrientation = L"N";
  barcodeModuleWidth = L"2";
  barcodeRatio = L"3.0";
  barcodeHeight = L"600";
  font = L"A";
  fontHeight = L"9";
  fontWidth = L"5";
  full = ZPLFullSettings{};
}

// The language reads no shape, picture or line fields; they are kept empty so
// that nothing stale can leak into a record.
void ZPLData::ResetShape() { ClearShapeFields(); }

void ZPLData::ResetGraphic() { imageName.clear(); }

void ZPLData::ResetLine() { ClearLineFields(); }

void ZPLData::ResetText() {
  fontName = kDefaultFontName;
  fontType = L"FREEFORM";
  fontSize = L"36";
  justification = L"L";
  textExtra.clear();
  rotation = L"0";
  boundingBox = L"F";
  lineThickness = L"1";
  bold = L"F";
  italic = L"F";
  underline = L"F";
  vertical = L"F";
  reverse = L"F";
}

const std::wstring& ZPLData::FontNameFor(std::wstring_view letter) const {
  auto it = fontLetters_.find(platform::ToUpper(letter));
  return it == fontLetters_.end() ? kDefaultFontName : it->second;
}
