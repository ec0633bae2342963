// Barcode commands: each command's canonical layout as "^FD" reads it, the
// count and number checks, and the field-origin errors.

#include <string>
#include <tuple>
#include <utility>

#include "parsers/zpl/ZPLTestSupport.h"

namespace {

using zpltest::ZPLParserTestBase;
using Lines = std::vector<std::wstring>;

using ZPLBarcodeTest = ZPLParserTestBase;

// Records are: type|data|x|y|size|rotation|shown|position|density|ratio|check.
TEST_F(ZPLBarcodeTest, EachCommandLaysOutItsParametersForTheData) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"^BCN,80", L"Code 128 Auto|D|100|50|80|0|T|BOTTOM|0|0|F"},
      {"^BC", L"Code 128 Auto|D|100|50|600|0|T|BOTTOM|0|0|F"},
      {"^BCB,70,N,Y,Y,A", L"Code 128 Auto|D|100|50|70|90|F|TOP|0|0|T"},
      {"^B3N,Y,40,N,Y", L"Code 39|D|100|50|40|0|F|TOP|0|0|T"},
      {"^B3", L"Code 39|D|100|50|600|0|T|BOTTOM|0|0|F"},
      {"^B2R,70,N,Y,Y", L"Interleaved 2-of-5|D|100|50|70|270|F|TOP|0|0|T"},
      {"^BEN,60", L"EAN/JAN-13|D|100|50|60|0|T|BOTTOM|0|0|F"},
      {"^B8I,40,N,Y", L"EAN/JAN-8|D|100|50|40|180|F|TOP|0|0|F"},
      {"^BUB,90,Y,Y,Y", L"UPCA|D|100|50|90|90|T|TOP|0|0|T"},
      {"^BU", L"UPCA|D|100|50|600|0|T|BOTTOM|0|0|T"},
      {"^B0N,5", L"Aztec|D|100|50|600|0|F|BOTTOM|0|0|F"},
      {"^BO", L"Aztec|D|100|50|600|0|F|BOTTOM|0|0|F"},
      {"^BOR,7,Y,Y,Y", L"Aztec|D|100|50|600|270|T|TOP|0|0|T"},
      {"^B4N,30", L"Code 49|D|100|50|30|0|T|BOTTOM|0|0|F"},
      {"^B7N,5", L"PDF 417|D|100|50|5|0|F|BOTTOM|0|0|F"},
      {"^B7", L"PDF 417|D|100|50||0|F|BOTTOM|0|0|F"},
      {"^B7N,5,1,2,3,Y", L"PDF 417|D|100|50|5|0|F|BOTTOM|0|0|F"},
      {"^B9R,40,Y,Y,Y", L"UPCE2|D|100|50|40|270|T|TOP|0|0|T"},
      {"^BAN,50,Y,N,Y", L"Code 93|D|100|50|50|0|T|BOTTOM|0|0|T"},
      {"^BA", L"Code 93|D|100|50||0|F|BOTTOM|0|0|F"},
      {"^BFN,20", L"Micro 417|D|100|50|20|0|T|BOTTOM|0|0|F"},
      {"^BFN,x", L"Micro 417|D|100|50|x|0|T|BOTTOM|0|0|F"},
      {"^BKN,N,40,Y,N", L"Codabar|D|100|50|40|0|T|BOTTOM|0|0|F"},
      {"^BKN,Y,40,N,Y,A,B", L"Codabar|D|100|50|40|0|F|TOP|0|0|F"},
      {"^BMN,A,40", L"MSI Plessey|D|100|50|40|0|F|TOP|0|0|F"},
      {"^BPN,Y,40", L"MSI Plessey|D|100|50|40|0|F|TOP|0|0|F"},
      {"^BQN,2,5", L"QRCode|D|100|50|300|0|F|BOTTOM|0|0|F"},
      {"^BQN,x", L"QRCode|D|100|50|300|0|F|BOTTOM|0|0|F"},
      {"^BSN,30", L"UPCE2|D|100|50|30|0|T|BOTTOM|0|0|F"},
      {"^BXN,10", L"Datamatrix|D|100|50|10|0|F|BOTTOM|0|0|F"},
      {"^BZN,30", L"Postnet|D|100|50|30|0|T|BOTTOM|0|0|F"},
  };
  for (const auto& [command, record] : cases) {
    EXPECT_EQ(ParseAndDescribe(std::string("^FO100,50") + command + "^FDD^FS"),
              Lines{std::wstring(L"BARCODE ") + record})
        << command;
  }
}

TEST_F(ZPLBarcodeTest, LongDataSwitchesTheUpcExtensionToFiveDigits) {
  EXPECT_EQ(Parse("^FO1,1^BSN,30^FD1234567890123").at(0).params[0], L"UPCE2");
  EXPECT_EQ(Parse("^FO1,1^BSN,30^FD12345678901234").at(0).params[0], L"UPCE5");
  EXPECT_EQ(Parse("^FO1,1^B9N,30^FD12345678901234").at(0).params[0], L"UPCE5");
  EXPECT_EQ(Parse("^FO1,1^BEN,30^FD12345678901234").at(0).params[0], L"EAN/JAN-13");
}

