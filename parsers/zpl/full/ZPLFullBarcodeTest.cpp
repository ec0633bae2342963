// Barcodes in the full dialect: each command's options and defaults, "^BY",
// and how field data becomes what the symbology encodes (Code 128 invocation
// codes and modes, QR switches, Data Matrix escapes, MaxiCode's primary
// message).

#include <string>

#include "parsers/zpl/ZPLTestSupport.h"
#include "parsers/zpl/full/ZPLFullBarcode.h"
#include "record/CommandRecord.h"

namespace {

using P = record::BarcodeParam;
using Lines = std::vector<std::wstring>;

class ZPLFullBarcodeTest : public zpltest::ZPLParserTestBase {
 protected:
  // The barcode records of a full-dialect job, each as the positions asked
  // for joined by "|".
  Lines Barcodes(std::string_view job, std::initializer_list<size_t> positions, int dpi = 203) {
    ZPLFullParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList records;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records);
    Lines out;
    for (const LabelCommand& r : records) {
      if (r.kind != BARCODE) continue;
      std::wstring line;
      for (size_t p : positions) {
        line += (line.empty() ? L"" : L"|") + (p < r.params.size() ? r.params[p] : L"?");
      }
      out.push_back(line);
    }
    return out;
  }
};

// The 1-D commands: type, height, line, line above, check, module and ratio;
// "^BY" defaults are 2 dots, 3.0 and 10 dots.
TEST_F(ZPLFullBarcodeTest, LinearCommandsTakeTheirParametersAndTheBarcodeDefaults) {
  const std::initializer_list<size_t> kPositions = {
      P::kType,           P::kHeight,     P::kHumanReadable, P::kHumanReadableTop,
      P::kCheckCharacter, P::kModuleDots, P::kRatio,         P::kRotation};
  const std::pair<std::string, std::wstring> cases[] = {
      {"^BC^FD1", L"Code 128 Auto|10|T|BOTTOM|F|2|3.0|0"},
      {"^BY3,2.5,80^BCR,,N^FD1", L"Code 128 Auto|80|F|BOTTOM|F|3|2.5|270"},
      {"^BY5,9,50^B3N,Y,,Y,Y^FDA", L"Code 39|50|T|TOP|T|5|3.0|0"},
      {"^BY1^B2B,40,N,N,Y^FD12", L"Interleaved 2-of-5|40|F|BOTTOM|T|1|3.0|90"},
      {"^BEI,70^FD1", L"EAN/JAN-13|70|T|BOTTOM|F|2|3.0|180"},
      {"^B8N,70,N^FD1", L"EAN/JAN-8|70|F|BOTTOM|F|2|3.0|0"},
      {"^BUN,70^FD1", L"UPCA|70|T|BOTTOM|F|2|3.0|0"},
      {"^BAN,30,Y,N,Y^FDA", L"Code 93|30|T|BOTTOM|T|2|3.0|0"},
      {"^BKN,N,30^FD1", L"Codabar|30|T|BOTTOM|F|2|3.0|0"},
      {"^BMN,A,30^FD1", L"MSI Plessey|30|T|BOTTOM|F|2|3.0|0"},
      {"^BPN,,30^FD1", L"MSI Plessey|30|T|BOTTOM|T|2|3.0|0"},
      {"^B4N,30,A^FDA", L"Code 49|30|T|TOP|F|2|3.0|0"},
      {"^BZN,30^FD12345", L"Postnet|30|T|BOTTOM|F|2|3.0|0"},
      // "^FW" orients a barcode without its own orientation.
      {"^FWB^BC^FD1^FWN", L"Code 128 Auto|10|T|BOTTOM|F|2|3.0|90"},
  };
  for (const auto& [field, expected] : cases) {
    data_.full = ZPLFullSettings{};  // "^BY" lasts: each case starts from the printer's defaults
    EXPECT_EQ(Barcodes("^XA^FO10,10" + field + "^FS^XZ", kPositions), Lines{expected}) << field;
  }
}

TEST_F(ZPLFullBarcodeTest, BarcodeDefaultsLastAndRejectBadNumbers) {
  const std::initializer_list<size_t> kPositions = {P::kModuleDots, P::kRatio, P::kHeight};
  Barcodes("^XA^BY4,2.3,120^XZ", kPositions);
  EXPECT_EQ(Barcodes("^XA^FO1,1^BC^FD1^FS^XZ", kPositions), Lines{L"4|2.3|120"});
  EXPECT_EQ(Barcodes("^XA^BYx^BY20,1.2^FO1,1^BC^FD1^FS^XZ", kPositions), Lines{L"10|2.0|120"});
}

