// Graphic data as a full ZPL printer reads it: every form gives back the
// bitmap it was made from, the run-length compression's rules hold, and bad
// data is an error (never a partial picture), refused before allocating when
// its declared size is too large.

#include <gtest/gtest.h>

#include "parsers/zpl/ZPLGraphicData.h"
#include "parsers/zpl/ZPLGraphicTestSupport.h"
#include "platform/Text.h"

namespace {

using zplgfx::GraphicField;

// The "^GF" command's data as the decoder takes it.
ZplGraphicDecode DecodeCommand(const std::string& command) {
  const std::wstring text = platform::BytesToWide(command);
  std::vector<std::wstring> p;
  size_t start = 3;
  for (int i = 0; i < 4; ++i) {
    const size_t comma = text.find(L',', start);
    p.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  const ZplGraphicFormat format = p[0] == L"A"   ? ZplGraphicFormat::kAsciiHex
                                  : p[0] == L"B" ? ZplGraphicFormat::kBinary
                                                 : ZplGraphicFormat::kCompressedBinary;
  return DecodeZplGraphic(format, platform::LeadingInt(p[1]), platform::LeadingInt(p[2]),
                          platform::LeadingInt(p[3]), std::wstring_view(text).substr(start));
}

TEST(ZPLGraphicDataTest, EveryFormGivesBackItsBitmap) {
  const ZplBitmap sample = zplgfx::SampleBitmap();
  for (const std::string& form : zplgfx::GraphicForms()) {
    const ZplGraphicDecode decoded = DecodeCommand(GraphicField(sample, form));
    ASSERT_TRUE(decoded.bitmap) << form << ": " << platform::WideToUtf8(decoded.error);
    EXPECT_EQ(decoded.bitmap->bits, sample.bits) << form;
    EXPECT_EQ(decoded.bitmap->rows, 23) << form;
    EXPECT_EQ(decoded.bitmap->WidthDots(), 40) << form;
    EXPECT_TRUE(decoded.warning.empty()) << form;
  }
}

TEST(ZPLGraphicDataTest, RunLengthCompressionRules) {
  // Two bytes a row; the expected bytes in hex.
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"0FF0A55A", "0FF0A55A"},    {L"IF0,", "FFF00000"},  // "I" is three
      {L",!", "0000FFFF"},                                  // an empty row, a full row
      {L"A5,:", "A500A500"},                                // ":" repeats the row before
      {L":1234", "00001234"},                               // the first row repeats nothing
      {L"12,34\r\n56", "12003456"},                         // line breaks are skipped
      {L"JA1:", "AAAA1AAA"},  // ":" mid-row finishes it from the row above
      {L"1G2HF,", "12FF0000"},
  };
  for (const auto& [data, hex] : cases) {
    const ZplGraphicDecode decoded = DecodeZplGraphic(ZplGraphicFormat::kAsciiHex, 0, 4, 2, data);
    ASSERT_TRUE(decoded.bitmap) << platform::WideToUtf8(data);
    EXPECT_EQ(zplgfx::Hex(zplgfx::Bytes(*decoded.bitmap)), hex) << platform::WideToUtf8(data);
  }
  // "g" to "z" count 20 to 400 and add up with "G" to "Y".
  const ZplGraphicDecode wide =
      DecodeZplGraphic(ZplGraphicFormat::kAsciiHex, 0, 222, 222, L"zgHFN0,");
  ASSERT_TRUE(wide.bitmap);
  EXPECT_EQ(zplgfx::Hex(zplgfx::Bytes(*wide.bitmap)), std::string(422, 'F') + std::string(22, '0'));
}

TEST(ZPLGraphicDataTest, BadDataIsAnErrorAndNoBitmap) {
  const ZplBitmap sample = zplgfx::SampleBitmap();
  std::string crc = GraphicField(sample, "z64");
  crc.back() = crc.back() == '0' ? '1' : '0';
  std::string z64 = GraphicField(sample, "z64");
  z64[40] = z64[40] == 'A' ? 'B' : 'A';  // the CRC is of the text: it no longer matches
  const std::string text = zplgfx::Encoded(zplgfx::Bytes(sample), true);
  const std::pair<std::string, std::string> cases[] = {
      {crc, "CRC mismatch"},
      {z64, "CRC mismatch"},
      {"^GFA,115,115,5," + text.substr(0, text.find(':', 5)) + ":12", "CRC is not four"},
      {"^GFA,4,4,2,:B64:AAA*", "bad base64"},
      {"^GFA,4,4,2,:Z64:" + zplgfx::Base64("not deflated"), "bad compression"},
      {"^GFC,5,4,2,junk!", "bad compression"},
      {"^GFA,4,4,2,12$4", "bad compression"},
      {"^GFA,4,4,2,123", "less than the declared"},
      {"^GFA,4,4,2,:B64:" + zplgfx::Base64("abc"), "less than the declared"},
      {"^GFB,3,4,2,abc", "less than the declared"},
      {"^GFB,9,4,2,abcd", "does not hold the declared"},
      {"^GFA,5,5,2,0011223344", "whole number of rows"},
      {"^GFA,0,0,0,", "no byte count"},
      {"^GFA,-4,-4,2,00", "no byte count"},
      {"^GFA,2000002,2000002,2,0", "too large"},
      {"^GFA,5002,5002,2501,0", "too large"},
  };
  for (const auto& [command, error] : cases) {
    const ZplGraphicDecode decoded = DecodeCommand(command);
    EXPECT_FALSE(decoded.bitmap) << command;
    EXPECT_NE(platform::WideToUtf8(decoded.error).find(error), std::string::npos)
        << command << ": " << platform::WideToUtf8(decoded.error);
  }
}

// A printer reads the bytes it was told of and leaves the rest: the bitmap
// keeps its declared size.
TEST(ZPLGraphicDataTest, DataPastTheDeclaredCountIsLeftOut) {
  const std::string cases[] = {
      "^GFA,2,2,1,0FF0AA",
      "^GFA,2,2,1,0F!,",
      "^GFA,2,2,1," + zplgfx::Encoded("\x0F\xF0\xAA", true),
      "^GFB,3,2,1,\x0F\xF0\xAA",
  };
  for (const std::string& command : cases) {
    const ZplGraphicDecode decoded = DecodeCommand(command);
    ASSERT_TRUE(decoded.bitmap) << command;
    EXPECT_EQ(zplgfx::Hex(zplgfx::Bytes(*decoded.bitmap)),
              command.find('!') != std::string::npos ? "0FFF" : "0FF0");
    EXPECT_FALSE(decoded.warning.empty());
  }
}

TEST(ZPLGraphicDataTest, CrcIsCcittFromZero) {
  EXPECT_EQ(ZplCrc16("123456789"), 0x31C3);
  EXPECT_EQ(ZplCrc16(""), 0);
}

}  // namespace
