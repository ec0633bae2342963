#include "parsers/jpl/JPLData.h"

// Barcode density, ratio and check character are set once here and then only
// by barcode lines: they belong to no object group, so no reset touches them.
JPLData::JPLData() {
  density = L"10";
  ratio = L"3.0";
  checkCharacter = L"F";
  ResetAll();
}

void JPLData::ResetAll() {
  ResetShape();
  ResetGraphic();
  ResetLine();
  ResetText();
}

// The language reads no shape or line fields; they are kept empty so that
// nothing stale can leak into a record.
void JPLData::ResetShape() { ClearShapeFields(); }

void JPLData::ResetGraphic() { imageName.clear(); }

void JPLData::ResetLine() { ClearLineFields(); }

// Every text of this language is free-form Arial, left-justified, without a
// box; the style letters of a line set the flags again after this reset.
void JPLData::ResetText() {
  fontName = L"Arial";
  fontType = L"FREEFORM";
  justification = L"L";
  boundingBox = L"F";
  lineThickness = L"1";
  bold = L"F";
  italic = L"F";
  underline = L"F";
  reverse = L"F";
  vertical = L"F";
}
