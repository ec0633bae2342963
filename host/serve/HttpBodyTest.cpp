// The HTTP API as plain HTTP clients use it: requests written by hand on a
// socket, so the headers are exactly those a client sends (none, a form's,
// text, multipart), and the replies read whole.
#include <gtest/gtest.h>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

constexpr size_t kLimit = 6'000'000;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The whole reply to `request` (head and body).
std::string Exchange(int port, const std::string& request) {
  RawClient client(port);
  if (!client.Send(request)) return "";
  return client.ReceiveAll();
}

std::string Request(const std::string& method, const std::string& path,
                    const std::string& contentType, const std::string& body) {
  std::string head = method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
  if (!contentType.empty()) head += "Content-Type: " + contentType + "\r\n";
  if (method == "POST" || !body.empty())
    head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  return head + "\r\n" + body;
}

// A one-label ZPL job of exactly `size` bytes: line ends inside the format,
// which the language ignores, make up the size.
std::string JobOfSize(size_t size) {
  const std::string start = "^XA", end = "^FO10,10^A0N,20,20^FDsized^FS^XZ";
  std::string padding;
  while (padding.size() + 2 <= size - start.size() - end.size()) padding += "\r\n";
  if (start.size() + padding.size() + end.size() < size) padding += ' ';
  return start + padding + end;
}

class HttpBodyTest : public ::testing::Test {
 protected:
  HttpBodyTest()
      : server_(dir_, {"--port", "off", "--dpi", "100", "--width", "1", "--out",
                       (dir_ / "out").string(), "--max-job-bytes", std::to_string(kLimit)}) {}
  void SetUp() override { ASSERT_TRUE(server_.started()) << server_.Stderr(); }

  ScratchDir dir_;
  ServerProcess server_;
};

// Whatever the Content-Type, the body is the job: past the HTTP library's
// own small cap on forms, up to the job limit.
TEST_F(HttpBodyTest, BodiesOfEveryContentTypePrintUpToTheJobLimit) {
  const std::string kBoundary = "----labelboundary";
  for (size_t size : {size_t{8193}, size_t{5} << 20}) {
    const std::string job = JobOfSize(size);
    ASSERT_EQ(job.size(), size);
    const struct {
      const char* name;
      std::string contentType;
      std::string body;
    } kCases[] = {
        {"no Content-Type", "", job},
        {"form", "application/x-www-form-urlencoded", job},
        {"text", "text/plain", job},
        {"multipart", "multipart/form-data; boundary=" + kBoundary,
         "--" + kBoundary +
             "\r\nContent-Disposition: form-data; name=\"job\"; filename=\"job.zpl\"\r\n"
             "Content-Type: application/octet-stream\r\n\r\n" +
             job + "\r\n--" + kBoundary + "--\r\n"},
    };
    for (const auto& c : kCases) {
      SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(size) + " bytes");
      const std::string reply =
          Exchange(server_.httpPort(), Request("POST", "/print", c.contentType, c.body));
      EXPECT_EQ(reply.rfind("HTTP/1.1 200 ", 0), 0u) << reply.substr(0, 300);
      EXPECT_TRUE(Contains(reply, "\"labels\":1,")) << reply.substr(0, 300);
    }
  }
  const std::string over =
      Exchange(server_.httpPort(), Request("POST", "/print", "", JobOfSize(kLimit + 1)));
  EXPECT_EQ(over.rfind("HTTP/1.1 413 ", 0), 0u) << over.substr(0, 300);
  EXPECT_TRUE(Contains(over, "job limit (--max-job-bytes, 6000000 bytes)")) << over;
}

TEST_F(HttpBodyTest, AWrongMethodIsRefusedWith405AndAllow) {
  const struct {
    const char* method;
    const char* path;
    const char* allowed;
  } kCases[] = {
      {"GET", "/print", "POST"},
      {"PUT", "/print", "POST"},
      {"DELETE", "/labels/1.png", "GET, HEAD"},
      {"POST", "/", "GET, HEAD"},
      {"PATCH", "/events", "GET, HEAD"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.method) + " " + c.path);
    const std::string reply = Exchange(server_.httpPort(), Request(c.method, c.path, "", ""));
    EXPECT_EQ(reply.rfind("HTTP/1.1 405 ", 0), 0u) << reply;
    EXPECT_TRUE(Contains(reply, std::string("\r\nAllow: ") + c.allowed + "\r\n")) << reply;
  }
}

// The output folder is given as an absolute path; no reply names it.
TEST_F(HttpBodyTest, RepliesNameFilesAsInTheOutputFolder) {
  const std::string replies[] = {
      Exchange(server_.httpPort(), Request("POST", "/print", "", JobOfSize(100))),
      Exchange(server_.httpPort(), Request("POST", "/print", "", "^XA^FO1,1^FDcut")),
      Exchange(server_.httpPort(), Request("GET", "/labels/99.png", "", "")),
  };
  EXPECT_TRUE(Contains(replies[0], "\"files\":[\"http-1-0001.png\"]")) << replies[0];
  for (const std::string& reply : replies) {
    EXPECT_FALSE(Contains(reply, dir_.path().string())) << reply;
    EXPECT_FALSE(Contains(reply, "\"/tmp")) << reply;
  }
}

}  // namespace
}  // namespace host::testing
