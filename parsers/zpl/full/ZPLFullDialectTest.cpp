// The full dialect: field placement, fonts, text data, field blocks, serial
// numbers, formats, and errors that cost a field but never the label.

#include <string>
#include <tuple>

#include "parsers/zpl/ZPLTestSupport.h"
#include "record/CommandRecord.h"

namespace {

using record::TextParam;
using Lines = std::vector<std::wstring>;

class ZPLFullDialectTest : public zpltest::ZPLParserTestBase {
 protected:
  CommandList ParseFull(std::string_view job, int dpi = 203) {
    ZPLFullParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList records;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records);
    return records;
  }
  // The text records of a job, each as the positions asked for joined by "|".
  Lines Texts(std::string_view job, std::initializer_list<size_t> positions, int dpi = 203) {
    Lines out;
    for (const LabelCommand& r : ParseFull(job, dpi)) {
      if (r.kind != TEXT && r.kind != SEQUENCE_TEXT) continue;
      std::wstring line;
      for (size_t p : positions) line += (line.empty() ? L"" : L"|") + r.params.at(p);
      out.push_back(line);
    }
    return out;
  }
  static std::vector<int32_t> Kinds(const CommandList& records) {
    std::vector<int32_t> kinds;
    for (const LabelCommand& r : records) kinds.push_back(r.kind);
    return kinds;
  }
};

TEST_F(ZPLFullDialectTest, FieldsArePlacedByOriginHomeShiftAndJustification) {
  const std::pair<std::string, Lines> cases[] = {
      {"^XA^FO10,20^A0N,30^FDHi^FS^XZ", {L"Hi|10|20|TOP|L|0"}},
      {"^XA^FT10,20^A0N,30^FDHi^FS^XZ", {L"Hi|10|20|BASELINE|L|0"}},
      {"^XA^FO10.7,20.2,1^A0N,30^FDHi^FS^XZ", {L"Hi|10|20|TOP|R|0"}},
      {"^XA^LH100,50^FO10,20^FDHi^FS^XZ", {L"Hi|110|70|TOP|L|0"}},
      {"^XA^LS30^FO100,20^FDHi^FS^LS0^XZ", {L"Hi|70|20|TOP|L|0"}},
      {"^XA^FT50,60^FDa^FS^FT^FDb^FS^XZ", {L"a|50|60|BASELINE|L|0", L"b|50|60|FOLLOW|L|0"}},
      {"^XA^FWR,1^FO5,5^FDHi^FS^FWN,0^XZ", {L"Hi|5|5|TOP|R|270"}},
      {"^XA^FO5,5^A0B^FDHi^FS^FO5,5^A0I^FDHo^FS^XZ", {L"Hi|5|5|TOP|L|90", L"Ho|5|5|TOP|L|180"}},
      // The data ends the field at "^XZ", or when the next origin begins.
      {"^XA^FO5,5^FDHi^XZ", {L"Hi|5|5|TOP|L|0"}},
      {"^XA^FO5,5^FDone^FO6,6^FDtwo^FS^XZ", {L"one|5|5|TOP|L|0", L"two|6|6|TOP|L|0"}},
      // A malformed coordinate is read from its first digit, or defaults.
      {"^XA^FOB50,660^A0N,30^FDHi^FS^XZ", {L"Hi|50|660|TOP|L|0"}},
      {"^XA^FTx-5,y20z^FDHi^FS^XZ", {L"Hi|-5|20|BASELINE|L|0"}},
      {"^XA^FOB,7,R1^FDHi^FS^XZ", {L"Hi|0|7|TOP|R|0"}},
      {"^XA^FOab,10^FDHi^FS^XZ", {L"Hi|0|10|TOP|L|0"}},
      // A font before the origin belongs to the same field.
      {"^XA^A0N,30^FO5,5^FDHi^FS^XZ", {L"Hi|5|5|TOP|L|0"}},
  };
  for (const auto& [job, texts] : cases) {
    ZPLData fresh;  // the label home lasts from job to job
    data_ = fresh;
    EXPECT_EQ(Texts(job, {TextParam::kText, TextParam::kX, TextParam::kY, TextParam::kOriginKind,
                          TextParam::kOriginJustify, TextParam::kRotation}),
              texts)
        << job;
  }
}

