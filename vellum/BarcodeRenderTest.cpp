// Barcodes as printed: the symbologies no reader here knows are compared
// with zint's own module pattern, element widths follow density and ratio,
// refused data draws nothing and says why, and per-label values are printed.
#include <gtest/gtest.h>
#include <zint.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "platform/Text.h"
#include "vellum/BarcodeTestSupport.h"

namespace vellum::testing {
namespace {

// One bitmap row from `left` to `right` as '#' (ink) and '.'.
std::string RowPicture(const MonoBitmap& bitmap, int y, int left, int right) {
  std::string row;
  for (int x = left; x <= right; ++x) row += bitmap.Ink(x, y) ? '#' : '.';
  return row;
}

// Zint's row `r` at `narrow` dots a module (wide runs `wide` dots when set).
std::string ZintRowPicture(const zint_symbol& s, int r, int narrow, int wide) {
  std::string row;
  for (int c = 0; c < s.width;) {
    const bool dark = (s.encoded_data[r][c / 8] >> (c % 8)) & 1;
    int run = 0;
    while (c < s.width && (((s.encoded_data[r][c / 8] >> (c % 8)) & 1) != 0) == dark) ++c, ++run;
    const int dots = wide > 0 ? (run == 1 ? narrow : wide) : run * narrow;
    row.append(static_cast<size_t>(dots), dark ? '#' : '.');
  }
  while (!row.empty() && row.back() == '.') row.pop_back();
  return row;
}

TEST(BarcodeRenderTest, SymbolsNoReaderKnowsFollowZintsModulesAndSize) {
  const struct {
    std::wstring type, data;
    int zintSymbology;
    const char* zintData;
    int wide;  // dots of a wide element at 300 dpi, ratio 3; 0: modules only
    int width, height;
  } cases[] = {
      {L"Code 16K", L"ABC123", BARCODE_CODE16K, "ABC123", 0, 70 * 6, 150},
      {L"Code 49", L"ABC123", BARCODE_CODE49, "ABC123", 0, 70 * 6, 150},
      {L"Micro 417", L"ABC123", BARCODE_MICROPDF417, "ABC123", 0, 82 * 6, 6 * 25},
      {L"MSI Plessey", L"12345", BARCODE_MSI_PLESSEY, "12345", 18, 0, 150},
      {L"Postnet", L"12345", BARCODE_POSTNET, "12345", 0, 63 * 6, 150},
      {L"Postbar", L"ab12", BARCODE_RM4SCC, "AB12", 0, 43 * 6, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::WideToUtf8(c.type));
    TestPrinter printer(300);  // 20 mils: 6 dots a module
    ASSERT_TRUE(AddBarcode(printer, BarcodeRequest{c.type, c.data}));
    const MonoBitmap& bitmap = printer.PrintOnce();
    const InkBox ink = InkBounds(bitmap);
    EXPECT_EQ(ink.left, 60);
    EXPECT_EQ(ink.top, 60);
    EXPECT_TRUE(c.width == 0 || ink.width() == c.width) << ink.width();
    EXPECT_EQ(ink.height(), c.height);

    std::set<std::string> printedRows;
    for (int y = ink.top; y <= ink.bottom; ++y) {
      std::string row = RowPicture(bitmap, y, ink.left, ink.right);
      while (!row.empty() && row.back() == '.') row.pop_back();
      printedRows.insert(row);
    }
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> s(ZBarcode_Create(), ZBarcode_Delete);
    s->symbology = c.zintSymbology;
    ASSERT_LT(ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(c.zintData),
                              static_cast<int>(std::string(c.zintData).size())),
              ZINT_ERROR);
    for (int r = 0; r < s->rows; ++r) {
      EXPECT_TRUE(printedRows.count(ZintRowPicture(*s, r, 6, c.wide))) << "zint row " << r;
    }
  }
}

// The narrowest and widest bar of a one-row symbol.
std::pair<int, int> BarWidths(const MonoBitmap& bitmap) {
  const InkBox ink = InkBounds(bitmap);
  const int y = ink.top + 5;
  int narrow = 1 << 30, wide = 0, run = 0;
  for (int x = ink.left; x <= ink.right + 1; ++x) {
    if (bitmap.Ink(x, y)) {
      ++run;
    } else if (run > 0) {
      narrow = std::min(narrow, run), wide = std::max(wide, run), run = 0;
    }
  }
  return {narrow, wide};
}

TEST(BarcodeRenderTest, DensityAndRatioSetTheNarrowAndWideElements) {
  const struct {
    std::wstring type;
    int dpi, mils;
    float ratio;
    int narrow, wide;  // dots
  } cases[] = {
      {L"Code 39", 300, 10, 3.0f, 3, 9},       {L"Code 39", 300, 10, 2.5f, 3, 8},
      {L"Code 39", 300, 10, 2.0f, 3, 6},       {L"Code 39", 300, 20, 2.5f, 6, 15},
      {L"Code 39", 203, 10, 2.0f, 2, 4},       {L"Code 39", 203, 10, 2.5f, 2, 5},
      {L"Code 39", 203, 30, 3.0f, 6, 18},      {L"Interleaved 2-of-5", 203, 20, 2.5f, 4, 10},
      {L"Codabar", 300, 30, 2.0f, 9, 18},      {L"MSI Plessey", 300, 20, 3.0f, 6, 18},
      {L"Code 128 Auto", 203, 10, 2.0f, 2, 8},  // modular: 1 to 4 modules, ratio unused
      {L"Code 128 Auto", 203, 10, 3.0f, 2, 8}, {L"Code 128 Auto", 300, 80, 3.0f, 24, 96},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::WideToUtf8(c.type) + " " + std::to_string(c.dpi) + " dpi " +
                 std::to_string(c.mils) + " mils ratio " + std::to_string(c.ratio));
    TestPrinter printer(c.dpi);
    BarcodeRequest request{c.type, L"1234"};
    request.densityMils = c.mils;
    request.ratio = c.ratio;
    ASSERT_TRUE(AddBarcode(printer, request));
    EXPECT_EQ(BarWidths(printer.PrintOnce()), std::make_pair(c.narrow, c.wide));
  }
}

