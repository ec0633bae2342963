#include <gtest/gtest.h>

#include "intake/ParserFactory.h"

namespace {

TEST(ParserFactoryTest, UnknownLanguagesGetNoParser) {
  CParserFactory factory;
  for (int32_t code : {0, -1, 6, 99, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(factory.GetParser(code), nullptr) << code;
  }
}

}  // namespace