// Face, bold, cell height, cap height, baseline, advance, width percent.
TEST_F(ZPLFullDialectTest, FontsGiveTheirCells) {
  const std::tuple<std::string, int, const wchar_t*> cases[] = {
      {"^A0N,40,20", 203, L"Roboto Condensed|T|40|30|30|10|100"},
      {"^A0N,40", 203, L"Roboto Condensed|T|40|30|30|20|100"},
      {"^A0N,,28", 203, L"Roboto Condensed|T|28|21|21|14|100"},
      {"^ADN", 203, L"DejaVu Sans Mono|T|18|14|14|12|100"},
      {"^ADN,36,20", 203, L"DejaVu Sans Mono|T|36|28|28|24|100"},
      {"^ADN,40", 203, L"DejaVu Sans Mono|T|36|28|28|24|100"},
      {"^ADN,18,100", 203, L"DejaVu Sans Mono|T|18|14|14|120|100"},
      {"^AEN", 203, L"DejaVu Sans Mono|T|28|20|21|20|100"},
      {"^AEN", 300, L"DejaVu Sans Mono|T|42|30|32|26|100"},
      {"^AAN,900,900", 203, L"DejaVu Sans Mono|T|90|70|70|60|100"},
      {"^CF0,60^FO1,1^A0N", 203, L"Roboto Condensed|T|60|45|45|30|100"},
      {"^CFA,30^FO1,1^ADN", 203, L"DejaVu Sans Mono|T|36|28|28|24|100"},
      {"^A1N,30", 203, L"DejaVu Sans Mono|T|27|21|21|18|100"},  // unknown: the default, A
      // P to V scale freely, advancing the width asked for.
      {"^APN,,30", 203, L"DejaVu Sans Mono|T|30|20|24|30|100"},
      {"^ASN,40,20", 203, L"DejaVu Sans Mono|T|40|27|32|20|100"},
      {"^CFV,60^FO1,1^AVN", 203, L"DejaVu Sans Mono|T|60|40|48|60|100"},
      // The "^GS" marks: a 24-dot cell grown by whole magnifications.
      {"^GS", 203, L"DejaVu Sans|F|24|15|15||100"},
      {"^GSN,70,80", 203, L"DejaVu Sans|F|72|45|45||100"},
      {"^CFA,50^FO1,1^GS", 203, L"DejaVu Sans|F|48|30|30||100"},
      // "^CF" reads one character of font: "B0" is font B.
      {"^CFB0,30^FO1,1", 203, L"DejaVu Sans Mono|T|33|33|33|27|100"},
      {"^CW1,E:ARIAL.TTF^A1N,40,20", 203, L"ARIAL|F|40|30|30||50"},
      {"^A@N,40,40,E:TT0003M_.TTF", 203, L"TT0003M_|F|40|30|30||100"},
  };
  for (const auto& [font, dpi, cell] : cases) {
    ZPLData fresh;
    data_ = fresh;
    const std::string job = "^XA^FO1,1" + font + "^FDx^FS^XZ";
    const Lines texts = Texts(
        job,
        {TextParam::kFontName, TextParam::kBold, TextParam::kCellHeight, TextParam::kCapHeight,
         TextParam::kBaseline, TextParam::kAdvance, TextParam::kWidthPercent},
        dpi);
    ASSERT_FALSE(texts.empty()) << job;
    EXPECT_EQ(texts.back(), cell) << job << " at " << dpi;
  }
}

