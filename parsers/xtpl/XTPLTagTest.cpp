// The tag reader and the attribute reader.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "parsers/xtpl/XTPLTag.h"
#include "parsers/xtpl/XTPLTagReader.h"

namespace {

using xtpl::Tag;
using xtpl::TagReader;
using xtpl::TagResult;
using Tags = std::vector<std::wstring>;

// The tags of `job`, then how the reading ended.
std::pair<Tags, TagResult> ReadAll(std::string_view job) {
  TagReader<char> reader(job);
  Tags tags;
  std::wstring tag;
  TagResult result;
  while ((result = reader.Next(tag)) == TagResult::kTag) tags.push_back(tag);
  return {tags, result};
}

TEST(XTPLTagReaderTest, CutsTagsAndTellsHowTheJobEnds) {
  const struct {
    std::string_view job;
    Tags tags;
    TagResult end;
  } cases[] = {
      {"", {}, TagResult::kEnd},
      {"no tags at all", {}, TagResult::kEnd},
      {"<A>text<B x=\"1\"/>\r\n <C>tail", {L"<A>", L"<B x=\"1\"/>", L"<C>"}, TagResult::kEnd},
      // The first quoted value of what is left may hold a ">"; later ones may not.
      {"<A x=\"a>b\" y=\"c\">", {L"<A x=\"a>b\" y=\"c\">"}, TagResult::kEnd},
      {"<A x=\"a\" y=\"c>d\">", {L"<A x=\"a\" y=\"c>"}, TagResult::kNoOpen},
      // A ">" in the text between tags is text.
      {"<A> 1 > 0 <B>", {L"<A>", L"<B>"}, TagResult::kEnd},
      {"> <A>", {L"<A>"}, TagResult::kEnd},
      // A "<" inside a tag is part of it.
      {"<A <B>", {L"<A <B>"}, TagResult::kEnd},
      {"<A><B", {L"<A>"}, TagResult::kNoClose},
      {"<A x=\">\"", {}, TagResult::kNoClose},
      {"<A>>", {L"<A>"}, TagResult::kNoOpen},
      {"<A x=\"unclosed>", {L"<A x=\"unclosed>"}, TagResult::kEnd},
  };
  for (const auto& c : cases) {
    const auto [tags, end] = ReadAll(c.job);
    EXPECT_EQ(tags, c.tags) << c.job;
    EXPECT_EQ(end, c.end) << c.job;
  }
}

// Wide jobs read like byte jobs.
TEST(XTPLTagReaderTest, WideText) {
  TagReader<wchar_t> reader(L"<A x=\"\u00e9>\">  <B>");
  std::wstring tag;
  ASSERT_EQ(reader.Next(tag), TagResult::kTag);
  EXPECT_EQ(tag, L"<A x=\"\u00e9>\">");
  ASSERT_EQ(reader.Next(tag), TagResult::kTag);
  EXPECT_EQ(tag, L"<B>");
  EXPECT_EQ(reader.Next(tag), TagResult::kEnd);
}

TEST(XTPLTagTest, NamesAreFoundOutsideValuesOnly) {
  const struct {
    const wchar_t* tag;
    const wchar_t* word;
    bool found;
  } cases[] = {
      {L"<STATIC-TEXT VALUE=\"Scan barcode\"/>", L"BARCODE", false},
      {L"<STATIC-TEXT VALUE=\"Scan barcode\"/>", L"STATIC-TEXT", true},
      {L"<A B=\"x\" C=\"/labels\">", L"/LABELS", false},
      {L"<a b=\"x\">", L"<A", true},  // recognition is by the upper-cased tag
      // A quote left open is not a value: its text is still read.
      {L"<A B=\"x\" C=\"LINE>", L"LINE", true},
  };
  for (const auto& c : cases) EXPECT_EQ(Tag(c.tag).Contains(c.word), c.found) << c.tag;
}

TEST(XTPLTagTest, GetValueReadsAndDeletesTheAttribute) {
  const struct {
    const wchar_t* tag;
    std::vector<const wchar_t*> names;  // read in this order
    std::vector<std::optional<std::wstring>> values;
  } cases[] = {
      {L"<B HEIGHT=\"1.5\" WIDTH='2' >", {L"HEIGHT", L"WIDTH"}, {L"1.5", std::nullopt}},
      // A longer name read first hides itself from the shorter one.
      {L"<B HUMAN-READABLE-LOCATION=\"TOP\" HUMAN-READABLE=\"true\">",
       {L"HUMAN-READABLE-LOCATION", L"HUMAN-READABLE"},
       {L"TOP", L"TRUE"}},
      // Read the other way round, the shorter name takes the longer one's value.
      {L"<B HUMAN-READABLE-LOCATION=\"TOP\" HUMAN-READABLE=\"true\">",
       {L"HUMAN-READABLE", L"HUMAN-READABLE-LOCATION"},
       {L"TOP", std::nullopt}},
      // A name inside a value is not the attribute.
      {L"<T FONT-NAME=\"ROTATION SANS\" ROTATION=\"90\">",
       {L"ROTATION", L"FONT-NAME"},
       {L"90", L"ROTATION SANS"}},
      // Without quotes the next quoted value is taken; with none there is no value.
      {L"<L START-X=5 START-Y=\"6\">", {L"START-X", L"START-Y"}, {L"6", std::nullopt}},
      {L"<L START-X=5>", {L"START-X"}, {std::nullopt}},
      {L"<L X=\"\" Y=\"unclosed>", {L"X", L"Y"}, {L"", std::nullopt}},
      {L"<A>", {L"A"}, {std::nullopt}},
  };
  for (const auto& c : cases) {
    Tag tag(c.tag);
    for (size_t i = 0; i < c.names.size(); ++i) {
      EXPECT_EQ(tag.GetValue(c.names[i]), c.values[i]) << c.tag << " " << c.names[i];
    }
  }
}

TEST(XTPLTagTest, ValuesAsWrittenKeepTheirCaseAndStayInStep) {
  Tag tag(L"  <Prompt-Text Default=\"Ten kg\" Prompt=\"Weight?\"/>");
  EXPECT_EQ(tag.GetValueAsWritten(L"DEFAULT"), L"Ten kg");
  tag.RemoveString(L"PROMPT-");
  EXPECT_EQ(tag.GetValue(L"PROMPT"), L"WEIGHT?");
  EXPECT_EQ(tag.upper(), L"<TEXT  />");
}

}  // namespace
