// How long a printed page is: the label's own length, the media length, or
// the content and a margin below it that leaves symbols their quiet zone; and
// a matrix symbol at the bottom of such a page scans as printed.
// clang-format off
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Text.h"
#include "vellum/BarcodeTestSupport.h"

namespace vellum::testing {
namespace {

TEST(PageLayout, LengthComesFromTheLabelTheMediaOrTheContent) {
  struct Case {
    const char* name;
    int dpi;
    bool portrait;
    double mediaInches;  // 0: continuous media
    double ownInches;    // the label's own fixed length; 0: none
    BarcodeRequest barcode;
    int height;  // of the page, dots
  };
  const BarcodeRequest kNone;
  const Case cases[] = {
      // A 100 x 400 dot box at (10, 20), 0.1 in margin below (20.3 dots at 203 dpi).
      {"content and margin", 203, true, 0, 0, kNone, 441},
      {"landscape: the design's width", 203, false, 0, 0, kNone, 131},
      {"media length", 203, true, 3, 0, kNone, 609},
      {"own length beats media", 203, true, 3, 1, kNone, 203},
      {"own length", 203, true, 0, 1, kNone, 203},
      // 100 dots at 203 dpi are 493 units, 100.08 dots: the nearest dot, not the next.
      {"own length in dots", 203, true, 0, 100 / 203.0, kNone, 100},
      // Ten 6-dot modules below a Code 128 symbol: more than the 30-dot margin.
      {"linear quiet zone", 300, true, 0, 0, {L"Code 128 Auto", L"ABC123"}, 60 + 150 + 60},
      // Four 12-dot modules below a Data Matrix symbol.
      {"matrix quiet zone", 300, true, 0, 0, {L"Datamatrix", L"ABC123", 0, 0, 40}, -48},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VellumSettings settings;
    settings.mediaLengthInches = c.mediaInches;
    TestPrinter printer(c.dpi, settings);
    printer.engine->SetLabelOrientation(c.portrait ? 1 : 0, 0, nullptr);
    if (c.ownInches > 0) {
      VLabelData data;
      printer.engine->GetLabelData(data, 0, nullptr);
      data.lengthInches = c.ownInches;
      data.lengthFixed = 1;
      printer.engine->SetLabelData(data);
    }
    if (c.barcode.type.empty()) {
      printer.Add(kVObjRectangle, 10, 20, 100, 400);
      printer.engine->SetHatchPattern(kVHatchSolid, 1);
    } else {
      ASSERT_TRUE(AddBarcode(printer, c.barcode, 60, 60));
    }
    const MonoBitmap& page = printer.PrintOnce();
    EXPECT_EQ(page.width, 4 * c.dpi);
    if (c.height > 0) {
      EXPECT_EQ(page.height, c.height);
    } else {  // below the lowest ink
      EXPECT_EQ(page.height - 1 - InkBounds(page).bottom, -c.height);
    }
    if (!c.portrait) {
      // The design's x runs down the page; its top edge lands on the right.
      const InkBox ink = InkBounds(page);
      EXPECT_NEAR(ink.width(), 400, 1);
      EXPECT_NEAR(ink.height(), 100, 1);
      EXPECT_NEAR(ink.right, 812 - 20 - 1, 1);
      EXPECT_NEAR(ink.top, 10, 1);
    }
  }
}

// A viewer's canvas: the media length decides, and a label's own shorter
// length cuts none of the content below it.
TEST(PageLayout, MediaLengthOnlyIgnoresTheLabelsOwnLength) {
  const struct {
    const char* name;
    double mediaInches, ownInches;
    int height;  // dots at 203 dpi
    bool boxWhole;
  } cases[] = {
      {"media wins over a shorter own length", 3, 1, 609, true},
      {"media wins over a longer own length", 1, 3, 203, false},
      {"no media: the flag does nothing", 0, 1, 203, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VellumSettings settings;
    settings.mediaLengthInches = c.mediaInches;
    settings.mediaLengthOnly = true;
    TestPrinter printer(203, settings);
    VLabelData data;
    printer.engine->GetLabelData(data, 0, nullptr);
    data.lengthInches = c.ownInches;
    data.lengthFixed = 1;
    printer.engine->SetLabelData(data);
    printer.Add(kVObjRectangle, 10, 20, 100, 400);  // dots 20 to 420 down the page
    printer.engine->SetHatchPattern(kVHatchSolid, 1);
    const MonoBitmap& page = printer.PrintOnce();
    EXPECT_EQ(page.height, c.height);
    EXPECT_EQ(InkBounds(page).bottom >= 419, c.boxWhole);
  }
}

// What a phone sees when it is pointed at the symbol in `box`: the symbol in
// the middle, as much again around it, and beyond the page's edge the dark
// surface the label lies on.
std::vector<uint8_t> PhoneView(const MonoBitmap& page, const InkBox& box, int& width, int& height) {
  const int reach = std::max(box.width(), box.height());
  width = box.width() + 2 * reach, height = box.height() + 2 * reach;
  std::vector<uint8_t> grey(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int px = box.left - reach + x, py = box.top - reach + y;
      const bool onPage = px >= 0 && py >= 0 && px < page.width && py < page.height;
      grey[static_cast<size_t>(y) * width + x] = onPage && !page.Ink(px, py) ? 255 : 0;
    }
  }
  return grey;
}

// A phone's reader (ZXing in its default mode) needs the clear space the page
// leaves below a symbol at the bottom of a label whose length follows it.
TEST(PageLayout, MatrixSymbolAtTheBottomScansAsPrinted) {
  for (const wchar_t* type : {L"Datamatrix", L"Aztec", L"QRCode"}) {
    SCOPED_TRACE(platform::WideToUtf8(type));
    TestPrinter printer(203);
    printer.AddText(L"Lot 4711", 20, 20, 400, 40, 12);
    ASSERT_TRUE(AddBarcode(printer, {type, L"LOT-4711-2024", 0, 0, 20}, 20, 80));
    const MonoBitmap& page = printer.PrintOnce();
    int width = 0, height = 0;
    const std::vector<uint8_t> view = PhoneView(page, InkBounds(page, 0, 75), width, height);
    const ZXing::Result read =
        ZXing::ReadBarcode(ZXing::ImageView(view.data(), width, height, ZXing::ImageFormat::Lum));
    EXPECT_EQ(read.text(), "LOT-4711-2024");
  }
}

}  // namespace
}  // namespace vellum::testing