TEST_F(ZPLFullDialectTest, FieldDataIsDecodedAsThePrinterReadsIt) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"^FH^FDa_41b", L"aAb"},
      {"^FH\\^FDa\\41\\4", L"aA\\4"},
      {"^FH^FD_4G_", L"_4G_"},
      {"^CI28^FH^FD_C3_A9", L"\u00e9"},
      {"^CI28^FD\xC3\xA9t\xC3", L"\u00e9t\uFFFD"},
      {"^CI28^FD\xE2\x82\xAC", L"\u20ac"},
      {"^CI0^FD\x81", L"\u00fc"},
      {"^CI13^FD\x9C", L"\u00a3"},
      {"^CI27^FD\x80\xE9", L"\u20ac\u00e9"},
      {"^CI30^FDA\x00", std::wstring(L"A")},
      {"^FB200,2^FDa\\&b\\\\c", L"a\nb\\c"},
      {"^FDa\\&b", L"a\\&b"},
      {"^FD  spaced ", L"  spaced "},
      {"^FDa,b,c", L"a,b,c"},
      {"^GSN,40,40^FDA BC", L"\u00ae \u00a9\u2122"},
      // Fonts B and H have capitals only.
      {"^ABN^FDHello b", L"HELLO B"},
      {"^CFH^FDocr-a", L"OCR-A"},
      {"^ADN^FDMixed", L"Mixed"},
  };
  for (const auto& [field, text] : cases) {
    ZPLData fresh;
    data_ = fresh;
    const std::string job = "^XA^FO1,1" + field + "^FS^XZ";
    const std::string bytes =
        field.starts_with("^CI30") ? std::string("^XA^FO1,1^CI30^FDA\0^FS^XZ", 25) : job;
    EXPECT_EQ(Texts(bytes, {TextParam::kText}), Lines{text}) << field;
  }
}

// "^CC" and "^CT" change the prefixes from where they stand: the old ones
// are then data.
TEST_F(ZPLFullDialectTest, PrefixesCanChange) {
  const std::pair<std::string, Lines> cases[] = {
      {"^XA^CC++FO1,1+FDa^b+FS+CC^^FO2,2^FDc^FS^XZ", {L"a^b", L"c"}},
      {"^XA~CT#^FO1,1^FDa~b^FS#CT~^XZ", {L"a~b"}},
      {"^XA^FO1,1^FDa+b^FS^XZ", {L"a+b"}},
  };
  for (const auto& [job, texts] : cases) {
    EXPECT_EQ(Texts(job, {TextParam::kText}), texts) << job;
    EXPECT_EQ(Kinds(ParseFull(job)).back(), PRINT_LABEL) << job;
  }
}

TEST_F(ZPLFullDialectTest, TheSymbolFontLastsOneField) {
  EXPECT_EQ(Texts("^XA^FO1,1^GS^FDC^FS^FO1,1^A0^FDC^FS^XZ", {TextParam::kText}),
            Lines({L"\u2122", L"C"}));
}

// The UL ("D") and CSA ("E") marks are a ring and centred letters in the
// mark's cell, one symbol-font pitch (the cell and a twelfth) per character;
// "^FT" gives the cell's baseline, and a field without coordinates has no
// place to draw them from.
TEST_F(ZPLFullDialectTest, ApprovalMarksAreRingsRoundTheirLetters) {
  using record::ShapeParam;
  const std::pair<std::string, Lines> cases[] = {
      {"^FO10,20^GSN,48^FDD", {L"CIRCLE 10 20 48 48", L"UL 10 30 48 C"}},
      {"^FO10,20^GSN,48^FDE", {L"CIRCLE 10 20 48 48", L"SA 10 32 48 C"}},
      {"^FO10,20^GSN,48^FDAD", {L"CIRCLE 62 20 48 48", L"UL 62 30 48 C", L"\u00ae 10 20 0 L"}},
      {"^FT10,50^GSN,24^FDD", {L"CIRCLE 10 35 24 24", L"UL 10 40 24 C"}},
      {"^FT10,50^FS^FT^GSN,24^FDD", {}},
      {"^FO10,20^GSR,48^FDD", {}},
  };
  for (const auto& [field, expected] : cases) {
    ZPLData fresh;
    data_ = fresh;
    Lines drawn;
    for (const LabelCommand& r : ParseFull("^XA" + field + "^FS^XZ")) {
      if (r.kind == SHAPE) {
        drawn.push_back(r.params[ShapeParam::kName] + L" " + r.params[ShapeParam::kX] + L" " +
                        r.params[ShapeParam::kY] + L" " + r.params[ShapeParam::kWidth] + L" " +
                        r.params[ShapeParam::kHeight]);
      } else if (r.kind == TEXT && r.params[TextParam::kText] != L"") {
        drawn.push_back(r.params[TextParam::kText] + L" " + r.params[TextParam::kX] + L" " +
                        r.params[TextParam::kY] + L" " + r.params[TextParam::kBlockWidth] + L" " +
                        r.params[TextParam::kBlockJustify]);
      }
    }
    EXPECT_EQ(drawn, expected) << field;
  }
}

