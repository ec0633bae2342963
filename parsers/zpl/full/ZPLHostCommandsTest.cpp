// Commands to the printer in both dialects: the full dialect takes them
// silently, standing alone or inside a format, and a format holding nothing
// else prints nothing; the device goes on reading them as it always has.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "parsers/zpl/ZPLTestSupport.h"
#include "record/CommandRecord.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::wstring>;

class ZPLHostCommandsTest : public zpltest::ZPLParserTestBase {
 protected:
  Lines Full(const std::string& job) {
    ZPLFullParser parser(&data_);
    parser.SetParserDPI(203);
    CommandList records;
    parser.ParseData(job.data(), static_cast<int32_t>(job.size()), records);
    return DescribeRecords(records);
  }
  Lines Device(const std::string& job) {
    data_ = ZPLData();
    return ParseAndDescribe(job);
  }
};

TEST_F(ZPLHostCommandsTest, FullTakesHostCommandsAloneOrInAFormatAndTheDeviceAsBefore) {
  const struct {
    std::string command;
    Lines full;         // the records, standing alone or in a format of nothing else
    Lines deviceAlone;  // what the device makes of it, as it always has
  } cases[] = {
      {"~JA", {}, {L"SCRIPT_ERROR Unsupported command: ~JA"}},
      {"~JR", {}, {L"SCRIPT_ERROR Unsupported command: ~JR"}},
      {"~WC", {L"PRINT_CONFIGURATION_LABEL"}, {L"PRINT_CONFIGURATION_LABEL"}},
      {"~SD25", {}, {L"SCRIPT_ERROR Unsupported command: ~SD25"}},
      {"~TA010", {L"TEAROFF_POSITION 010"}, {L"TEAROFF_POSITION 010"}},
      {"~JSN", {}, {L"SCRIPT_ERROR Unsupported command: ~JSN"}},
      {"^JUS", {}, {L"SCRIPT_ERROR Unsupported command: ^JUS"}},
      {"~MD0", {}, {L"SCRIPT_ERROR Unsupported command: ~MD0"}},
      {"^IDR:NONE.GRF", {}, {L"SCRIPT_ERROR Unsupported command: ^IDR:NONE.GRF"}},
      {"^MNM", {}, {L"SCRIPT_ERROR Unsupported command: ^MNM"}},
      {"^MTD", {}, {L"SCRIPT_ERROR Unsupported command: ^MTD"}},
      {"^MMT", {}, {L"SCRIPT_ERROR Unsupported command: ^MMT"}},
      // Status queries reach a job only from a file: nobody is there to answer.
      {"~HS", {}, {L"SCRIPT_ERROR Unsupported command: ~HS"}},
      {"~HQES", {}, {L"SCRIPT_ERROR Unsupported command: ~HQES"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(Full(c.command), c.full);
    EXPECT_EQ(Full("^XA" + c.command + "^FS^XZ"), c.full);
    // Beside a field, the format prints its label ("~JA" cancels what came before).
    const Lines label = Full("^XA^FO5,5^FDx^FS" + c.command + "^XZ");
    const bool prints = std::find(label.begin(), label.end(), L"END_LABEL") != label.end();
    EXPECT_EQ(prints, c.command != "~JA");
    EXPECT_EQ(Device(c.command), c.deviceAlone);
  }
  for (const std::string& line : LogMessages()) {
    EXPECT_EQ(line.rfind("Unsupported command: ", 0), 0u) << line;  // the device's only
  }
}

TEST_F(ZPLHostCommandsTest, CancelAllDropsWhatTheJobHoldsBeforeIt) {
  const std::pair<std::string, Lines> cases[] = {
      {"^XA^FO1,1^FDa^FS^XZ~JA^XA^FO2,2^FDb^FS^XZ", {L"b"}},
      {"^XA^FO1,1^FDa^FS^XZ^XA^FO2,2^FDb^FS^XZ~JA", {}},
      {"~JA^XA^FO1,1^FDa^FS^XZ", {L"a"}},
  };
  for (const auto& [job, texts] : cases) {
    Lines printed;
    for (const std::wstring& record : Full(job)) {
      if (record.rfind(L"TEXT ", 0) == 0) printed.push_back(record.substr(5, 1));
    }
    EXPECT_EQ(printed, texts) << job;
  }
}

TEST_F(ZPLHostCommandsTest, DeleteObjectRemovesStoredGraphicsAndLogsBadNames) {
  Full("~DGR:LPRINT.GRF,2,1,FFFF");
  ASSERT_TRUE(fs::exists(root_ / "Graphics" / "LPRINT.GRF"));
  EXPECT_EQ(Full("^XA^IDR:LPRINT.GRF^FS^XZ"), Lines{});
  EXPECT_FALSE(fs::exists(root_ / "Graphics" / "LPRINT.GRF"));
  EXPECT_TRUE(LogMessages().empty());
  EXPECT_EQ(Full("^IDR:../X.GRF"),
            Lines{L"SCRIPT_ERROR Invalid parameters for OBJECT DELETE, command skipped: "
                  L"^IDR:../X.GRF"});
  EXPECT_EQ(LogMessages().size(), 1u);
}

}  // namespace
