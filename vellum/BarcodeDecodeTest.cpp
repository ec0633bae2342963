// Every symbology a barcode reader knows is printed through the engine and
// read back by ZXing-cpp or zbar: at 203 and 300 dpi, upright and turned a
// quarter, with and without the human-readable line.
// zbar first: ZXing's error macros would rename zbar's exception classes.
#include <zbar.h>
// clang-format off
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "platform/Text.h"
#include "vellum/BarcodeTestSupport.h"

namespace vellum::testing {
namespace {

enum Reader : int { kZxing = 1, kZbar = 2 };

GreyImage Turned(const GreyImage& image) {
  GreyImage turned{image.height, image.width, std::vector<uint8_t>(image.pixels.size())};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      turned.pixels[static_cast<size_t>(x) * turned.width + (image.height - 1 - y)] =
          image.pixels[static_cast<size_t>(y) * image.width + x];
    }
  }
  return turned;
}

// The tallest run of rows with ink, with a margin: the symbol without the
// human-readable line beside it.
GreyImage TallestBand(const GreyImage& image, int margin = 20) {
  int best = 0, bestTop = 0, top = -1;
  for (int y = 0; y <= image.height; ++y) {
    const uint8_t* row = image.pixels.data() + static_cast<size_t>(y) * image.width;
    const bool ink = y < image.height && std::find(row, row + image.width, 0) != row + image.width;
    if (ink && top < 0) top = y;
    if (!ink && top >= 0) {
      if (y - top > best) best = y - top, bestTop = top;
      top = -1;
    }
  }
  GreyImage band{image.width, best + 2 * margin, {}};
  band.pixels.assign(static_cast<size_t>(band.width) * band.height, 255);
  std::copy(image.pixels.begin() + static_cast<long>(bestTop) * image.width,
            image.pixels.begin() + static_cast<long>(bestTop + best) * image.width,
            band.pixels.begin() + static_cast<long>(margin) * band.width);
  return band;
}

std::set<std::string> ReadWithZxing(const GreyImage& image) {
  std::set<std::string> texts;
  ZXing::DecodeHints hints;
  hints.setTryHarder(true).setTryRotate(true).setReturnCodabarStartEnd(true);
  hints.setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read);
  auto view = [](const GreyImage& g) {
    return ZXing::ImageView(g.pixels.data(), g.width, g.height, ZXing::ImageFormat::Lum);
  };
  for (const ZXing::Result& r : ZXing::ReadBarcodes(view(image), hints)) texts.insert(r.text());
  if (!texts.empty()) return texts;
  // MaxiCode is read from upright pure images only: the symbol alone.
  hints.setIsPure(true);
  for (const GreyImage& upright : {image, Turned(image)}) {
    const ZXing::Result pure = ZXing::ReadBarcode(view(TallestBand(upright)), hints);
    if (pure.isValid()) texts.insert(pure.text());
  }
  return texts;
}

std::set<std::string> ReadWithZbar(const GreyImage& image) {
  std::set<std::string> texts;
  std::unique_ptr<zbar::zbar_image_scanner_t, void (*)(zbar::zbar_image_scanner_t*)> scanner(
      zbar::zbar_image_scanner_create(), zbar::zbar_image_scanner_destroy);
  zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 1);
  std::unique_ptr<zbar::zbar_image_t, void (*)(zbar::zbar_image_t*)> zimage(
      zbar::zbar_image_create(), zbar::zbar_image_destroy);
  zbar::zbar_image_set_format(zimage.get(), zbar_fourcc('Y', '8', '0', '0'));
  zbar::zbar_image_set_size(zimage.get(), image.width, image.height);
  zbar::zbar_image_set_data(zimage.get(), image.pixels.data(), image.pixels.size(), nullptr);
  zbar::zbar_scan_image(scanner.get(), zimage.get());
  for (const zbar::zbar_symbol_t* s = zbar::zbar_image_first_symbol(zimage.get()); s != nullptr;
       s = zbar::zbar_symbol_next(s)) {
    texts.insert(zbar::zbar_symbol_get_data(s));
  }
  return texts;
}

