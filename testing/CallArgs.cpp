#include "testing/CallArgs.h"

#include <cwchar>

#include "platform/Text.h"

namespace callargs {
namespace {

// Builds "name=value name=value ...".
class Fields {
 public:
  template <typename T>
  Fields& Add(const wchar_t* name, const T& value) {
    if (!text_.empty()) text_ += L' ';
    text_ += name;
    text_ += L'=';
    text_ += Arg(value);
    return *this;
  }
  std::wstring Text() const { return text_; }

 private:
  std::wstring text_;
};

}  // namespace

std::wstring Arg(int32_t value) { return platform::IntToWide(value); }
std::wstring Arg(uint32_t value) { return platform::IntToWide(value); }
std::wstring Arg(bool value) { return value ? L"true" : L"false"; }

std::wstring Arg(double value) {
  wchar_t buffer[64];
  std::swprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), L"%g", value);
  return buffer;
}

std::wstring Arg(const std::wstring& value) { return value; }
std::wstring Arg(const wchar_t* value) { return value ? value : L"null"; }
std::wstring Arg(const void* pointer) { return pointer ? L"object" : L"null"; }

std::wstring Arg(const VPoint& p) { return L"(" + Arg(p.x) + L"," + Arg(p.y) + L")"; }

std::wstring Arg(const VRect& r) {
  return L"(" + Arg(r.left) + L"," + Arg(r.top) + L"," + Arg(r.right) + L"," + Arg(r.bottom) + L")";
}

std::wstring Arg(const VLabelData& d) {
  return Fields()
      .Add(L"width", d.widthInches)
      .Add(L"gap", d.gapInches)
      .Add(L"length", d.lengthInches)
      .Add(L"media", d.mediaType)
      .Add(L"fixed", d.lengthFixed)
      .Add(L"margin", d.leftMarginDots)
      .Add(L"across", d.labelsAcross)
      .Add(L"down", d.labelsDown)
      .Text();
}

std::wstring Arg(const VLabelOptions& o) {
  return Fields()
      .Add(L"feed", o.feedMode)
      .Add(L"tearOff", o.tearOffDots)
      .Add(L"cutter", o.cutterMode)
      .Add(L"negative", o.negative)
      .Add(L"pause", o.pauseEach)
      .Add(L"mirror", o.mirror)
      .Text();
}

std::wstring Arg(const VTextFormat& f) {
  return Fields()
      .Add(L"x", static_cast<double>(f.xInches))
      .Add(L"y", static_cast<double>(f.yInches))
      .Add(L"width", static_cast<double>(f.widthInches))
      .Add(L"height", static_cast<double>(f.heightInches))
      .Add(L"border", f.borderThickness)
      .Text();
}

std::wstring Arg(const VTextAlignment& a) {
  return Fields()
      .Add(L"boxBound", a.boxBound)
      .Add(L"justification", a.justification)
      .Add(L"verticalCentre", a.verticalCentre)
      .Add(L"reverse", a.reverse)
      .Add(L"autoSize", a.autoSize)
      .Add(L"vertical", a.vertical)
      .Add(L"wordWrap", a.wordWrap)
      .Text();
}

std::wstring Arg(const VBarcodeFormat& f) {
  return Fields()
      .Add(L"type", f.typeName)
      .Add(L"height", static_cast<double>(f.heightInches))
      .Add(L"density", f.densityMils)
      .Add(L"ratio", static_cast<double>(f.ratio))
      .Add(L"human", f.humanReadable)
      .Add(L"check", f.checkCharacter)
      .Add(L"autoSize", f.autoSize)
      .Add(L"data", f.data)
      .Text();
}

std::wstring Arg(const VBarcodeLayout& l) {
  return Fields()
      .Add(L"densityIndex", l.densityIndex)
      .Add(L"font", l.humanReadableFont)
      .Add(L"symbology", l.symbology)
      .Add(L"human", l.humanReadable)
      .Add(L"quietZones", l.quietZones)
      .Add(L"check", l.checkCharacter)
      .Add(L"height", static_cast<double>(l.heightInches))
      .Text();
}

std::wstring Arg(const VLineFormat& f) {
  return Fields()
      .Add(L"thickness", f.thicknessDots)
      .Add(L"from", VPoint{f.x1, f.y1})
      .Add(L"to", VPoint{f.x2, f.y2})
      .Text();
}

std::wstring Arg(const VPrintData& j) {
  return Fields()
      .Add(L"job", j.jobName)
      .Add(L"quantity", j.quantity)
      .Add(L"mark", j.sequencedMark)
      .Add(L"count", j.labelCount)
      .Add(L"kind", j.variableDataKind)
      .Text();
}

}  // namespace callargs