// Only the QR code's data loses its leading switches ("QA,", "HM,", "L,").
TEST_F(ZPLBarcodeTest, QrFieldDataLosesItsSwitchesOnly) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"^BQN,2,5^FDQA,https://example.invalid/p/1", L"https://example.invalid/p/1"},
      {"^BQN,2,5^FDHM,N123", L"N123"},
      {"^BQN,2,5^FDL,a,b", L"a,b"},
      {"^BQN,2,5^FDXA,data", L"XA,data"},
      {"^BQN,2,5^FDQRSTU,x", L"QRSTU,x"},
      {"^BQN,2,5^FD,lead", L",lead"},
      {"^BQN,2,5^FDplain", L"plain"},
      {"^BCN,30^FDQA,1", L"QA,1"}};
  for (const auto& [job, content] : cases) {
    EXPECT_EQ(Parse(std::string("^FO1,1") + job).at(0).params[1], content) << job;
  }
}

// "^BY" module width in dots becomes a density in mils; it carries to later fields.
TEST_F(ZPLBarcodeTest, ModuleWidthBecomesADensityInMilsAtThePrintersResolution) {
  const std::tuple<int, const char*, const wchar_t*> cases[] = {
      {300, "", L"0"},      {203, "^BY2", L"10"},  {300, "^BY2", L"7"},
      {203, "^BY4", L"20"}, {600, "^BY10", L"17"}, {203, "^BY3", L"15"}};
  for (const auto& [dpi, width, density] : cases) {
    EXPECT_EQ(Parse(std::string(width) + "^FO1,1^BCN,30^FD1", dpi).at(0).params[8], density)
        << width << " at " << dpi;
  }
}

TEST_F(ZPLBarcodeTest, RejectedCommandsAndMisplacedData) {
  const JobCase cases[] = {
      {"^FO1,1^BC1,2,3,4,5,6,7^FDD", {L"SCRIPT_ERROR Incorrect Number of Parameters for BAR CODE"}},
      {"^FO1,1^BMN,A,40,Y,N,Y,X^FDD",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for MSI BAR CODE"}},
      {"^FO1,1^BPN,Y,40,Y,N,X^FDD",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for PLESSEY BAR CODE"}},
      {"^FO1,1^BQN,2,5,Q,7,X^FDD",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for QRCODE BAR CODE"}},
      {"^FO1,1^BSN,30,Y,N,X^FDD",
       {L"SCRIPT_ERROR Incorrect Number of Parameters for UPC EAN BAR CODE"}},
      // A failed number check rejects the command silently; nothing is pending for the data.
      {"^FO1,1^BCN,abc^FDD", {}},
      {"^FO1,1^B3N,N,4.5^FDD", {}},
      {"^FO1,1^BMN,A,x^FDD", {}},
      {"^FO1,1^BXN,-^FDD", {L"BARCODE Datamatrix|D|1|1|-|0|F|BOTTOM|0|0|F"}},
      // A rejected barcode drops the origin of its field.
      {"^FO1,1^BCN,40^FS^FO2,2^BCN,x^FD123^FS^XZ",
       {L"SCRIPT_ERROR ERROR CREATING BARCODE, NO FIELD ORIGIN DEFINED"}},
      // Barcode data needs its object in the same field; a later font wins.
      {"^FO1,1^BCN,40^FS^FD123^XZ",
       {L"SCRIPT_ERROR ERROR CREATING BARCODE, NO FIELD ORIGIN DEFINED"}},
      {"^FO1,1^BCN,40^A0^FD123",
       {L"SCRIPT_ERROR ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED"}},
  };
  CheckJobs(cases);
}

TEST_F(ZPLBarcodeTest, EveryCommandNamesItsSymbologyWhenTheOriginIsMissing) {
  const std::string field = "ERROR CREATING FIELD DATA, NO FIELD ORIGIN DEFINED";
  const std::string aztec = "ERROR CREATING BARCODE, NO FIELD ORIGIN DEFINED FOR BARCODE AZTEC";
  // clang-format off
  const std::pair<const char*, const char*> suffixes[] = {
      {"^B3", "CODE 39"},  {"^BC", "CODE 128"},     {"^B2", "INTERLEAVED 2 OF 5"},
      {"^BE", "EAN13"},    {"^B8", "EAN_8"},        {"^BU", "UPCA"},
      {"^B4", "CODE_49"},  {"^B7", "PDF417"},       {"^B9", "UPCE"},
      {"^BA", "CODE_93"},  {"^BF", "MICRO_PDF417"}, {"^BK", "ANSI_CODABAR"},
      {"^BM", "MSI"},      {"^BP", "_PLESSEY"},     {"^BQ", "QR_CODE"},
      {"^BS", "_UPC_EAN_EXTENSIONS"}, {"^BX", "_DATA_MATRIX"}, {"^BZ", "_POSTNET"},
      {"^B0", nullptr},    {"^BO", nullptr}};
  // clang-format on
  size_t logged = 0;
  for (auto [command, suffix] : suffixes) {
    const std::string log = suffix ? field + " FOR BARCODE " + suffix : aztec;
    // The PDF 417 record keeps the plain field message.
    const std::string record = std::string(command) == "^B7" ? field : log;
    CommandList records = Parse(std::string("^XA") + command + "^FDD^XZ");
    ASSERT_EQ(records.size(), 2u) << command;
    EXPECT_EQ(platform::WideToUtf8(records[1].params[0]), record) << command;
    std::vector<std::string> lines = LogMessages();
    ASSERT_EQ(lines.size(), ++logged);
    EXPECT_EQ(lines.back(), log) << command;
  }
}

}  // namespace
