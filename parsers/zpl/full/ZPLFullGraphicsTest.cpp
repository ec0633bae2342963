// The full dialect's graphics and stored formats: "^GF" in every form becomes
// one picture of the store's Graphics folder, "~DG" stores a graphic that
// "^XG" and "^IM" recall, "^DF"/"^XF"/"^FN" fill stored formats, and bad
// input costs its field (with a log line) but never the label or the job.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "parsers/zpl/ZPLGraphicTestSupport.h"
#include "parsers/zpl/ZPLStore.h"
#include "parsers/zpl/ZPLTestSupport.h"
#include "record/CommandRecord.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::wstring>;

class ZPLFullGraphicsTest : public zpltest::ZPLParserTestBase {
 protected:
  CommandList ParseFull(const std::string& job) {
    ZPLFullParser parser(&data_);
    parser.SetParserDPI(203);
    CommandList records;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records);
    return records;
  }
  // The records of `kind`, each as its positions joined by "|".
  Lines Records(const std::string& job, int32_t kind, std::initializer_list<size_t> positions) {
    Lines out;
    for (const LabelCommand& r : ParseFull(job)) {
      if (r.kind != kind) continue;
      std::wstring line;
      for (size_t p : positions) line += (line.empty() ? L"" : L"|") + r.params.at(p);
      out.push_back(line);
    }
    return out;
  }
  Lines Graphics(const std::string& job) {
    using G = record::GraphicParam;
    return Records(job, GRAPHIC,
                   {G::kName, G::kX, G::kY, G::kWidth, G::kHeight, G::kReverse, G::kInk});
  }
  Lines Texts(const std::string& job) {
    return Records(job, TEXT, {record::TextParam::kText, record::TextParam::kX});
  }
  bool LogHas(const std::string& part) const {
    for (const std::string& line : LogMessages()) {
      if (line.find(part) != std::string::npos) return true;
    }
    return false;
  }
  std::vector<std::string> StoredFiles(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root_ / folder, ec)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(ZPLFullGraphicsTest, GraphicFieldsPrintThroughOnePictureOfTheStore) {
  const ZplBitmap sample = zplgfx::SampleBitmap();
  const std::wstring name = ZplGraphicContentName(sample);
  for (const std::string& form : zplgfx::GraphicForms()) {
    const std::string field = zplgfx::GraphicField(sample, form);
    EXPECT_EQ(Graphics("^XA^FO30,40" + field + "^FS^XZ"), Lines{name + L"|30|40|0|0|F|B"}) << form;
    // A baseline origin is the picture's bottom-left corner; the label home moves it.
    EXPECT_EQ(Graphics("^XA^LH5,5^FT30,40" + field + "^FS^LH0,0^XZ"),
              Lines{name + L"|35|22|0|0|F|B"})
        << form;
  }
  // "^FR" before or after the graphic, or "^LRY", reverses what lies below it.
  const std::string field = zplgfx::GraphicField(sample, "hex");
  for (const std::string& reverse : {"^FR" + field, field + "^FR", "^LRY" + field + "^LRN"}) {
    EXPECT_EQ(Graphics("^XA^FO1,2" + reverse + "^FS^XZ"), Lines{name + L"|1|2|0|0|F|R"}) << reverse;
  }
  // Stored once, as the 40 x 23 bitmap it is.
  EXPECT_EQ(StoredFiles("Graphics"), std::vector<std::string>{platform::WideToUtf8(name)});
  const auto size = StoredPictureSize(name);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 40);
  EXPECT_EQ(size->height, 23);
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(ZPLFullGraphicsTest, BadGraphicsCostTheirFieldOnly) {
  const ZplBitmap sample = zplgfx::SampleBitmap();
  std::string crc = zplgfx::GraphicField(sample, "z64");
  crc.back() = crc.back() == '0' ? '1' : '0';
  const std::pair<std::string, std::string> cases[] = {
      {"^GFA,4,4,2,FFFFFFFF", "NO FIELD ORIGIN DEFINED"},
      {"^FO1,1^GFX,4,4,2,FFFFFFFF", "Invalid parameters for GRAPHIC FIELD"},
      {"^FO1,1^GFA,4,4", "Invalid parameters for GRAPHIC FIELD"},
      {"^FO1,1" + crc, "Graphic field skipped, CRC mismatch"},
      {"^FO1,1^GFA,4,4,2,FFF", "less than the declared byte count"},
      {"^FO1,1^GFA,99999999,99999999,2,FF", "declared size too large"},
      // Binary data whose count runs past the job's end (a text tool changed
      // it): the commands after it still end the field and the format.
      {"^FO1,1^GFB,500,4,2,\xff\x01", "does not hold the declared byte count"},
      {"^FO1,1^GFC,80,4,2,\x78\x9c", "does not hold the declared byte count"},
  };
  for (const auto& [field, message] : cases) {
    fs::remove_all(root_ / "Logging");
    const std::string job = "^XA" + field + "^FS^FO9,9^A0N,20^FDafter^FS^XZ";
    EXPECT_TRUE(Graphics(job).empty()) << field;
    EXPECT_EQ(Texts(job), Lines{L"after|9"}) << field;
    EXPECT_TRUE(LogHas(message)) << field;
  }
  EXPECT_TRUE(StoredFiles("Graphics").empty());
}

