// End-to-end: two jobs of different languages in one read print as two jobs,
// in order, each with its report, whichever way the read arrives: on standard
// input of `render`, on the raw port, or as the body of POST /print.
#include <gtest/gtest.h>
#include <httplib.h>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

struct Job {
  const char* language;
  std::string bytes;
};

const Job kZpl = {"ZPL", "^XA^FO20,20^A0N,30,30^FDZPL^FS^XZ\r\n"};
const Job kTpl = {"TPL",
                  "STARTTPL\nSTARTLABEL\nSTARTTEXT\nTEXT TPL\nPOSITION 0.2,0.2\nENDTEXT\n"
                  "ENDLABEL\nENDTPL\n"};
const Job kDpl = {"DPL", "\x02L\r\n121100000200020DPL\r\nE\r\n"};
const Job kXtpl = {"XTPL",
                   "<?xml version=\"1.0\"?>\n<TPL-DOCUMENT><LABELS><LABEL HEIGHT=\"1\">"
                   "<TEXT POSITION-X=\"0.2\" POSITION-Y=\"0.2\"><DATASOURCE>"
                   "<STATIC-TEXT VALUE=\"XTPL\"/></DATASOURCE></TEXT></LABEL></LABELS>"
                   "</TPL-DOCUMENT>\n"};

// Pairs that one read used to print as one job, the second lost.
const std::pair<Job, Job> kPairs[] = {{kZpl, kTpl}, {kTpl, kZpl}, {kDpl, kZpl}, {kXtpl, kDpl}};

const std::vector<std::string> kPrinter = {"--dpi", "100", "--width", "2"};

std::string Read(const std::pair<Job, Job>& pair) { return pair.first.bytes + pair.second.bytes; }

// The JSON reports of `source` in `text`, in order.
std::vector<std::string> ReportsOf(const std::string& text, const std::string& source) {
  const std::string lead = "{\"source\":\"" + source + "\",";
  std::vector<std::string> reports;
  for (size_t at = text.find(lead); at != std::string::npos;) {
    const size_t next = text.find("{\"source\":", at + 1);
    reports.push_back(text.substr(at, next == std::string::npos ? next : next - at));
    at = next == std::string::npos ? next : text.find(lead, next);
  }
  return reports;
}

// Both jobs printed one label each, in the order sent, and nothing else was said.
void ExpectBothPrinted(const std::string& text, const std::string& source,
                       const std::pair<Job, Job>& pair) {
  SCOPED_TRACE(std::string(pair.first.language) + " then " + pair.second.language);
  const std::vector<std::string> reports = ReportsOf(text, source);
  ASSERT_EQ(reports.size(), 2u) << text;
  const Job* jobs[] = {&pair.first, &pair.second};
  for (size_t i = 0; i < 2; ++i) {
    const std::string job =
        "\"job\":" + std::to_string(i + 1) + ",\"language\":\"" + jobs[i]->language + "\",";
    EXPECT_NE(reports[i].find(job), std::string::npos) << reports[i];
    EXPECT_NE(reports[i].find("\"labels\":1,"), std::string::npos) << reports[i];
    EXPECT_NE(reports[i].find("\"notes\":[]"), std::string::npos) << reports[i];
  }
}

TEST(JobFramingTest, StandardInputOfRender) {
  ScratchDir dir;
  for (const auto& pair : kPairs) {
    dir.Write("in.job", Read(pair));
    RunSettings settings;
    settings.stdinFile = (dir / "in.job").string();
    std::filesystem::remove_all(dir / "out");
    std::vector<std::string> args = kPrinter;
    args.insert(args.end(), {"--report", "json", "-"});
    const RunResult r = RunIn(dir, "render", args, settings);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ExpectBothPrinted(r.out, "-", pair);
    EXPECT_EQ(FileNames(dir / "out").size(), 2u);
  }
}

// Each pair is one write on a connection of its own, handed over at its close.
TEST(JobFramingTest, RawPort) {
  ScratchDir dir;
  std::vector<std::string> args = kPrinter;
  args.insert(args.end(), {"--idle-ms", "60000"});
  ServerProcess server(dir, args);
  ASSERT_TRUE(server.started()) << server.Stderr();
  for (const auto& pair : kPairs) ASSERT_TRUE(SendJob(server.rawPort(), Read(pair)));
  EXPECT_EQ(server.Stop(), 0);
  const std::string out = server.Stdout();
  for (size_t i = 0; i < std::size(kPairs); ++i) {
    ExpectBothPrinted(out, "tcp-" + std::to_string(i + 1), kPairs[i]);
  }
  EXPECT_EQ(FileNames(dir / "out").size(), 2 * std::size(kPairs));
}

// The answer lists every job of the body, as the server's reports do.
TEST(JobFramingTest, HttpPrint) {
  ScratchDir dir;
  ServerProcess server(dir, kPrinter);
  ASSERT_TRUE(server.started()) << server.Stderr();
  httplib::Client client("127.0.0.1", server.httpPort());
  client.set_read_timeout(60, 0);
  for (size_t i = 0; i < std::size(kPairs); ++i) {
    auto answer = client.Post("/print", Read(kPairs[i]), "application/octet-stream");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200) << answer->body;
    ExpectBothPrinted(answer->body, "http-" + std::to_string(i + 1), kPairs[i]);
  }
  EXPECT_EQ(server.Stop(), 0);
  for (size_t i = 0; i < std::size(kPairs); ++i) {
    ExpectBothPrinted(server.Stdout(), "http-" + std::to_string(i + 1), kPairs[i]);
  }
}

}  // namespace
}  // namespace host::testing
