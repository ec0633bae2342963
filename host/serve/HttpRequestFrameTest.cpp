// Framing of requests by the HTTP front: where a request ends, when it is
// refused from its head, and that framing a read at a time (going on from
// the last answer) agrees with framing the bytes at once.
#include <gtest/gtest.h>

#include "host/serve/HttpRequestFrame.h"

namespace host {
namespace {

using State = RequestFrame::State;

constexpr FrameLimits kLimits{200, 100};  // head 200 bytes, body 100

struct Case {
  const char* name;
  std::string bytes;
  State state;
  size_t end = 0;  // kWhole: where the request ends; kRefused: the status
};

const std::string kGet = "GET / HTTP/1.1\r\nHost: x\r\n\r\n";
const std::string kPost = "POST /print HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc";
const std::string kChunked = "POST /print HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n";

const Case kCases[] = {
    {"a GET", kGet, State::kWhole, kGet.size()},
    {"a head not yet ended", "GET / HTTP/1.1\r\nHost: x\r\n", State::kPartial},
    {"a body", kPost, State::kWhole, kPost.size()},
    {"a body, then the next request", kPost + kGet, State::kWhole, kPost.size()},
    {"a body not all here", kPost.substr(0, kPost.size() - 1), State::kPartial},
    {"heads ended by bare line feeds", "GET / HTTP/1.1\nHost: x\n\n", State::kWhole, 24},
    {"blank lines before the request", "\r\n\r\n" + kGet, State::kWhole, 4 + kGet.size()},
    {"a body at the limit",
     "POST / HTTP/1.1\r\nContent-Length: 100\r\n\r\n" + std::string(100, 'x'), State::kWhole, 140},
    {"a body over the limit, refused from the head",
     "POST / HTTP/1.1\r\nContent-Length: 101\r\n\r\n", State::kRefused, 413},
    {"a length over any limit", "POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n",
     State::kRefused, 400},
    {"a length that is not a number", "POST / HTTP/1.1\r\nContent-Length: 3x\r\n\r\nabc",
     State::kRefused, 400},
    {"two lengths that differ",
     "POST / HTTP/1.1\r\nContent-Length: 3\r\ncontent-length: 4\r\n\r\nabcd", State::kRefused, 400},
    {"the same length twice",
     "POST / HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 3\r\n\r\nabc", State::kWhole, 60},
    {"a length and chunks", kChunked.substr(0, kChunked.size() - 2) + "Content-Length: 3\r\n\r\n",
     State::kRefused, 400},
    {"another transfer coding", "POST / HTTP/1.1\r\nTransfer-Encoding: gzip\r\n\r\n",
     State::kRefused, 400},
    {"chunks", kChunked + "3\r\nabc\r\n2;ext=1\r\nde\r\n0\r\n\r\n" + kGet, State::kWhole,
     kChunked.size() + 26},
    {"chunks with a trailer", kChunked + "3\r\nabc\r\n0\r\nX-Sum: 1\r\n\r\n", State::kWhole,
     kChunked.size() + 23},
    {"chunks not all here", kChunked + "3\r\nabc\r\n", State::kPartial},
    {"chunks over the limit, refused before their data",
     kChunked + "40\r\n" + std::string(64, 'x') + "\r\n25\r\n", State::kRefused, 413},
    {"a chunk size that is not hexadecimal", kChunked + "zz\r\n", State::kRefused, 400},
    {"a chunk that runs past its size", kChunked + "3\r\nabcd\r\n0\r\n\r\n", State::kRefused, 400},
    {"a head over its cap", "GET /" + std::string(300, 'a'), State::kRefused, 431},
    {"a request line without a version", "HELLO\r\n\r\n", State::kRefused, 400},
};

void Expect(const Case& c, const RequestFrame& frame) {
  EXPECT_EQ(frame.state, c.state);
  if (c.state == State::kWhole) {
    EXPECT_EQ(frame.end, c.end);
  } else if (c.state == State::kRefused) {
    EXPECT_EQ(frame.status, static_cast<int>(c.end)) << frame.why;
  }
}

TEST(HttpRequestFrameTest, FramesOrRefusesEachRequest) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Expect(c, FrameRequest(c.bytes, kLimits));
  }
}

// A request arriving a byte at a time is framed as when it arrives at once,
// and no prefix of it is taken for a whole request.
TEST(HttpRequestFrameTest, ReadsAByteAtATimeFrameAsTheWhole) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RequestFrame frame;
    bool framing = false;
    for (size_t n = 1; n <= c.bytes.size(); ++n) {
      frame =
          FrameRequest(std::string_view(c.bytes).substr(0, n), kLimits, framing ? &frame : nullptr);
      if (frame.state != State::kPartial) break;
      framing = true;
    }
    Expect(c, frame);
  }
}

TEST(HttpRequestFrameTest, NamesTheMethodAndTargetAndAnExpectedContinue) {
  const RequestFrame frame = FrameRequest(
      "POST /print?dpi=203 HTTP/1.1\r\nExpect: 100-continue\r\nContent-Length: 5\r\n\r\n", kLimits);
  EXPECT_EQ(frame.state, State::kPartial);
  EXPECT_TRUE(frame.headDone);
  EXPECT_TRUE(frame.expectContinue);
  EXPECT_EQ(frame.method, "POST");
  EXPECT_EQ(frame.target, "/print?dpi=203");
}

TEST(HttpRequestFrameTest, HeaderValueIgnoresCaseAndBlanks) {
  const std::string head = "GET /events HTTP/1.1\r\nhost: x\r\nlast-event-id:   42 \r\nX: y";
  const struct {
    const char* name;
    const char* value;
  } kHeaders[] = {{"Last-Event-ID", "42"},
                  {"HOST", "x"},
                  {"X", "y"},
                  {"Accept", ""},
                  {"GET /events HTTP/1.1", ""}};
  for (const auto& h : kHeaders) EXPECT_EQ(HeaderValue(head, h.name), h.value) << h.name;
}

}  // namespace
}  // namespace host