struct DecodeCase {
  std::wstring type;
  std::wstring data;
  bool check;
  std::string expected;    // what a reader returns
  int readers;             // the readers that must read it
  std::string addOn = "";  // read after the main symbol when upright
};

// The readers give an add-on after the main symbol, with or without a space;
// neither reads add-ons turned on their side.
bool Reads(const std::set<std::string>& texts, const DecodeCase& c, int rotation) {
  if (texts.count(c.expected + c.addOn) > 0 || texts.count(c.expected + " " + c.addOn) > 0) {
    return true;
  }
  return rotation != 0 && texts.count(c.expected) > 0;
}

std::string Joined(const std::set<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += "[" + t + "]";
  return out;
}

TEST(BarcodeDecodeTest, EverySymbologyAReaderKnowsDecodesToItsData) {
  const DecodeCase cases[] = {
      {L"Code 39", L"abc-123", false, "ABC-123", kZxing | kZbar},
      {L"Code 39", L"ABC-123", true, "ABC-123W", kZxing | kZbar},
      {L"QRCode", L"HELLO: WORLD 42", false, "HELLO: WORLD 42", kZxing | kZbar},
      {L"PDF 417", L"PDF417 LABEL 0042", false, "PDF417 LABEL 0042", kZxing},
      {L"Code 93", L"CODE-93 $5", false, "CODE-93 $5", kZxing | kZbar},
      {L"UCC128", L"0109501101530003", false, "0109501101530003", kZxing | kZbar},
      {L"HIBC", L"a123", false, "+A123E", kZxing | kZbar},
      {L"Codabar", L"a40156b", false, "A40156B", kZxing | kZbar},
      {L"UPCA", L"01234567890", false, "012345678905", kZxing | kZbar},
      {L"UPCE2", L"0120000034512", false, "01234505", kZxing | kZbar, "12"},
      {L"UPCE5", L"0120000034551234", false, "01234505", kZxing | kZbar, "51234"},
      {L"EAN/JAN-13", L"590123412345", false, "5901234123457", kZxing | kZbar},
      {L"EAN/JAN-8", L"9638507", false, "96385074", kZxing | kZbar},
      {L"Interleaved 2-of-5", L"1234567890", false, "1234567890", kZxing | kZbar},
      {L"Interleaved 2-of-5", L"123456789", true, "1234567895", kZxing | kZbar},
      {L"Code 128 Auto", L"Label-0042 ok", false, "Label-0042 ok", kZxing | kZbar},
      {L"Aztec", L"AZTEC 42", false, "AZTEC 42", kZxing},
      {L"Datamatrix", L"DATAMATRIX 42", false, "DATAMATRIX 42", kZxing},
      {L"Maxicode", L"MAXICODE 42", false, "MAXICODE 42", kZxing},
  };
  for (const DecodeCase& c : cases) {
    for (int dpi : {203, 300}) {
      for (int rotation : {0, 90}) {
        for (int human : {kVHumanNone, kVHumanBelow}) {
          SCOPED_TRACE(platform::WideToUtf8(c.type) + " " + std::to_string(dpi) + " dpi, turned " +
                       std::to_string(rotation) + ", text " + std::to_string(human));
          TestPrinter printer(dpi);
          BarcodeRequest request{c.type, c.data, rotation, human};
          request.check = c.check;
          // Turned about its centre, a wide symbol needs room above it.
          ASSERT_TRUE(AddBarcode(printer, request, 60, rotation == 0 ? 60 : dpi * 2));
          const GreyImage image = GreyOfInk(printer.PrintOnce());
          EXPECT_TRUE(printer.engine->LastPrintDiagnostics().empty());
          const std::set<std::string> zxing = ReadWithZxing(image), zbar = ReadWithZbar(image);
          if (c.readers & kZxing) {
            EXPECT_TRUE(Reads(zxing, c, rotation)) << "ZXing read " << Joined(zxing);
          }
          if (c.readers & kZbar) {
            EXPECT_TRUE(Reads(zbar, c, rotation)) << "zbar read " << Joined(zbar);
          }
        }
      }
    }
  }
}