TEST_F(ZPLFullGraphicsTest, DownloadedGraphicsAreRecalledByName) {
  const ZplBitmap sample = zplgfx::SampleBitmap();
  const std::string hex = zplgfx::CompressedHex(sample);
  const std::string job = "~DGR:LOGO.GRF,115,5," + hex +
                          "^XA^FO10,10^XGR:LOGO.GRF,2,3^FS^FO100,10^IMR:LOGO.GRF^FS"
                          "^FO0,0^XGlogo^FS^XZ";
  EXPECT_EQ(Graphics(job), (Lines{L"LOGO.GRF|10|10|80|69|F|B", L"LOGO.GRF|100|10|0|0|F|B",
                                  L"LOGO.GRF|0|0|0|0|F|B"}));
  EXPECT_EQ(StoredFiles("Graphics"), std::vector<std::string>{"LOGO.GRF"});

  // A later job recalls what an earlier one stored; a missing name is logged.
  EXPECT_EQ(Graphics("^XA^FO1,1^XGE:LOGO^FS^FO1,1^XGR:NONE.GRF^FS^XZ"),
            Lines{L"LOGO.GRF|1|1|0|0|F|B"});
  EXPECT_TRUE(LogHas("Stored graphic not found: NONE.GRF"));
}

// What a full store or a stray file left in Graphics costs: a graphic that
// could not be written is absent (never an empty file), an empty or foreign
// content-named graphic is written again when next needed, and a FIFO under
// a graphic's name is reported as missing at once instead of waiting on it.
TEST_F(ZPLFullGraphicsTest, BrokenStoredGraphicsAreRewrittenOrReportedMissing) {
  const ZplBitmap sample = zplgfx::SampleBitmap();
  const std::wstring name = ZplGraphicContentName(sample);
  const fs::path cached = root_ / "Graphics" / platform::WideToUtf8(name);
  const std::string field = "^XA^FO1,1" + zplgfx::GraphicField(sample, "hex") + "^FS^XZ";
  fs::create_directories(root_ / "Graphics");
  for (const std::string& leftOver : {std::string(), std::string("not a picture")}) {
    std::ofstream(cached, std::ios::binary) << leftOver;
    EXPECT_EQ(Graphics(field), Lines{name + L"|1|1|0|0|F|B"});
    const auto size = StoredPictureSize(name);
    ASSERT_TRUE(size) << leftOver;
    EXPECT_EQ(size->width, 40);
  }
  EXPECT_EQ(StoredFiles("Graphics"), std::vector<std::string>{platform::WideToUtf8(name)});

  ASSERT_EQ(::mkfifo((root_ / "Graphics" / "PIPE.GRF").c_str(), 0644), 0);
  EXPECT_TRUE(Graphics("^XA^FO1,1^XGR:PIPE.GRF^FS^XZ").empty());
  EXPECT_TRUE(LogHas("Stored graphic not found: PIPE.GRF"));
}

