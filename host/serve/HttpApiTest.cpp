// End-to-end tests of the HTTP API: jobs in each language posted to the
// built labelhost, the labels fetched back, and requests it must refuse.
#include <gtest/gtest.h>
#include <httplib.h>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

bool IsPng(const std::string& bytes) { return bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0; }

// The first link of `kind` ("png", "pdf", "json") in a /print answer.
std::string FirstLink(const std::string& answer, const std::string& kind) {
  for (size_t at = answer.find("\"/labels/"); at != std::string::npos;
       at = answer.find("\"/labels/", at + 1)) {
    const size_t end = answer.find('"', at + 1);
    if (end == std::string::npos) return "";
    const std::string link = answer.substr(at + 1, end - at - 1);  // /labels/N.kind
    const size_t dot = link.rfind('.');
    const std::string number = link.substr(8, dot == std::string::npos ? 0 : dot - 8);
    const bool digits =
        !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
    if (digits && link.substr(dot + 1) == kind) return link;
  }
  return "";
}

class HttpApiTest : public ::testing::Test {
 protected:
  HttpApiTest() : server_(dir_, {"--dpi", "100", "--width", "2", "--max-job-bytes", "4096"}) {}
  void SetUp() override {
    ASSERT_TRUE(server_.started()) << server_.Stderr();
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_.httpPort());
    client_->set_read_timeout(60, 0);
  }

  ScratchDir dir_;
  ServerProcess server_;
  std::unique_ptr<httplib::Client> client_;
};

TEST_F(HttpApiTest, EachLanguageRoundTrips) {
  const struct {
    const char* example;
    const char* language;
  } kCases[] = {
      {"zpl/product-label.zpl", "ZPL"}, {"dpl/price_tag.dpl", "DPL"},
      {"jpl/price-tag.jpl", "JPL"},     {"tpl/price_tag.tpl", "TPL"},
      {"xtpl/price_tag.xtpl", "XTPL"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.example);
    const std::string job = ReadFile(ExamplesDir() / c.example);
    ASSERT_FALSE(job.empty());
    auto answer = client_->Post("/print", job, "application/octet-stream");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200) << answer->body;
    EXPECT_EQ(answer->get_header_value("Content-Type"), "application/json");
    EXPECT_TRUE(Contains(answer->body, std::string("\"language\":\"") + c.language + "\""));
    const std::string link = FirstLink(answer->body, "png");
    ASSERT_FALSE(link.empty()) << answer->body;
    auto label = client_->Get(link.c_str());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->status, 200);
    EXPECT_EQ(label->get_header_value("Content-Type"), "image/png");
    EXPECT_TRUE(IsPng(label->body));
  }
}

// The query picks the printer; Accept: image/png with one label answers
// with the picture itself.
TEST_F(HttpApiTest, QueryAndAcceptShapeTheAnswer) {
  const std::string job = "^XA^FO20,20^A0N,30,30^FDQuery^FS^XZ";
  struct Case {
    std::string query;
    bool wantImage;
    uint32_t pngWidth;  // 0: the answer is JSON
    std::vector<std::string> links;
  };
  const Case kCases[] = {
      {"", true, 200, {}},
      {"?dpi=203&width=1.5", true, 305, {}},
      {"?format=pdf,json", true, 0, {"pdf", "json"}},
      {"?format=png", false, 0, {"png"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.query);
    httplib::Headers headers;
    if (c.wantImage) headers.emplace("Accept", "image/png");
    auto answer = client_->Post(("/print" + c.query).c_str(), headers, job, "text/plain");
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200) << answer->body;
    if (c.pngWidth != 0) {
      ASSERT_TRUE(IsPng(answer->body));
      EXPECT_EQ(ReadPng(dir_.Write("answer.png", answer->body)).width, c.pngWidth);
      continue;
    }
    for (const std::string& kind : c.links) EXPECT_FALSE(FirstLink(answer->body, kind).empty());
    if (c.links.size() == 2) {
      EXPECT_TRUE(FirstLink(answer->body, "png").empty());
    }
  }
}

