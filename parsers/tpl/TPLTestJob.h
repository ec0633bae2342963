#pragma once
// Test support: runs TPL jobs through a TPLParser with a log folder of its
// own, and reads back the messages the parser logged.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "parsers/tpl/TPLParser.h"
#include "platform/StorageCard.h"

class TPLJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousRoot_ = platform::StoreRoot();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() /
            ("tpl-" + std::to_string(getpid()) + "-" + test->name());
    std::filesystem::remove_all(root_);
    platform::SetStoreRoot(root_);
  }

  void TearDown() override {
    platform::SetStoreRoot(previousRoot_);
    std::filesystem::remove_all(root_);
  }

  // One statement per line, CR LF after each.
  static std::string Job(std::initializer_list<const char*> lines) {
    std::string job;
    for (const char* line : lines) job += std::string(line) + "\r\n";
    return job;
  }

  CommandList Parse(const std::string& job, int dpi = 300) {
    TPLParser parser(&data_);
    parser.SetParserDPI(dpi);
    CommandList out;
    EXPECT_TRUE(parser.ParseData(job.data(), static_cast<int32_t>(job.size()), out));
    return out;
  }

  // The messages logged so far, without their time stamps.
  std::vector<std::string> Logged() const {
    std::ifstream file(root_ / "Logging" / "TPL_ERROR_LOG.TXT", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::vector<std::string> messages;
    std::string all = text.str();
    constexpr size_t kPrefix = sizeof("[01/15/2024, 09:05:07] ") - 1;
    for (size_t start = 0, end; (end = all.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      messages.push_back(all.substr(start + kPrefix, end - start - kPrefix));
    }
    return messages;
  }

  static std::vector<int32_t> Kinds(const CommandList& commands) {
    std::vector<int32_t> kinds;
    for (const LabelCommand& c : commands) kinds.push_back(c.kind);
    return kinds;
  }

  // The params of the only command of `kind`.
  static std::vector<std::wstring> ParamsOf(const CommandList& commands, int32_t kind) {
    const LabelCommand* found = nullptr;
    for (const LabelCommand& c : commands) {
      if (c.kind != kind) continue;
      EXPECT_EQ(found, nullptr) << "more than one command of kind " << kind;
      found = &c;
    }
    EXPECT_NE(found, nullptr) << "no command of kind " << kind;
    return found ? found->params : std::vector<std::wstring>();
  }

  TPLData data_;
  std::filesystem::path root_;
  std::filesystem::path previousRoot_;
};
