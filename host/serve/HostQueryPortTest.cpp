// The raw port answering the host's status queries, end to end: the built
// labelhost serves on 127.0.0.1 and each query is sent as printing software
// sends it. The answers' framing (STX 0x02, ETX 0x03, CR LF), field counts
// and values are checked against the printer's setup, for several setups.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

constexpr int kQuietMs = 300;  // answers come at once; this long silent ends one

struct Media {
  const char* name;
  std::vector<std::string> args;
  int dotsPerMm;
  int widthDots;
  int lengthDots;  // 0: continuous media
};

const Media kSetups[] = {
    {"203 dpi, 4x6 in", {"--dpi", "203", "--media", "4x6in"}, 8, 812, 1218},
    {"300 dpi, 2 in continuous", {"--dpi", "300", "--width", "2"}, 12, 600, 0},
    {"600 dpi, 1x0.5 in", {"--dpi", "600", "--media", "1x0.5in"}, 24, 600, 300},
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator)
      parts.emplace_back();
    else
      parts.back().push_back(c);
  }
  return parts;
}

std::string Padded(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", digits, value);
  return text;
}

// The lines of an answer made of STX text ETX CR LF lines; fails on any
// other byte around or inside them.
std::vector<std::string> FramedLines(const std::string& answer) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < answer.size()) {
    EXPECT_EQ(answer[pos], '\x02') << "at " << pos;
    const size_t end = answer.find("\x03\r\n", pos);
    if (end == std::string::npos) {
      ADD_FAILURE() << "no ETX CR LF after " << pos;
      break;
    }
    lines.push_back(answer.substr(pos + 1, end - pos - 1));
    EXPECT_EQ(lines.back().find_first_of("\x02\x03\r\n"), std::string::npos) << lines.back();
    pos = end + 3;
  }
  return lines;
}

// The lines of an answer framed as one block: STX CR LF, lines, ETX CR LF.
std::vector<std::string> BlockLines(const std::string& answer) {
  if (answer.rfind("\x02\r\n", 0) != 0 || answer.size() < 6 ||
      answer.compare(answer.size() - 3, 3, "\x03\r\n") != 0) {
    ADD_FAILURE() << "not one STX ... ETX CR LF block: " << answer;
    return {};
  }
  std::vector<std::string> lines = Split(answer.substr(3, answer.size() - 6), '\n');
  EXPECT_EQ(lines.back(), "");  // the last line ends with CR LF too
  lines.pop_back();
  for (std::string& line : lines) {
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << line;
    if (!line.empty()) line.pop_back();
  }
  return lines;
}

