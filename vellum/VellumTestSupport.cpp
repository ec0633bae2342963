#include "vellum/VellumTestSupport.h"

#include <algorithm>

namespace vellum::testing {

std::string LayoutFingerprint(PangoLayout* layout) {
  GBytes* bytes = pango_layout_serialize(layout, PANGO_LAYOUT_SERIALIZE_OUTPUT);
  gsize size = 0;
  const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
  std::string out(data, size);
  g_bytes_unref(bytes);
  return out;
}

std::string MatchedFile(FcConfig* config, FcPattern* pattern) {
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcChar8* file = nullptr;
  std::string out;
  if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    out = reinterpret_cast<const char*>(file);
  }
  if (match != nullptr) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return out;
}

InkBox InkBounds(const MonoBitmap& bitmap, int x0, int y0, int x1, int y1) {
  InkBox box{1 << 30, 1 << 30, -1, -1, 0};
  for (int y = std::max(0, y0); y < std::min(bitmap.height, y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(bitmap.width, x1); ++x) {
      if (!bitmap.Ink(x, y)) continue;
      box.left = std::min(box.left, x), box.right = std::max(box.right, x);
      box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
      ++box.dots;
    }
  }
  if (box.dots == 0) return InkBox{};
  return box;
}

TestPrinter::TestPrinter(int dpiValue, VellumSettings extra) : dpi(dpiValue) {
  extra.dpi = dpi;
  extra.unitsPerInch = 1000;
  extra.mediaWidthInches = 4.0;
  extra.sink = &sink;
  engine = std::make_unique<VellumEngine>(std::move(extra));
  engine->CreateLabel(L"", 0, 0, 0, 0, 1);
}

const MonoBitmap& TestPrinter::PrintOnce() {
  sink.Clear();
  engine->InitPrintData();
  engine->AddPrintData(VPrintData{L"*CurrentLabel*", 1, 1, 1, 0});
  engine->StartPrint(kVPrintDevice, 0, 1, 1);
  static const MonoBitmap kNothing;
  return sink.entries().empty() ? kNothing : sink.entries().back().bitmap;
}

VDrawObj* TestPrinter::Add(int32_t type, int x, int y, int w, int h) {
  VDrawObj* object = engine->CreateNewObject(
      type, VRect{Units(x), Units(y), Units(x + w), Units(y + h)}, engine->GetNextFreeObjectId());
  engine->SetSelectByObject(object);
  return object;
}

VDrawObj* TestPrinter::AddText(const std::wstring& text, int x, int y, int w, int h, int points,
                               int justification, bool boxBound) {
  VDrawObj* object = Add(kVObjText, x, y, w, h);
  engine->SetTextFromObject(object, text, true);
  VTextAlignment alignment;
  engine->GetTextAlignment(alignment);
  alignment.justification = justification;
  alignment.boxBound = boxBound ? 1 : 0;
  engine->SetTextAlignment(alignment);
  engine->GetVInterfaceTextProperties()->SetTextFontSize(kVTextSelected, 0, points, 0, 0.0, true);
  return object;
}

}  // namespace vellum::testing
