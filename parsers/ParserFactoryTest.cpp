#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "intake/Languages.h"
#include "parsers/ParserFactory.h"

namespace {

TEST(ParserFactoryTest, UnknownLanguagesGetNoParser) {
  CParserFactory factory;
  for (int32_t code : {0, -1, 6, 99, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(factory.GetParser(code), nullptr) << code;
  }
}

// A language gets its parser by a folder under parsers/ and a row in the
// factory: a folder whose row was forgotten would build and print nothing.
TEST(ParserFactoryTest, EveryLanguageWithAParserFolderHasARow) {
  const std::filesystem::path parsers = std::filesystem::path(LABELENGINE_SOURCE_DIR) / "parsers";
  ASSERT_TRUE(std::filesystem::is_directory(parsers / "tpl")) << parsers;
  CParserFactory factory;
  for (const Language& language : kLanguages) {
    std::string folder = language.name;
    for (char& c : folder) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool hasFolder = std::filesystem::is_directory(parsers / folder);
    EXPECT_EQ(factory.GetParser(language.code) != nullptr, hasFolder) << language.name;
  }
}

}  // namespace
