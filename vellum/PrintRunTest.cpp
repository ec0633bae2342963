// How print jobs expand into printed labels: copies, sequences, prompts and
// date-time fields, checked on the values each printed label carries.
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "vellum/PrintRun.h"
#include "vellum/VellumTestSupport.h"

namespace vellum::testing {
namespace {

std::vector<std::wstring> FirstValues(const MemorySink& sink) {
  std::vector<std::wstring> values;
  for (const auto& entry : sink.entries()) values.push_back(entry.values.at(0));
  return values;
}

void Print(TestPrinter& printer, int quantity, int labelCount = 1) {
  printer.sink.Clear();
  printer.engine->InitPrintData();
  printer.engine->AddPrintData(VPrintData{L"*CurrentLabel*", quantity, 1, labelCount, 1});
  printer.engine->StartPrint(kVPrintDevice, 0, 1, 1);
}

TEST(PrintRun, SequenceOfFiveLabelsPrintsFiveValues) {
  struct Case {
    const wchar_t* start;
    int count, increment, repeatEach, quantity;
    std::vector<std::wstring> expected;
  };
  const Case cases[] = {
      {L"1", 5, 1, 1, 1, {L"A-1-Z", L"A-2-Z", L"A-3-Z", L"A-4-Z", L"A-5-Z"}},
      {L"007", 3, 5, 1, 1, {L"A-007-Z", L"A-012-Z", L"A-017-Z"}},
      {L"10", 3, -6, 1, 1, {L"A-10-Z", L"A-4-Z", L"A--2-Z"}},
      {L"1", 2, 1, 1, 2, {L"A-1-Z", L"A-1-Z", L"A-2-Z", L"A-2-Z"}},  // copies share a value
      {L"1", 4, 1, 2, 1, {L"A-1-Z", L"A-1-Z", L"A-2-Z", L"A-2-Z"}},  // steps every second label
  };
  for (const Case& c : cases) {
    TestPrinter printer(203);
    printer.AddText(L"static", 10, 10, 600, 80, 12);
    printer.engine->SetDataSource(kVSourceSequence);
    printer.engine->SetSequence(c.start, c.count, c.increment, c.repeatEach, L"A-", L"-Z", L"");
    Print(printer, c.quantity, c.count);
    EXPECT_EQ(FirstValues(printer.sink), c.expected);
    for (size_t i = 0; i < printer.sink.entries().size(); ++i) {
      const auto& entry = printer.sink.entries()[i];
      EXPECT_EQ(entry.info.number, static_cast<int>(i) + 1);
      EXPECT_NE(entry.json.find(platform::WideToUtf8(L"\"value\":\"" + c.expected[i] + L"\"")),
                std::string::npos);
      EXPECT_FALSE(InkBounds(entry.bitmap).empty());
    }
  }
}

TEST(PrintRun, PromptsPrintTheAnswerElseTheDefault) {
  VellumSettings settings;
  settings.promptAnswerer = [](const std::wstring& prompt, const std::wstring&) {
    return prompt == L"Lot?" ? std::optional<std::wstring>(L"L-42") : std::nullopt;
  };
  TestPrinter printer(300, settings);
  for (const wchar_t* prompt : {L"Lot?", L"Batch?"}) {
    printer.AddText(L"", 10, 10, 600, 80, 12);
    printer.engine->SetDataSource(kVSourcePrompt);
    printer.engine->SetPrompt(prompt, L"default", 0, L"Message", 1, L"", L"");
  }
  Print(printer, 2);
  ASSERT_EQ(printer.sink.entries().size(), 2u);
  for (const auto& entry : printer.sink.entries()) {
    EXPECT_EQ(entry.values, (std::vector<std::wstring>{L"L-42", L"default"}));
  }
}

TEST(PrintRun, DateTimeFieldsPrintTheFixedClock) {
  platform::ScopedFixedClock clock(platform::LocalTime{2024, 2, 29, 23, 5, 1, 0, 4});
  struct Case {
    const wchar_t* picture;
    const wchar_t* expected;
  };
  // Every picture is checked by the formatter's own tests; these show the
  // engine prints the clock's date, 12- and 24-hour time, and quoted text.
  const Case cases[] = {
      {L"dddd, MMMM d, yyyy", L"Thursday, February 29, 2024"},
      {L"MM/dd/yy' 'h:mm tt", L"02/29/24 11:05 PM"},
      {L"HH:mm:ss", L"23:05:01"},
  };
  TestPrinter printer(300);
  for (size_t i = 0; i < std::size(cases); ++i) {
    printer.AddText(L"", 10, 10 + static_cast<int>(i) * 40, 1000, 40, 8);
    printer.engine->SetDataSource(kVSourceDateTime);
    printer.engine->SetDateTimeFormat(cases[i].picture, 1);
  }
  Print(printer, 1);
  ASSERT_EQ(printer.sink.entries().size(), 1u);
  const auto& values = printer.sink.entries()[0].values;
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(values[i], cases[i].expected);
}

TEST(PrintRun, QuantityBelowOneAndRunawayJobsAreBounded) {
  struct Case {
    int quantity, labelCount;
    int64_t printed;
    bool reported;
  };
  const Case cases[] = {{0, 1, 1, true},
                        {-3, 1, 1, true},
                        {3, 1, 3, false},
                        {1000, 1000, kMaxLabelsPerJob, true},
                        {2147483647, 7, kMaxLabelsPerJob, true}};
  for (const Case& c : cases) {
    PrintJob job;
    job.data = VPrintData{L"job", c.quantity, 1, c.labelCount, 1};
    ObjectData serial;
    serial.type = kVObjText;
    serial.dataSource = kVSourceSequence;
    serial.sequence.labelCount = c.labelCount;
    job.label.objects.push_back(serial);
    Diagnostics diagnostics;
    int64_t printed = 0;
    PrintRun(nullptr, platform::Now).Expand(job, diagnostics, [&](const PrintedValues&) {
      ++printed;
    });
    EXPECT_EQ(printed, c.printed);
    EXPECT_EQ(!diagnostics.entries().empty(), c.reported);
  }
}

TEST(PrintRun, SequenceValueKeepsWidthAndSign) {
  struct Case {
    const wchar_t* start;
    int increment;
    int64_t label;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"0099", 1, 2000, L"2099"}, {L"-05", 1, 2, L"-03"}, {L"x", 1, 3, L"3"}, {L"", 10, 1, L"10"}};
  for (const Case& c : cases) {
    SequenceData s;
    s.start = c.start;
    s.increment = c.increment;
    EXPECT_EQ(SequenceValue(s, c.label), c.expected);
  }
}

}  // namespace
}  // namespace vellum::testing
