#include "parsers/tpl/TPLData.h"

TPLData::TPLData() { ResetAll(); }

TPLData::~TPLData() = default;

void TPLData::ResetAll() {
  ResetArrow();
  ResetLine();
  ResetShape();
  ResetGraphic();
  ResetText();
  ResetBarcode();
  matchRibbon.clear();
  matchTape.clear();
}

void TPLData::ResetShape() {
  objectType.clear();
  positionX = positionY = width = height = L"0";
  roundedCorners = L"0";
  lineThickness = L"1";
  shapeExtra = L"0";
  fill = L"NONE";
  rotation = L"0";
}

// A picture is printed reversed only when its own block asks for it, never
// because an earlier text was.
void TPLData::ResetGraphic() {
  ResetShape();
  reverse = L"F";
}

void TPLData::ResetLine() {
  startX = startY = endX = endY = L"0";
  lineThickness = L"1";
}

void TPLData::ResetText() {
  objectData.clear();
  fontName = L"Arial";
  positionX = positionY = width = height = L"0";
  fontType = L"FREEFORM";
  fontSize = L"0";
  justification = L"C";
  rotation = L"0";
  textExtra.clear();
  boundingBox = L"F";
  lineThickness = L"1";
  bold = underline = italic = reverse = vertical = L"F";
  promptText.clear();
  ResetSerial();
  imageName.clear();
}

void TPLData::ResetArrow() {
  objectType.clear();
  positionX = positionY = width = height = L"0";
  rotation = L"0";
  lineThickness = L"1";
  fill = L"NONE";
  degreesOfArc = L"0";
  roundedCorners = L"0";
  arrowHeadLength = arrowHeadOverhang = arrowStemWidth = L"0";
}

void TPLData::ResetBarcode() {
  objectType.clear();
  objectData.clear();
  positionX = positionY = L"0";
  height = L"0";
  rotation = L"0";
  humanReadable = L"F";
  humanReadableLocation = L"BOTTOM";
  density = L"0";
  ratio = L"0";
  checkCharacter = L"F";
  promptText.clear();
  ResetSerial();
}

void TPLData::ApplyFreeformDefaults() {
  fontType = L"FREEFORM";
  fontSize = L"36";
  width = height = L"75";
}

void TPLData::ResetSerial() {
  serialStart = L"0";
  serialIncrement = L"1";
  serialCount = L"1";
  serialPrefix.clear();
  serialSuffix.clear();
}