// A module given in dots prints exactly that many dots at any resolution,
// odd widths included; a symbol is its modules times the module.
TEST(BarcodeRenderTest, ModulesInDotsPrintExactly) {
  const struct {
    std::wstring type;
    bool symbolRule;
    int module;
    float ratio;
    int narrow, wide;  // dots
  } cases[] = {
      {L"Code 128 Auto", false, 1, 3.0f, 1, 4},
      {L"Code 128 Auto", false, 3, 3.0f, 3, 12},
      {L"Code 128 Auto", true, 5, 3.0f, 5, 20},
      {L"Code 39", false, 3, 3.0f, 3, 9},
      {L"Code 39", true, 3, 2.5f, 3, 8},
      {L"Code 39", true, 1, 2.0f, 1, 2},
      {L"Interleaved 2-of-5", true, 3, 2.3f, 3, 7},
  };
  for (const auto& c : cases) {
    for (int dpi : {203, 300}) {
      SCOPED_TRACE(platform::WideToUtf8(c.type) + " module " + std::to_string(c.module) + " at " +
                   std::to_string(dpi));
      TestPrinter printer(dpi);
      BarcodeRequest request{c.type, L"1234"};
      request.moduleDots = c.module;
      request.symbolRule = c.symbolRule;
      request.ratio = c.ratio;
      ASSERT_TRUE(AddBarcode(printer, request));
      const MonoBitmap& bitmap = printer.PrintOnce();
      EXPECT_EQ(BarWidths(bitmap), std::make_pair(c.narrow, c.wide));
      if (c.type != L"Code 128 Auto") continue;
      // "1234" is start C, two pairs, check and stop: 11 * 4 + 13 modules.
      EXPECT_EQ(InkBounds(bitmap).width(), 57 * c.module);
    }
  }
}

// A symbol anchored at its bottom-left corner stands on its position, the
// corner turning with the symbol: upright it rises from there, upside down
// it hangs leftwards, turned right it lies below and right, turned left
// above and left.
TEST(BarcodeRenderTest, AnchoredSymbolsStandOnTheirPositionInEveryTurn) {
  const struct {
    int rotation;
    bool fromLeft, fromTop;  // the ink's left (else right) and top (else bottom) edge at 300
  } turns[] = {{0, true, false}, {180, false, true}, {270, true, true}, {90, false, false}};
  for (const std::wstring type : {L"Code 128 Auto", L"QRCode"}) {
    for (const auto& t : turns) {
      SCOPED_TRACE(platform::WideToUtf8(type) + " turned " + std::to_string(t.rotation));
      TestPrinter printer(203);
      BarcodeRequest request{type, L"1234"};
      request.moduleDots = 3;
      request.symbolRule = true;
      request.rotation = t.rotation;
      request.anchorBottom = true;
      ASSERT_TRUE(AddBarcode(printer, request, 300, 300));
      const InkBox ink = InkBounds(printer.PrintOnce());
      ASSERT_FALSE(ink.empty());
      EXPECT_EQ(t.fromLeft ? ink.left : ink.right + 1, 300);
      EXPECT_EQ(t.fromTop ? ink.top : ink.bottom + 1, 300);
    }
  }
}