TEST_F(ZPLFullDialectTest, FieldBlocksCarryTheirLayout) {
  const std::pair<std::string, std::wstring> cases[] = {
      // width, lines, spacing, justification, indent, and the record's own justification
      {"^FB400,3,5,C,20", L"400|3|5|C|20|C"},
      {"^FB400", L"400|1|0|L|0|L"},
      {"^FB400,,,J", L"400|1|0|J|0|L"},
      {"^FB400,2,-4,R", L"400|2|-4|R|0|R"},
      {"^FB400,2,,X", L"0|1|0|L|0|L"},  // malformed: no block
      {"", L"0|1|0|L|0|L"},
  };
  for (const auto& [block, layout] : cases) {
    const std::string job = "^XA^FO1,1" + block + "^FDx^FS^XZ";
    EXPECT_EQ(Texts(job, {TextParam::kBlockWidth, TextParam::kBlockLines, TextParam::kBlockSpacing,
                          TextParam::kBlockJustify, TextParam::kHangingIndent,
                          TextParam::kJustification}),
              Lines{layout})
        << job;
  }
}

// A field that cannot print is logged and skipped; the label still prints.
TEST_F(ZPLFullDialectTest, ErrorsCostTheFieldNotTheLabel) {
  const std::tuple<std::string, Lines, std::string> cases[] = {
      {"^XA^A0N,30^FDlost^FS^FO1,1^FDkept^FS^XZ",
       {L"kept"},
       "NO FIELD ORIGIN DEFINED, FIELD SKIPPED: ^FDlost"},
      {"^XA^FO1,2,3,4^FDlost^FS^FO1,1^FDkept^FS^XZ",
       {L"kept"},
       "Incorrect Number of Parameters for FIELD ORIGIN"},
      {"^XA^ZZ99^FO1,1^FDkept^FS^XZ", {L"kept"}, "Unsupported command: ^ZZ99"},
      {"^XA^GB100,10,10^FDlost^FS^FO1,1^FDkept^FS^XZ",
       {L"kept"},
       "NO FIELD ORIGIN DEFINED, FIELD SKIPPED: ^GB100,10,10"},
      {"^XA^FO1,1^A0N,x^FDkept^FS^XZ",
       {L"kept"},
       "Invalid parameters for SCALABLE/BITMAPPED FONT, command skipped: ^A0N,x"},
      {"^XA^CI99^FO1,1^FDkept^FS^XZ",
       {L"kept"},
       "Invalid parameters for CHANGE INTERNATIONAL FONT/ENCODING, command skipped: ^CI99"},
  };
  for (const auto& [job, texts, message] : cases) {
    std::filesystem::remove(root_ / "Logging" / "ZPL_ERROR_LOG.TXT");
    const CommandList records = ParseFull(job);
    EXPECT_EQ(Texts(job, {TextParam::kText}), texts) << job;
    EXPECT_EQ(records.back().kind, PRINT_LABEL) << job;
    ASSERT_FALSE(LogMessages().empty()) << job;
    EXPECT_EQ(LogMessages().front(), message) << job;
  }
  // The device reads the same job its own way: the missing origin ends it.
  EXPECT_NE(Kinds(Parse("^XA^A0N,30^FDlost^FS^FO1,1^A0N^FDkept^FS^XZ")).back(), PRINT_LABEL);
}

