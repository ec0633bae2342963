#pragma once
// Barcode objects for Vellum's tests, made through the engine the way the
// label session makes them, and the printed label's ink as 8-bit grey for
// decoders (black ink on white, cropped to the ink with a quiet margin).

#include <cstdint>
#include <string>
#include <vector>

#include "vellum/BarcodeSymbols.h"
#include "vellum/VellumTestSupport.h"

namespace vellum::testing {

struct BarcodeRequest {
  std::wstring type;
  std::wstring data;
  int rotation = 0;
  int humanReadable = kVHumanNone;
  int densityMils = 20;
  float ratio = 3.0f;
  bool check = false;
  float heightInches = 0.5f;
  int autoSize = 1;
  // Symbol details as a ZPL job gives them (VBarcodeFormat's symbol fields).
  int moduleDots = 0;
  bool symbolRule = false;
  int errorLevel = -1;
  int symbolSize = 0;
  int rows = 0;
  int rowDots = 0;
  std::wstring mode = L"";
  std::wstring primary = L"";
  bool anchorBottom = false;
};

// Adds the barcode at (x, y) dots and leaves it selected; false when the
// engine refused its data.
inline bool AddBarcode(TestPrinter& printer, const BarcodeRequest& request, int x = 60,
                       int y = 60) {
  const int height = static_cast<int>(request.heightInches * printer.dpi);
  VDrawObj* object = printer.Add(kVObjBarcode, x, y, printer.dpi * 3, height);
  VBarcodeFormat format;
  printer.engine->GetBarcodeFormat(format);
  format.typeName = request.type;
  format.heightInches = request.heightInches;
  format.densityMils = request.densityMils;
  format.ratio = request.ratio;
  format.humanReadable = request.humanReadable;
  format.checkCharacter = request.check ? 1 : 0;
  format.data = request.data;
  format.moduleDots = request.moduleDots;
  format.symbolRule = request.symbolRule ? 1 : 0;
  format.errorLevel = request.errorLevel;
  format.symbolSize = request.symbolSize;
  format.rows = request.rows;
  format.rowDots = request.rowDots;
  format.symbolMode = request.mode;
  format.primary = request.primary;
  format.anchorBottom = request.anchorBottom ? 1 : 0;
  const bool accepted = printer.engine->SetBarcodeFormat(format);
  printer.engine->SetObjectAutoSize(object, request.autoSize);
  VBarcodeLayout layout;
  printer.engine->GetBarcodeLayout(layout);
  const SymbologyRow* row = FindSymbology(request.type, 0);
  layout.symbology = row != nullptr ? row->Vocabulary().symbology : 0;
  layout.humanReadable = request.humanReadable;
  layout.checkCharacter = format.checkCharacter;
  layout.heightInches = request.heightInches;
  printer.engine->SetBarcodeLayout(layout);
  printer.engine->RotateSelectedObject(request.rotation);
  return accepted;
}

struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // 0 ink, 255 paper
};

inline GreyImage GreyOfInk(const MonoBitmap& bitmap, int margin = 40) {
  const InkBox ink = InkBounds(bitmap);
  GreyImage image;
  if (ink.empty()) return image;
  image.width = ink.width() + 2 * margin;
  image.height = ink.height() + 2 * margin;
  image.pixels.assign(static_cast<size_t>(image.width) * image.height, 255);
  for (int y = ink.top; y <= ink.bottom; ++y) {
    for (int x = ink.left; x <= ink.right; ++x) {
      if (bitmap.Ink(x, y)) {
        image.pixels[static_cast<size_t>(y - ink.top + margin) * image.width + x - ink.left +
                     margin] = 0;
      }
    }
  }
  return image;
}

}  // namespace vellum::testing