// The dialect query picks how caret-and-tilde jobs are read: a field set on
// its baseline (^FT) prints in full mode only; the process's own (device)
// stays the default for later requests.
TEST_F(HttpApiTest, DialectQueryPicksTheZplReading) {
  const std::string job = "^XA^FT40,80^A0N,40,40^FDBaseline^FS^XZ";
  const std::pair<const char*, bool> kCases[] = {
      {"", false}, {"?dialect=full", true}, {"?dialect=device", false}, {"", false}};
  for (const auto& [query, prints] : kCases) {
    SCOPED_TRACE(query);
    auto answer = client_->Post((std::string("/print") + query).c_str(), job, "text/plain");
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200) << answer->body;
    EXPECT_EQ(!FirstLink(answer->body, "png").empty(), prints) << answer->body;
  }
}

TEST_F(HttpApiTest, BadRequestsGetClearRefusals) {
  struct Case {
    const char* method;
    std::string path;
    std::string body;
    int status;
    const char* said;
  };
  const Case kCases[] = {
      {"POST", "/print?dpi=10", "^XA^XZ", 400, "dpi"},
      {"POST", "/print?dpi=2x", "^XA^XZ", 400, "dpi"},
      {"POST", "/print?width=0", "^XA^XZ", 400, "width"},
      {"POST", "/print?format=gif", "^XA^XZ", 400, "format"},
      {"POST", "/print?dialect=odd", "^XA^XZ", 400, "dialect"},
      {"POST", "/print", "", 400, "empty"},
      {"POST", "/print", "no printer language here", 422, "no job found"},
      {"POST", "/print", "^XA^FO1,1^FDcut", 422, "no end marker"},
      {"POST", "/print", std::string(5000, 'A'), 413, "larger than the job limit"},
      {"GET", "/labels/999.png", "", 404, "no label 999"},
      {"GET", "/labels/1.exe", "", 404, "no such page"},
      {"GET", "/labels/..%2F..%2Fetc%2Fpasswd", "", 404, "no such page"},
      {"GET", "/labels/1.png/../../../../etc/passwd", "", 404, "no such page"},
      {"GET", "/../../etc/passwd", "", 404, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.method) + " " + c.path);
    auto answer = std::string(c.method) == "GET"
                      ? client_->Get(c.path.c_str())
                      : client_->Post(c.path.c_str(), c.body, "application/octet-stream");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, c.status);
    EXPECT_TRUE(Contains(answer->body, c.said)) << answer->body;
    EXPECT_FALSE(Contains(answer->body, "root:")) << "a file outside the output folder";
  }
  // Not HTTP at all: refused, and the server goes on.
  RawClient garbage(server_.httpPort());
  ASSERT_TRUE(garbage.Send(std::string("\x01\x02 nonsense\r\n\r\n", 15)));
  EXPECT_TRUE(Contains(garbage.ReceiveAll(), " 400 "));
  auto after = client_->Post("/print", "^XA^FO1,1^A0N,20,20^FDok^FS^XZ", "text/plain");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->status, 200);
}

// The live page and its feed: a job printed before the page connects is in
// the feed's first event.
TEST_F(HttpApiTest, LivePageAndFeed) {
  auto page = client_->Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_TRUE(Contains(page->body, "EventSource(\"/events\")"));
  ASSERT_TRUE(client_->Post("/print", "^XA^FO1,1^A0N,20,20^FDfeed^FS^XZ", "text/plain"));
  std::string feed;
  client_->Get("/events", [&](const char* data, size_t length) {
    feed.append(data, length);
    return !Contains(feed, "\n\n");  // one event is enough
  });
  EXPECT_TRUE(Contains(feed, "id: 1\ndata: {\"source\":\"http-1\"")) << feed;
  EXPECT_TRUE(Contains(feed, "\"png\":\"/labels/1.png\"")) << feed;
}

}  // namespace
}  // namespace host::testing