// Under ZPL's rules a symbol's bars hang from its position whichever side
// its line is on: a line above stands above the position, and so does a
// line below when the symbol is upside down.
TEST(BarcodeRenderTest, ZplBarsHangFromThePositionWithTheLineAboveOrBelow) {
  const struct {
    int human, rotation;
  } cases[] = {
      {kVHumanBelow, 0},   {kVHumanAbove, 0},   {kVHumanNone, 0},
      {kVHumanAbove, 180}, {kVHumanBelow, 180},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.human) + " turned " + std::to_string(c.rotation));
    TestPrinter printer(203);
    BarcodeRequest request{L"Code 128 Auto", L"1234"};
    request.moduleDots = 2;
    request.symbolRule = true;
    request.humanReadable = c.human;
    request.rotation = c.rotation;
    ASSERT_TRUE(AddBarcode(printer, request, 100, 200));
    const MonoBitmap& bitmap = printer.PrintOnce();
    const InkBox ink = InkBounds(bitmap);
    ASSERT_FALSE(ink.empty());
    EXPECT_TRUE(bitmap.Ink(ink.left, 200) && !bitmap.Ink(ink.left, 199));
    if ((c.human == kVHumanAbove) == (c.rotation == 0) && c.human != kVHumanNone) {
      EXPECT_LT(ink.top, 190);
    } else {
      EXPECT_GE(ink.top, 200);
    }
  }
}

// EAN and UPC under ZPL's rules: the guards reach five modules below the
// other bars and the number system digit stands left of the bars.
TEST(BarcodeRenderTest, RetailDigitsSitBetweenTheGuards) {
  const struct {
    std::wstring type, data;
    int guardModule, dataModule;  // a module inside a guard, one inside a data bar
    bool digitLeftOfBars;
  } cases[] = {
      {L"EAN/JAN-13", L"590123412345", 46, 0, true},
      {L"EAN/JAN-8", L"9638507", 32, 0, false},
      {L"UPCA", L"01234567890", 46, 0, true},
  };
  for (const auto& c : cases) {
    for (int dpi : {203, 300}) {
      SCOPED_TRACE(platform::WideToUtf8(c.type) + " at " + std::to_string(dpi));
      TestPrinter printer(dpi);
      BarcodeRequest request{c.type, c.data};
      request.moduleDots = 2;
      request.symbolRule = true;
      request.humanReadable = kVHumanBelow;
      ASSERT_TRUE(AddBarcode(printer, request, 100, 60));
      const MonoBitmap& bitmap = printer.PrintOnce();
      const int barsBottom = 60 + static_cast<int>(std::lround(0.5 * dpi));
      // Column of the guard's bar (its first dark module) reaches 10 dots further.
      int guardX = 100 + 2 * c.guardModule;
      while (!bitmap.Ink(guardX, 61) && guardX < 100 + 2 * (c.guardModule + 4)) ++guardX;
      EXPECT_TRUE(bitmap.Ink(guardX, barsBottom + 8));
      EXPECT_FALSE(bitmap.Ink(guardX, barsBottom + 11));
      EXPECT_EQ(InkBounds(bitmap).left < 100, c.digitLeftOfBars);
      EXPECT_GT(InkBounds(bitmap).bottom, barsBottom + 10);  // the digits
    }
  }
}

