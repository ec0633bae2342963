// The example jobs a user starts from must parse as their comments promise:
// the clean ones log nothing, and the one with mistakes logs exactly the
// quoted messages of its comments, in order.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "parsers/tpl/TPLTestJob.h"

namespace {

using TPLExamplesTest = TPLJobTest;

const std::filesystem::path kExamples =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "examples" / "tpl";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The double-quoted texts of the job's comment lines.
std::vector<std::string> QuotedInComments(const std::string& job) {
  std::vector<std::string> quoted;
  std::istringstream lines(job);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("//", 0) != 0) continue;
    for (size_t open = line.find('"'); open != std::string::npos; open = line.find('"', open)) {
      size_t close = line.find('"', open + 1);
      if (close == std::string::npos) break;
      quoted.push_back(line.substr(open + 1, close - open - 1));
      open = close + 1;
    }
  }
  return quoted;
}

TEST_F(TPLExamplesTest, CleanJobsPrintWithoutComplaint) {
  for (const char* name : {"shipping_label.tpl", "price_tag.tpl", "shapes_and_picture.tpl"}) {
    std::filesystem::remove_all(root_);
    CommandList commands = Parse(ReadFile(kExamples / name));
    ASSERT_FALSE(commands.empty()) << name;
    std::vector<int32_t> kinds = Kinds(commands);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), START_LABEL), 1) << name;
    EXPECT_EQ(commands.back().kind, PRINT_LABEL) << name;
    EXPECT_TRUE(Logged().empty()) << name;
  }
}

TEST_F(TPLExamplesTest, MistakesAreExplainedInTheLog) {
  std::string job = ReadFile(kExamples / "mistakes.tpl");
  ASSERT_FALSE(job.empty());
  CommandList commands = Parse(job);
  EXPECT_EQ(Logged(), QuotedInComments(job));
  EXPECT_EQ(commands.back().kind, PRINT_LABEL);
}

}  // namespace
