#include "testing/CallArgs.h"

#include <cwchar>

#include "platform/Text.h"

namespace callargs {
namespace {

// "name=value name=value ...", from name and value pairs in order.
template <typename T, typename... Rest>
std::wstring Fields(const wchar_t* name, const T& value, const Rest&... rest) {
  std::wstring text = name + (L'=' + Arg(value));
  if constexpr (sizeof...(rest) > 0) text += L' ' + Fields(rest...);
  return text;
}

}  // namespace

std::wstring Arg(int32_t value) { return platform::IntToWide(value); }
std::wstring Arg(uint32_t value) { return platform::IntToWide(value); }
std::wstring Arg(bool value) { return value ? L"true" : L"false"; }
std::wstring Arg(float value) { return Arg(static_cast<double>(value)); }

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
  return Fields(L"width", d.widthInches, L"gap", d.gapInches, L"length", d.lengthInches, L"media",
                d.mediaType, L"fixed", d.lengthFixed, L"margin", d.leftMarginDots, L"across",
                d.labelsAcross, L"down", d.labelsDown);
}

std::wstring Arg(const VLabelOptions& o) {
  return Fields(L"feed", o.feedMode, L"tearOff", o.tearOffDots, L"cutter", o.cutterMode,
                L"negative", o.negative, L"pause", o.pauseEach, L"mirror", o.mirror);
}

std::wstring Arg(const VTextFormat& f) {
  return Fields(L"x", f.xInches, L"y", f.yInches, L"width", f.widthInches, L"height",
                f.heightInches, L"border", f.borderThickness);
}

std::wstring Arg(const VTextAlignment& a) {
  return Fields(L"boxBound", a.boxBound, L"justification", a.justification, L"verticalCentre",
                a.verticalCentre, L"reverse", a.reverse, L"autoSize", a.autoSize, L"vertical",
                a.vertical, L"wordWrap", a.wordWrap);
}

std::wstring Arg(const VBarcodeFormat& f) {
  return Fields(L"type", f.typeName, L"height", f.heightInches, L"density", f.densityMils, L"ratio",
                f.ratio, L"human", f.humanReadable, L"check", f.checkCharacter, L"autoSize",
                f.autoSize, L"data", f.data);
}

std::wstring Arg(const VBarcodeLayout& l) {
  return Fields(L"densityIndex", l.densityIndex, L"font", l.humanReadableFont, L"symbology",
                l.symbology, L"human", l.humanReadable, L"quietZones", l.quietZones, L"check",
                l.checkCharacter, L"height", l.heightInches);
}

std::wstring Arg(const VLineFormat& f) {
  return Fields(L"thickness", f.thicknessDots, L"from", VPoint{f.x1, f.y1}, L"to",
                VPoint{f.x2, f.y2});
}

std::wstring Arg(const VPrintData& j) {
  return Fields(L"job", j.jobName, L"quantity", j.quantity, L"mark", j.sequencedMark, L"count",
                j.labelCount, L"kind", j.variableDataKind);
}

}  // namespace callargs