std::vector<size_t> FieldCounts(const std::vector<std::string>& lines) {
  std::vector<size_t> counts;
  for (const std::string& line : lines) counts.push_back(Split(line, ',').size());
  return counts;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct Query {
  std::string sent;
  std::function<void(const std::string& answer, const Media& setup)> check;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

Query GetVar(const std::string& name, std::function<std::string(const Media&)> value) {
  return {"! U1 getvar \"" + name + "\"\r\n", [value](const std::string& answer, const Media& s) {
            EXPECT_EQ(answer, Quoted(value(s)));
          }};
}

const std::vector<Query>& Queries() {
  static const std::vector<Query> queries = {
      {"~HS",
       [](const std::string& answer, const Media& s) {
         const std::vector<std::string> lines = FramedLines(answer);
         ASSERT_EQ(FieldCounts(lines), (std::vector<size_t>{12, 11, 2}));
         const std::vector<std::string> first = Split(lines[0], ','), second = Split(lines[1], ',');
         EXPECT_EQ(first[1], "0");  // paper out
         EXPECT_EQ(first[2], "0");  // pause
         EXPECT_EQ(first[3], Padded(s.lengthDots, 4));
         EXPECT_EQ(second[0], s.lengthDots == 0 ? "128" : "000");  // continuous media bit
         EXPECT_EQ(second[2], "0");                                // head up
         EXPECT_EQ(second[6], std::to_string(s.dotsPerMm == 8 ? 1 : s.dotsPerMm == 12 ? 2 : 3));
       }},
      {"~HI\r\n",
       [](const std::string& answer, const Media& s) {
         const std::vector<std::string> lines = FramedLines(answer);
         ASSERT_EQ(FieldCounts(lines), std::vector<size_t>{5});
         const std::vector<std::string> fields = Split(lines[0], ',');
         EXPECT_EQ(fields[0], "labelhost");
         EXPECT_EQ(fields[1].rfind("V", 0), 0u) << fields[1];
         EXPECT_EQ(fields[2], std::to_string(s.dotsPerMm));
         EXPECT_EQ(fields[3], "65536KB");
       }},
      {"~HQES\r\n",
       [](const std::string& answer, const Media&) {
         EXPECT_EQ(BlockLines(answer), (std::vector<std::string>{
                                           "  PRINTER STATUS",
                                           "    ERRORS:         0 00000000 00000000",
                                           "    WARNINGS:       0 00000000 00000000",
                                       }));
       }},
      {"~HD",
       [](const std::string& answer, const Media& s) {
         const std::vector<std::string> lines = BlockLines(answer);
         EXPECT_TRUE(HasLine(lines, "Head Test = Passed"));
         EXPECT_TRUE(HasLine(lines, "Static_pitch_length = " + Padded(s.lengthDots, 4)));
       }},
      GetVar("device.languages", [](const Media&) { return "zpl"; }),
      GetVar("device.product_name", [](const Media&) { return "labelhost"; }),
      GetVar("media.width", [](const Media& s) { return std::to_string(s.widthDots); }),
      GetVar("ezpl.print_width", [](const Media& s) { return std::to_string(s.widthDots); }),
      GetVar("zpl.label_length", [](const Media& s) { return std::to_string(s.lengthDots); }),
      GetVar("print.tone", [](const Media&) { return "10.0"; }),
      GetVar("no.such.variable", [](const Media&) { return "?"; }),
      {"! U1 getvar \"appl.name\"\r\n",
       [](const std::string& answer, const Media&) {
         EXPECT_EQ(answer.rfind("\"V", 0), 0u) << answer;
         EXPECT_EQ(answer.back(), '"');
       }},
      {"! U1 getvar \"device.host_status\"\r\n",
       [](const std::string& answer, const Media& s) {
         ASSERT_GE(answer.size(), 2u);
         EXPECT_EQ(answer.front(), '"');
         EXPECT_EQ(answer.back(), '"');
         const std::vector<std::string> fields = Split(answer.substr(1, answer.size() - 2), ',');
         ASSERT_EQ(fields.size(), 12u + 11u + 2u);
         EXPECT_EQ(fields[3], Padded(s.lengthDots, 4));
       }},
      {"^XA^HH^XZ\r\n",
       [](const std::string& answer, const Media& s) {
         const std::vector<std::string> lines = BlockLines(answer);
         std::string width = "  " + std::to_string(s.widthDots);
         width.resize(22, ' ');
         EXPECT_TRUE(HasLine(lines, width + " PRINT WIDTH")) << answer;
       }},
      {"^XA^HZA^XZ",
       [](const std::string& answer, const Media& s) {
         EXPECT_EQ(answer.rfind("<?xml version=\"1.0\"", 0), 0u) << answer;
         EXPECT_NE(answer.find("<SETTING NAME=\"zpl.label_length\" TITLE=\"LABEL LENGTH\">" +
                               std::to_string(s.lengthDots) + "</SETTING>\r\n"),
                   std::string::npos)
             << answer;
         EXPECT_EQ(answer.compare(answer.size() - 2, 2, "\r\n"), 0);
       }},
  };
  return queries;
}

// Every query on one connection, which stays open between them; a client
// that only asks prints nothing and leaves nothing in the report.
TEST(HostQueryPortTest, EveryQueryIsAnsweredFromThePrintersSetup) {
  for (const Media& setup : kSetups) {
    SCOPED_TRACE(setup.name);
    ScratchDir dir;
    ServerProcess server(dir, setup.args);
    ASSERT_TRUE(server.started()) << server.Stderr();
    RawClient client(server.rawPort());
    for (const Query& query : Queries()) {
      SCOPED_TRACE(query.sent);
      ASSERT_TRUE(client.Send(query.sent));
      query.check(client.ReceiveUntilQuiet(kQuietMs), setup);
    }
    client.FinishSending();
    EXPECT_TRUE(client.ServerClosed());
    EXPECT_EQ(server.Stop(), 0);
    EXPECT_TRUE(FileNames(dir / "out").empty());
    EXPECT_EQ(server.Stdout(), "");
  }
}

// Queries before, between and after two jobs in one write: each is answered
// in order, both jobs print, and the connection answers again afterwards.
TEST(HostQueryPortTest, QueriesInterleavedWithJobsAreAnsweredAndTheJobsPrint) {
  const std::string kJob = "^XA^FO10,10^A0N,20,20^FDOne^FS^XZ";
  const std::string kOther = "^XA^FO10,10^A0N,20,20^FDTwo^FS^XZ";
  for (const char* dialect : {"device", "full"}) {
    SCOPED_TRACE(dialect);
    ScratchDir dir;
    ServerProcess server(dir, {"--dpi", "203", "--media", "2x1in", "--zpl", dialect});
    ASSERT_TRUE(server.started()) << server.Stderr();
    std::string status, errors;
    {
      RawClient alone(server.rawPort());
      ASSERT_TRUE(alone.Send("~HS"));
      status = alone.ReceiveUntilQuiet(kQuietMs);
      ASSERT_TRUE(alone.Send("~HQES"));
      errors = alone.ReceiveUntilQuiet(kQuietMs);
    }
    ASSERT_FALSE(status.empty());
    RawClient client(server.rawPort());
    ASSERT_TRUE(client.Send("~HS\r\n" + kJob + "\r\n~HQES\r\n" + kOther +
                            "! U1 getvar \"zpl.label_length\"\r\n"));
    EXPECT_EQ(client.ReceiveUntilQuiet(kQuietMs), status + errors + "\"203\"");
    EXPECT_TRUE(server.WaitForFiles("out", 2));
    ASSERT_TRUE(client.Send("~HS"));
    EXPECT_EQ(client.ReceiveUntilQuiet(kQuietMs), status);
    client.FinishSending();
    EXPECT_TRUE(client.ServerClosed());
    EXPECT_EQ(server.Stop(), 0);
    EXPECT_EQ(FileNames(dir / "out").size(), 2u);
    EXPECT_EQ(CountLines(server.Stdout(), "\"labels\":1,"), 2u);
    EXPECT_EQ(CountLines(server.Stdout(), "\"source\""), 2u) << server.Stdout();
  }
}

}  // namespace
}  // namespace host::testing
