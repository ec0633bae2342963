#pragma once
// The record of current attribute values a parser fills while it reads a job
// and copies into the parameters of the records it makes. Every field is text
// stored as the script gave it. The concrete records (TPLData, ZPLData,
// JPLData) are owned by the parser factory and outlive the parsers, so
// label-level fields, which no reset touches, carry over from job to job.

#include <initializer_list>
#include <string>

class ScriptData {
 public:
  virtual ~ScriptData() = default;

  virtual void ResetAll() = 0;      // every object group
  virtual void ResetShape() = 0;    // shape fields to the language's defaults
  virtual void ResetGraphic() = 0;  // picture fields
  virtual void ResetLine() = 0;     // line fields
  virtual void ResetText() = 0;     // text fields

 protected:
  // Empties the shape and line fields: the resets of languages whose shapes
  // and lines have no defaults of their own.
  void ClearShapeFields() {
    for (std::wstring* field : {&objectType, &positionX, &positionY, &width, &height, &shapeExtra,
                                &roundedCorners, &fill}) {
      field->clear();
    }
  }
  void ClearLineFields() {
    for (std::wstring* field : {&startX, &startY, &endX, &endY}) field->clear();
  }

 public:
  // Object fields.
  std::wstring objectType;  // barcode, shape or arrow type
  std::wstring positionX;
  std::wstring positionY;
  std::wstring width;
  std::wstring height;
  std::wstring lineThickness;
  std::wstring shapeExtra;
  std::wstring roundedCorners;
  std::wstring fill;
  std::wstring rotation;
  std::wstring boundingBox;
  std::wstring bold;
  std::wstring underline;
  std::wstring italic;
  std::wstring reverse;
  std::wstring vertical;
  std::wstring humanReadable;
  std::wstring humanReadableLocation;
  std::wstring density;
  std::wstring ratio;
  std::wstring checkCharacter;
  std::wstring startX;
  std::wstring startY;
  std::wstring endX;
  std::wstring endY;
  std::wstring objectData;  // text content or barcode data
  std::wstring fontName;
  std::wstring fontType;  // "AUTOSIZE", "FREEFORM" or "MANUAL"
  std::wstring fontSize;
  std::wstring textExtra;
  std::wstring justification;  // "L", "R" or "C"

  // Label-level fields.
  std::wstring copies;
  std::wstring labelLength;
  std::wstring labelHeight;
  std::wstring labelRotation;
  std::wstring cuttingOption;
  std::wstring labelOrientation;
  std::wstring offsetX;
  std::wstring offsetY;
  std::wstring printSpeed;
  std::wstring printDensity;
  std::wstring units;

  // Data sources and the remaining object fields.
  std::wstring serialStart;
  std::wstring serialIncrement;
  std::wstring serialCount;
  std::wstring serialPrefix;
  std::wstring serialSuffix;
  std::wstring dateTimeFormat;
  std::wstring imageName;
  std::wstring matchRibbon;
  std::wstring matchTape;

 protected:
  ScriptData() = default;
  ScriptData(const ScriptData&) = default;
  ScriptData& operator=(const ScriptData&) = default;
};