// Names become file names only when they are plain names: nothing is ever
// written outside the Graphics folder.
TEST_F(ZPLFullGraphicsTest, GraphicNamesThatWouldLeaveTheFolderAreRefused) {
  const char* names[] = {"R:../../X.GRF", "R:A/B.GRF", "R:A\\B.GRF", "R:SEVENTEENCHARSXXX.GRF",
                         "R:LOGO.GRAF",   "R:.GRF",    "R:A B.GRF",  ""};
  for (const char* name : names) {
    fs::remove_all(root_ / "Logging");
    ParseFull(std::string("~DG") + name + ",2,1,FFFF");
    EXPECT_TRUE(LogHas("Invalid parameters for DOWNLOAD GRAPHICS")) << name;
  }
  EXPECT_TRUE(StoredFiles("Graphics").empty());
  EXPECT_FALSE(fs::exists(root_.parent_path() / "X.GRF"));
  EXPECT_FALSE(fs::exists(root_ / "X.GRF"));
}

TEST_F(ZPLFullGraphicsTest, StoredFormatsAreFilledByFieldNumber) {
  const std::string format =
      "^XA^DFR:SHIP.ZPL^FS"
      "^FO10,10^A0N,20^FDTo:^FS"
      "^FO10,40^A0N,20^FN1^FS"
      "^FO10,70^A0N,20^FN2^FDnobody^FS"
      "^FO10,100^BCN,50^FN3^FS^XZ";
  const Lines stored = Texts(format);
  EXPECT_TRUE(stored.empty());  // a format being stored does not print
  EXPECT_EQ(StoredFiles("Formats"), std::vector<std::string>{"SHIP.ZPL"});

  const std::string recall = "^XA^XFR:SHIP.ZPL^FS^FN1^FDAcme^FS^FN3^FH^FD12_334^FS^XZ";
  EXPECT_EQ(Texts(recall), (Lines{L"To:|10", L"Acme|10", L"nobody|10"}));
  EXPECT_EQ(Records(recall, BARCODE, {record::BarcodeParam::kData}), Lines{L"1234"});
  const CommandList records = ParseFull(recall);
  EXPECT_EQ(std::count_if(records.begin(), records.end(),
                          [](const LabelCommand& r) { return r.kind == PRINT_LABEL; }),
            1);
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(ZPLFullGraphicsTest, RecallsThatLoopOrMultiplyAreStopped) {
  // A recalls itself; B and C recall each other.
  ParseFull("^XA^DFR:A.ZPL^FO1,1^A0N,20^FDa^FS^XFR:A.ZPL^XZ");
  ParseFull("^XA^DFR:B.ZPL^FO1,1^A0N,20^FDb^FS^XFR:C.ZPL^XZ");
  ParseFull("^XA^DFR:C.ZPL^FO1,1^A0N,20^FDc^FS^XFR:B.ZPL^XZ");
  EXPECT_EQ(Texts("^XA^XFR:A.ZPL^XZ"), Lines{L"a|1"});
  EXPECT_TRUE(LogHas("Stored format A.ZPL recalls itself"));
  EXPECT_EQ(Texts("^XA^XFR:B.ZPL^XZ"), (Lines{L"b|1", L"c|1"}));
  EXPECT_TRUE(LogHas("Stored format B.ZPL recalls itself"));

  // Each level recalls the next ten times: a million fields, were it let.
  for (char level = 'D'; level < 'J'; ++level) {
    std::string body = "^XA^DFR:" + std::string(1, level) + ".ZPL";
    for (int i = 0; i < 10; ++i) body += "^XFR:" + std::string(1, level + 1) + ".ZPL";
    ParseFull(body + "^XZ");
  }
  ParseFull("^XA^DFR:J.ZPL^FO1,1^A0N,20^FDj^FS^XZ");
  const size_t fields = Texts("^XA^XFR:D.ZPL^XZ").size();
  EXPECT_GT(fields, 1000u);
  EXPECT_LT(fields, 100'000u);
  EXPECT_TRUE(LogHas("recall stopped"));

  ParseFull("^XA^XFR:NOPE.ZPL^XZ^XA^DFR:OPEN.ZPL^FO1,1^FDx");
  EXPECT_TRUE(LogHas("Stored format not found: NOPE.ZPL"));
  EXPECT_TRUE(LogHas("Format OPEN.ZPL not stored, the job ended before its ^XZ"));
}

// Boxes, circles and ellipses carry their ink: black, white, or reversing what
// lies below when the field ("^FR", before or after the shape) or the label
// ("^LRY") says so.
TEST_F(ZPLFullGraphicsTest, ShapesCarryTheirInk) {
  using S = record::ShapeParam;
  const std::pair<std::string, std::wstring> cases[] = {
      {"^FO5,5^GB100,50,3^FS", L"RECTANGLE|100|50|B"},
      {"^FO5,5^GB100,0,3,W^FS", L"RECTANGLE|100|3|W"},
      {"^FO5,5^FR^GB100,50,50^FS", L"RECTANGLE|100|50|R"},
      {"^FO5,5^GB100,50,50,W^FR^FS", L"RECTANGLE|100|50|R"},
      {"^FO5,5^GC40,2,w^FS", L"CIRCLE|40|40|W"},
      {"^FO5,5^GE60,30,2,B^FS", L"CIRCLE|60|30|B"},
      {"^LRY^FO5,5^GB10,10,1^FS^LRN", L"RECTANGLE|10|10|R"},
  };
  for (const auto& [field, shape] : cases) {
    EXPECT_EQ(Records("^XA" + field + "^XZ", SHAPE, {S::kName, S::kWidth, S::kHeight, S::kInk}),
              Lines{shape})
        << field;
  }
  // A border reaching the middle of the shorter side fills the shape (a
  // rounded box then has no hole in its middle).
  const std::pair<std::string, std::wstring> fills[] = {
      {"^FO5,5^GB70,70,70,,3^FS", L"S"}, {"^FO5,5^GB120,60,30,,8^FS", L"S"},
      {"^FO5,5^GB70,70,34,,3^FS", L""},  {"^FO5,5^GC40,20^FS", L"S"},
      {"^FO5,5^GE60,30,14^FS", L""},     {"^FO5,5^GB2147483647,2147483647,2147483647^FS", L"S"},
  };
  for (const auto& [field, fill] : fills) {
    EXPECT_EQ(Records("^XA" + field + "^XZ", SHAPE, {S::kFill}), Lines{fill}) << field;
  }
  // "^LRY" reverses text fields too.
  EXPECT_EQ(Records("^XA^LRY^FO1,1^A0N,20^FDx^FS^LRN^FO1,1^A0N,20^FDy^FS^XZ", TEXT,
                    {record::TextParam::kReverseBelow}),
            (Lines{L"T", L"F"}));
}

// A diagonal is a band as wide as its thickness, measured across, from one
// corner of its box to the other.
TEST_F(ZPLFullGraphicsTest, DiagonalsAreBandsAcrossTheirBox) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"^FO10,20^GD100,50,3^FS", L"4|10|70|13|70|113|20|110|20|S|0|B"},
      {"^FO10,20^GD100,50,3,B,L^FS", L"4|10|20|13|20|113|70|110|70|S|0|B"},
      {"^FO10,20^GD100,50,3,W,\\^FS", L"4|10|20|13|20|113|70|110|70|S|0|W"},
      {"^FT10,70^GD100,50,3,B,/^FS", L"4|10|70|13|70|113|20|110|20|S|0|B"},
      {"^FO10,20^GD,,4^FS", L"4|10|24|14|24|18|20|14|20|S|0|B"},
  };
  for (const auto& [field, polygon] : cases) {
    const Lines got =
        Records("^XA" + field + "^XZ", POLYGON, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    EXPECT_EQ(got, Lines{polygon}) << field;
  }
  EXPECT_TRUE(Records("^XA^FO1,1^GDx,5^FS^XZ", POLYGON, {0}).empty());
  EXPECT_TRUE(LogHas("Invalid parameters for DIAGONAL LINE"));
}

}  // namespace