TEST(BarcodeRenderTest, TheObjectTakesTheSymbolsSizeAndItsTextLine) {
  TestPrinter printer(300);
  BarcodeRequest request{L"Code 128 Auto", L"1234"};
  ASSERT_TRUE(AddBarcode(printer, request));
  const InkBox bars = InkBounds(printer.PrintOnce());
  EXPECT_EQ(bars.height(), 150);
  EXPECT_LT(bars.width(), 600);  // not the 3-inch rectangle it was made with

  for (int human : {kVHumanBelow, kVHumanAbove}) {
    TestPrinter withText(300);
    request.humanReadable = human;
    ASSERT_TRUE(AddBarcode(withText, request));
    const MonoBitmap& bitmap = withText.PrintOnce();
    const InkBox all = InkBounds(bitmap);
    EXPECT_EQ(all.width(), bars.width());
    EXPECT_GT(all.height(), 150 + 15);  // an 8-point line is about 33 dots
    // The bars keep their height; the text sits on the side asked for.
    const int barsTop = human == kVHumanAbove ? all.bottom - 149 : all.top;
    EXPECT_EQ(InkBounds(bitmap, 0, barsTop, 1 << 20, barsTop + 150).width(), bars.width());
    EXPECT_TRUE(bitmap.Ink(all.left, barsTop) && bitmap.Ink(all.left, barsTop + 149));
  }
}

TEST(BarcodeRenderTest, RefusedDataDrawsNothingAndNamesObjectSymbologyAndReason) {
  const struct {
    std::wstring type, data;
    std::string reason;  // part of the diagnostic
  } cases[] = {
      {L"Postnet", L"12A45", "Error 481"},  // zint's own words
      {L"Codabar", L"A1X2B", "Error 357"},
      {L"Code 128 Auto", L"", "no data"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::WideToUtf8(c.type));
    TestPrinter printer(300);
    EXPECT_FALSE(AddBarcode(printer, BarcodeRequest{c.type, c.data}));
    EXPECT_TRUE(InkBounds(printer.PrintOnce()).empty());
    const auto& diagnostics = printer.engine->LastPrintDiagnostics();
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics[0].objectId, 1);
    const std::string message = platform::WideToUtf8(diagnostics[0].message);
    EXPECT_NE(message.find(platform::WideToUtf8(c.type)), std::string::npos) << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
  }
}

TEST(BarcodeRenderTest, ZintWarningsStillPrint) {
  TestPrinter printer(300);
  ASSERT_TRUE(AddBarcode(printer, BarcodeRequest{L"Postnet", L"1234567"}));  // not 5, 9 or 11
  EXPECT_FALSE(InkBounds(printer.PrintOnce()).empty());
  EXPECT_TRUE(printer.engine->LastPrintDiagnostics().empty());
}

TEST(BarcodeRenderTest, SequencedAndPromptedValuesArePrintedPerLabel) {
  VellumSettings settings;
  settings.promptAnswerer = [](const std::wstring& prompt, const std::wstring&) {
    return std::optional<std::wstring>(prompt == L"zip" ? L"9X" : L"31415");
  };
  TestPrinter printer(300, settings);
  // Scripts give a sequenced barcode no data of its own: the format arrives
  // empty, before the sequence. The printed values must still be drawn.
  EXPECT_FALSE(AddBarcode(printer, BarcodeRequest{L"Code 128 Auto", L""}));
  printer.engine->SetDataSource(kVSourceSequence);
  printer.engine->SetSequence(L"0098", 3, 1, 1, L"N", L"", L"");
  ASSERT_TRUE(AddBarcode(printer, BarcodeRequest{L"Postnet", L"12345"}, 60, 400));
  printer.engine->GetSelectedObjects().at(0)->SetPrompted(1, 0, 0);
  printer.engine->SetPrompt(L"zip", L"12345", 0, L"Message", 1, L"", L"");
  printer.engine->AddPrintData(VPrintData{L"job", 1, 1, 3, 1});
  printer.engine->StartPrint(kVPrintDevice, 0, 1, 1);

  const auto& printed = printer.engine->LastPrint();
  ASSERT_EQ(printed.size(), 3u);
  EXPECT_EQ(printed[2].values[0], L"N0100");
  ASSERT_EQ(printer.sink.entries().size(), 3u);
  // Each label's Code 128 differs; the prompt's answer cannot be a Postnet.
  EXPECT_FALSE(InkBounds(printer.sink.entries()[0].bitmap).empty());
  EXPECT_NE(printer.sink.entries()[0].bitmap.bits, printer.sink.entries()[1].bitmap.bits);
  const auto& diagnostics = printer.engine->LastPrintDiagnostics();
  ASSERT_EQ(diagnostics.size(), 1u);  // the same message is kept once
  EXPECT_NE(diagnostics[0].message.find(L"\"9X\" refused"), std::wstring::npos);
  EXPECT_TRUE(InkBounds(printer.sink.entries()[0].bitmap, 0, 390).empty());
}

}  // namespace
}  // namespace vellum::testing
