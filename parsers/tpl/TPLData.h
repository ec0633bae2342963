#pragma once
// The record of current values shared by the TPL, XTPL and DPL parsers. The
// parser factory owns one and hands it to every such parser; each parser
// resets the object fields when it starts, while the label-level fields
// (copies to units, and the match values until the next ResetAll) are touched
// by no object reset and so carry over from label to label and job to job.
// labelLength, labelHeight, offsetX and offsetY hold printer dots, whichever
// parser wrote them, so a job that reuses a value an earlier job set in other
// units (or another language) gets the same length.

#include <string>

#include "parsers/ScriptData.h"

class TPLData : public ScriptData {
 public:
  TPLData();
  ~TPLData() override;

  TPLData(const TPLData&) = default;
  TPLData& operator=(const TPLData&) = default;

  // Every object group, then the ribbon and tape match values.
  void ResetAll() override;
  void ResetShape() override;
  // A picture block starts from the shape defaults, not reversed; it keeps
  // imageName, so a block without IMAGENAME places the previous picture again.
  void ResetGraphic() override;
  void ResetLine() override;
  void ResetText() override;
  virtual void ResetArrow();
  virtual void ResetBarcode();
  // The sizing a text falls back to when its font type is missing or bad.
  virtual void ApplyFreeformDefaults();

  // Arrow and prompt fields only these three languages use.
  std::wstring degreesOfArc;
  std::wstring arrowHeadLength;
  std::wstring arrowHeadOverhang;
  std::wstring arrowStemWidth;
  std::wstring promptText;

 private:
  void ResetSerial();
};