TEST_F(ZPLFullDialectTest, FormatsPrintOnlyWhatTheyHold) {
  using K = std::vector<int32_t>;
  const std::pair<std::string, K> cases[] = {
      // A format that only sets the printer up starts no label; its
      // settings are records of their own.
      {"^XA^MMT^PW800^LL1200^CI28^XZ", {}},
      {"^XA~TA000~JSN^LT0^MNW^MTT^PON^PMN^LH0,0^JMA^PR6,6~SD15^JUS^LRN^CI27^PA0,1,1,0^XZ",
       {TEAROFF_POSITION, PRINT_ROTATION, MIRROR_PRINTING}},
      // Settings before the first field apply to the label.
      {"^XA^POI^FO1,1^FDx^FS^XZ",
       {START_LABEL, PRINT_ROTATION, TEXT, PRINT_QUANTITY, END_LABEL, PRINT_LABEL}},
      {"^XA^POI^XA^FO1,1^FDx^FS^XZ",
       {PRINT_ROTATION, START_LABEL, TEXT, PRINT_QUANTITY, END_LABEL, PRINT_LABEL}},
      // A job cut off inside a format still started the label it drew.
      {"^XA^FO1,1^FDx^FS", {START_LABEL, TEXT}},
      {"^XA^FO1,1^FDx^FS^XZ", {START_LABEL, TEXT, PRINT_QUANTITY, END_LABEL, PRINT_LABEL}},
      {"^XA^FO1,1^GB10,10,1^FS^XZ", {START_LABEL, SHAPE, PRINT_QUANTITY, END_LABEL, PRINT_LABEL}},
      {"^XA^FO1,1^FR^FDx^FS^XZ", {START_LABEL, TEXT, PRINT_QUANTITY, END_LABEL, PRINT_LABEL}},
      {"^XA^PW800^LL1200^FO1,1^FDx^FS^XZ",
       {START_LABEL, TEXT, LABEL_LENGTH, PRINT_QUANTITY, END_LABEL, PRINT_LABEL}},
  };
  for (const auto& [job, kinds] : cases) {
    ZPLData fresh;
    data_ = fresh;
    EXPECT_EQ(Kinds(ParseFull(job)), kinds) << job;
  }
  const CommandList sized = ParseFull("^XA^PW800^LL1200^FO1,1^FDx^FS^PQ3^XZ");
  EXPECT_EQ(sized[2].params, Lines({L"1200", L"800"}));
  EXPECT_EQ(sized[3].params[0], L"3");
}

// The preamble desktop drivers put before every job sets the prefixes and the
// delimiter back to their defaults, then a format of settings only: nothing
// in it is a problem. Changed prefixes and delimiters hold until changed back.
TEST_F(ZPLFullDialectTest, PrefixAndDelimiterChangesAreReadAsAPrinterDoes) {
  const std::pair<std::string, Lines> cases[] = {
      {"CT~~CD,~CC^~CT~\r\n^XA^LH0,0^CI27^PA0,1,1,0^XZ\r\n^XA^FO5,6^FDHi^FS^XZ", {L"Hi|5|6"}},
      {"^XA^CD;^FO5;6^FDa,b;c^FS^CD,^FO7,8^FDd^FS^XZ", {L"a,b;c|5|6", L"d|7|8"}},
      // "^" no longer begins a command after the change.
      {"^XA^CC+^FO9,9^FDno^FS+FO5,6+FDyes+FS+CC^^FO7,8^FDback^FS^XZ", {L"yes|5|6", L"back|7|8"}},
  };
  for (const auto& [job, texts] : cases) {
    data_ = ZPLData{};
    EXPECT_EQ(Texts(job, {TextParam::kText, TextParam::kX, TextParam::kY}), texts) << job;
    EXPECT_TRUE(LogMessages().empty()) << job << ": " << LogMessages().front();
  }
}