// What the data says about the symbol, and the 2-D commands' options.
TEST_F(ZPLFullBarcodeTest, SymbolOptionsComeFromTheCommandAndTheData) {
  const std::initializer_list<size_t> kPositions = {P::kData,       P::kModuleDots, P::kErrorLevel,
                                                    P::kSymbolSize, P::kRows,       P::kRowDots,
                                                    P::kSymbolMode, P::kPrimary};
  const std::pair<std::string, std::wstring> cases[] = {
      {"^BQN,2,5^FDHA,https://x.y/?a=1&b>2", L"https://x.y/?a=1&b>2|5|4|||||"},
      {"^BQN,2^FDLM,B0005A_B|C", L"A_B|C|2|1|||||"},
      {"^BQN,2,,M^FDno switches", L"no switches|2|2|||||"},
      {"^BXN,6,200,16,16^FDDM", L"DM|6||4||||"},
      {"^BXN,,200,,,,_^FD_1010950110153000317190508", L"[01]0950110153000317190508|0||||10|GS1|"},
      {"^BXN,4,200,,,,_,2^FDa_Gb__c_d065",
       L"a\x07"
       L"b_cA|4|||||RECTANGLE|"},
      {"^B0N,4,N,23^FDAz", L"Az|4|23|||||"},
      {"^BON,5,,95^FDAz", L"Az|5|95|||||"},
      {"^BON,,N,203^FDAz", L"Az|2||7||||"},
      {"^BON,3,N,300^FD25", L"25|3|||||RUNE|"},
      {"^BY3^B7N,8,5,6,20,Y^FDpdf", L"pdf|3|5|6|20|8|TRUNCATED|"},
      {"^B7N^FDpdf", L"pdf|2|0|||10||"},
      {"^BFN,12,15^FDmicro", L"micro|2||3||12||"},
      {"^BD3,2,4^FD001840ABC123   rest", L"rest|2|3||||STRUCTURED 2/4|ABC123840001"},
      {"^BD^FD002840100450000[)>", L"[)>|2|2|||||100450000840002"},
  };
  for (const auto& [field, expected] : cases) {
    data_.full = ZPLFullSettings{};
    EXPECT_EQ(Barcodes("^XA^FO10,10" + field + "^FS^XZ", kPositions), Lines{expected}) << field;
  }
  // Digits-only symbologies print the digits; UPC/EAN drop the check digit.
  EXPECT_EQ(Barcodes("^XA^FO1,1^B2N^FD>;9038-44^FS^FO1,1^BE^FD5901234123457^FS^XZ", {P::kData}),
            (Lines{L"903844", L"590123412345"}));
  // The printer's default magnification grows with its resolution.
  EXPECT_EQ(Barcodes("^XA^FO1,1^BQ^FDQA,x^FS^XZ", {P::kModuleDots}, 300), Lines{L"3"});
}

// ">" codes of Code 128, and modes U (UCC case) and D (UCC/EAN).
TEST_F(ZPLFullBarcodeTest, Code128InvocationCodesAndModes) {
  const std::tuple<wchar_t, std::wstring, std::wstring, std::wstring> cases[] = {
      {L'N', L"Hello 12", L"Hello 12", L"SUBSET B"},
      {L'N', L">:AB>0C><D>=", L"AB>C^D~", L"SUBSET B"},
      {L'N', L">;123456", L"123456", L""},
      {L'N', L">;382436>6CODE128>752375152", L"382436CODE12852375152", L""},
      {L'A', L"Hello 12", L"Hello 12", L""},
      {L'N', L">;>80012345678901234567>810ABC", L"[00]12345678901234567[10]ABC", L"GS1"},
      {L'D', L"(01)09501101530003(10)AB_C", L"[01]09501101530003[10]ABC", L"GS1"},
      {L'D', L"9632080400", L"[96]32080400", L"GS1"},
      {L'D', L">;>84201234>8921", L"[420]1234[92]1", L"GS1"},
      {L'U', L"0012345678901234567",
       L"[00]12345678901234567" + std::wstring(1, Gs1CheckDigit(L"0012345678901234567")), L"GS1"},
      {L'U', L"001234",
       L"[00]12340000000000000" + std::wstring(1, Gs1CheckDigit(L"0012340000000000000")), L"GS1"},
      // A lone ">" at the end stays a character.
      {L'N', L"A>", L"A>", L"SUBSET B"},
  };
  for (const auto& [mode, data, encoded, symbolMode] : cases) {
    const ZPLBarcodeData read = ReadCode128(mode, data);
    EXPECT_EQ(read.data, encoded) << data;
    EXPECT_EQ(read.mode, symbolMode) << data;
  }
  EXPECT_EQ(Gs1CheckDigit(L"0950110153000"), L'3');
}

// A 2-D field placed by "^FT" keeps its origin; a 1-D one stands on it.
// "^FT" is the bottom-left of every symbol (turned with it): the renderer,
// which finds the symbol's size, stands it on its origin.
TEST_F(ZPLFullBarcodeTest, BaselineOriginIsTheBottomOfEverySymbol) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"^FT10,200^BCN,50^FD1", L"10|200|BOTTOM"},
      {"^FT752,321^BCI,,N,N,N,A^FD1", L"752|321|BOTTOM"},
      {"^FT10,200^B3R,,40^FD1", L"10|200|BOTTOM"},
      {"^FO10,200^BQN^FDQA,1", L"10|210|"},
      {"^FO10,200^BXN,5,200^FDdata", L"10|200|"},
      {"^FT10,200^BQN^FDQA,1", L"10|200|BOTTOM"},
      {"^FT10,200^BXN,5,200^FDdata", L"10|200|BOTTOM"},
      {"^FT10,200^B0N,5^FDdata", L"10|200|BOTTOM"},
      {"^FT10,200^B7N,5^FDdata", L"10|200|BOTTOM"},
      {"^FT10,200^BD2^FDdata", L"10|200|BOTTOM"},
      {"^FT10,200^FS^FT^BQN^FDQA,1", L"10|200|BOTTOM"},
      {"^BY2,3,100^FO10,200^BQN^FDQA,1", L"10|300|"},  // "^BY" lasts: keep it last
  };
  for (const auto& [field, expected] : cases) {
    EXPECT_EQ(Barcodes("^XA" + field + "^FS^XZ", {P::kX, P::kY, P::kAnchor}), Lines{expected})
        << field;
  }
}

}  // namespace