// The symbols a ZPL job asks for: whole-dot modules, the symbology's own data
// (GS1 element strings, Code 128 subset B) and its options (error levels,
// sizes, rows, MaxiCode's primary message).
TEST(BarcodeDecodeTest, ZplSymbolOptionsStillDecode) {
  struct ZplCase {
    BarcodeRequest request;
    std::string expected;
    int readers;
  };
  auto zpl = [](std::wstring type, std::wstring data, int module) {
    BarcodeRequest r{std::move(type), std::move(data)};
    r.moduleDots = module;
    r.symbolRule = true;
    return r;
  };
  auto with = [](BarcodeRequest r, auto&& change) {
    change(r);
    return r;
  };
  const ZplCase cases[] = {
      {with(zpl(L"Code 128 Auto", L"Hello 12", 2), [](auto& r) { r.mode = L"SUBSET B"; }),
       "Hello 12", kZxing | kZbar},
      {with(zpl(L"Code 128 Auto", L"[00]123456789012345675[10]AB", 3),
            [](auto& r) { r.mode = L"GS1"; }),
       "00123456789012345675"
       "10AB",
       kZxing | kZbar},
      {zpl(L"Code 39", L"ZPL-39", 1), "ZPL-39", kZxing | kZbar},
      {zpl(L"Interleaved 2-of-5", L"12345678", 3), "12345678", kZxing | kZbar},
      {with(zpl(L"EAN/JAN-13", L"590123412345", 2),
            [](auto& r) { r.humanReadable = kVHumanBelow; }),
       "5901234123457", kZxing | kZbar},
      {with(zpl(L"UPCA", L"01234567890", 3), [](auto& r) { r.humanReadable = kVHumanBelow; }),
       "012345678905", kZxing | kZbar},
      {with(zpl(L"EAN/JAN-8", L"9638507", 2), [](auto& r) { r.humanReadable = kVHumanBelow; }),
       "96385074", kZxing | kZbar},
      {zpl(L"Codabar", L"A1234B", 2), "A1234B", kZxing | kZbar},
      {with(zpl(L"QRCode", L"https://example.com/?a=1&b>2|_{}", 3),
            [](auto& r) { r.errorLevel = 4; }),
       "https://example.com/?a=1&b>2|_{}", kZxing | kZbar},
      {with(zpl(L"Datamatrix", L"[01]09501101530003[17]190508", 4),
            [](auto& r) { r.mode = L"GS1"; }),
       "0109501101530003"
       "17190508",
       kZxing},
      {with(zpl(L"Datamatrix", L"dm {size}", 0), [](auto& r) { r.rowDots = 120; }), "dm {size}",
       kZxing},
      {with(zpl(L"Aztec", L"Part:123;Warehouse:BYZA", 4),
            [](auto& r) { r.errorLevel = 2, r.symbolSize = 7; }),
       "Part:123;Warehouse:BYZA", kZxing},
      {with(zpl(L"PDF 417", L"pdf 417 >_<", 2),
            [](auto& r) { r.errorLevel = 5, r.symbolSize = 4, r.rows = 12, r.rowDots = 8; }),
       "pdf 417 >_<", kZxing},
      {with(zpl(L"Maxicode", L"MAXI 4", 0), [](auto& r) { r.errorLevel = 4; }), "MAXI 4", kZxing},
  };
  for (const ZplCase& c : cases) {
    for (int dpi : {203, 300}) {
      SCOPED_TRACE(platform::WideToUtf8(c.request.type + L" " + c.request.data) + " at " +
                   std::to_string(dpi));
      TestPrinter printer(dpi);
      ASSERT_TRUE(AddBarcode(printer, c.request));
      const GreyImage image = GreyOfInk(printer.PrintOnce());
      EXPECT_TRUE(printer.engine->LastPrintDiagnostics().empty());
      std::set<std::string> read;
      if (c.readers & kZxing) read = ReadWithZxing(image);
      if (c.readers & kZbar) {
        const std::set<std::string> zbar = ReadWithZbar(image);
        EXPECT_EQ(zbar.count(c.expected), 1u) << "zbar read " << Joined(zbar);
      }
      if (c.readers & kZxing)
        EXPECT_EQ(read.count(c.expected), 1u) << "ZXing read " << Joined(read);
    }
  }
}

}  // namespace
}  // namespace vellum::testing