TEST_F(ZPLFullDialectTest, SerialNumbersCountFromLabelToLabel) {
  const std::pair<std::string, std::wstring> cases[] = {
      // start, increment, labels, prefix, postfix | copies
      {"^SNBOX007-A,2,Y^FS^PQ4", L"007|2|4|BOX|-A|1"},
      {"^SN007,1,N^FS^PQ4,0,1", L"7|1|4|||2"},
      {"^SN10,-1^FS", L"10|-1|1|||1"},
  };
  for (const auto& [serial, expected] : cases) {
    const CommandList records = ParseFull("^XA^FO1,1" + serial + "^XZ");
    ASSERT_GE(records.size(), 3u) << serial;
    const LabelCommand& text = records[1];
    ASSERT_EQ(text.kind, SEQUENCE_TEXT) << serial;
    std::wstring line;
    for (size_t p : {TextParam::kSourceText, TextParam::kIncrement, TextParam::kLabelCount,
                     TextParam::kPrefix, TextParam::kPostfix}) {
      line += text.params.at(p) + L"|";
    }
    EXPECT_EQ(line + records[2].params[0], expected) << serial;
  }
  // No digits: printed as it stands.
  EXPECT_EQ(Texts("^XA^FO1,1^SNNONE^FS^XZ", {TextParam::kText}), Lines{L"NONE"});
}

// Barcodes and boxes are the shared records, placed the full way: a baseline
// origin is their bottom edge (a barcode's, found by the renderer, is the
// origin itself).
TEST_F(ZPLFullDialectTest, ObjectsUseTheFullOrigin) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"^FT100,300^BCN,100^FD123^FS", L"9 100|300"},
      {"^FO100,300^BCN,100^FD123^FS", L"9 100|300"},
      {"^LH10,10^FO100,300^BCN,100^FD123^FS^LH0,0", L"9 110|310"},
      {"^FT10,100^GB50,20,2^FS", L"18 10|80"},
      {"^FT10,100^GB50,1,8^FS", L"18 10|92"},
  };
  for (const auto& [field, xy] : cases) {
    const CommandList records = ParseFull("^XA" + field + "^XZ");
    ASSERT_GE(records.size(), 2u) << field;
    const LabelCommand& r = records[1];
    const size_t x =
        r.kind == BARCODE ? size_t{record::BarcodeParam::kX} : size_t{record::ShapeParam::kX};
    EXPECT_EQ(platform::IntToWide(r.kind) + L" " + r.params[x] + L"|" + r.params[x + 1], xy)
        << field;
  }
}

TEST_F(ZPLFullDialectTest, SettingsLastFromJobToJob) {
  ParseFull("^XA^LH40,40^CF0,50^FWB^CI28^XZ");
  EXPECT_EQ(Texts("^XA^FO1,1^FD\xC3\xA9^FS^XZ",
                  {TextParam::kText, TextParam::kX, TextParam::kCellHeight, TextParam::kRotation}),
            Lines{L"\u00e9|41|50|90"});
}

TEST_F(ZPLFullDialectTest, FullDialectHandlesWhatItPrintsAndHostCommands) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"^FT10,10", true},
      {L"^A0N,30", true},
      {L"^FB100", true},
      {L"^CI28", true},
      {L"^LH1,1", true},
      {L"^MMT", true},
      {L"^GFA,1,1,1,00", true},
      {L"^ZZ", false},
      {L"^CC+", true},
      {L"~JA", true},
      {L"^IDR:*.GRF", true},
      {L"~MD5", true},
      // Settings of no effect here, and status queries, are not worth a hint.
      {L"^MD10", false},
      {L"^PR4", false},
      {L"~HS", false},
  };
  for (const auto& [command, handled] : cases) {
    EXPECT_EQ(CZPLParser::FullDialectHandles(command), handled) << command;
  }
}

}  // namespace
