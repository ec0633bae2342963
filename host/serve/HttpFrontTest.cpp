// The HTTP API under clients that would exhaust it: open event streams, slow
// and idle clients, short or oversized bodies, many connections from one
// address, and pipelined requests. Clients come from several addresses of
// the loopback network, as they would from several machines.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::string Post(const std::string& body, const std::string& extra = "") {
  return "POST /print HTTP/1.1\r\nHost: x\r\n" + extra +
         "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string Job(const std::string& text) { return "^XA^FO10,10^A0N,20,20^FD" + text + "^FS^XZ"; }

long Millis(Clock::time_point since) {
  return static_cast<long>(std::chrono::duration_cast<milliseconds>(Clock::now() - since).count());
}

// GET / on a connection of its own: the time its whole answer took, or -1
// when none came.
long TimeLivePage(int port) {
  const Clock::time_point start = Clock::now();
  RawClient client(port);
  if (!client.Send("GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")) return -1;
  const std::string reply = client.ReceiveAll();
  return reply.rfind("HTTP/1.1 200 ", 0) == 0 && Contains(reply, "</html>") ? Millis(start) : -1;
}

std::string From(int n) { return "127.0.0." + std::to_string(n); }

// 200 open event streams and 50 clients trickling their heads a byte a
// second, from twelve addresses, while the live page is asked for.
TEST(HttpFrontTest, StreamsAndSlowClientsLeaveTheApiAnswering) {
  ScratchDir dir;
  ServerProcess server(dir, {"--port", "off", "--dpi", "100", "--width", "1"});
  ASSERT_TRUE(server.started()) << server.Stderr();
  const int port = server.httpPort();

  std::vector<std::unique_ptr<RawClient>> streams;
  for (int i = 0; i < 200; ++i) {
    streams.push_back(std::make_unique<RawClient>(port, From(2 + i % 10)));
    ASSERT_TRUE(streams.back()->Send("GET /events HTTP/1.1\r\nHost: x\r\n\r\n")) << i;
  }
  for (size_t i = 0; i < streams.size(); ++i) {
    const std::string head = streams[i]->ReceiveUntil("\r\n\r\n", 30000);
    ASSERT_TRUE(Contains(head, "text/event-stream")) << i << ": " << head;
  }
  std::vector<std::unique_ptr<RawClient>> slow;
  for (int i = 0; i < 50; ++i) slow.push_back(std::make_unique<RawClient>(port, From(12 + i % 2)));
  std::atomic<bool> trickling{true};
  std::thread trickle([&] {
    const std::string head = "GET / HTTP/1.1\r\nHost: x\r\nX-Slow: aaaaaaaaaaaaaaaaaaaaaaaa";
    for (size_t at = 0; trickling && at < head.size(); ++at) {
      for (auto& client : slow) client->Send(head.substr(at, 1));
      for (int i = 0; i < 10 && trickling; ++i) std::this_thread::sleep_for(milliseconds(100));
    }
  });

  long slowest = 0;
  for (int i = 0; i < 5; ++i) {
    const long took = TimeLivePage(port);
    EXPECT_GE(took, 0) << "GET / " << i << " got no answer";
    slowest = std::max(slowest, took);
    std::this_thread::sleep_for(milliseconds(300));
  }
  std::cout << "GET / with 200 streams and 50 slow clients open: slowest of 5 in " << slowest
            << " ms\n";
  ::testing::Test::RecordProperty("slowest_get_ms", static_cast<int>(slowest));
  EXPECT_LT(slowest, 5000);  // 100 ms on an idle machine; the bound allows a loaded one

  // The streams are live: a job posted now reaches them.
  RawClient poster(port);
  ASSERT_TRUE(poster.Send(Post(Job("streamed"), "Connection: close\r\n")));
  EXPECT_EQ(poster.ReceiveAll().rfind("HTTP/1.1 200 ", 0), 0u);
  for (size_t i : {size_t{0}, size_t{99}, size_t{199}}) {
    const std::string event = "\"source\":\"http-1\"";
    EXPECT_TRUE(Contains(streams[i]->ReceiveUntil(event, 30000), event)) << i;
  }
  trickling = false;
  trickle.join();
  EXPECT_EQ(server.Stop(), 0);
}

// Each limit, alone: the client that passes it is answered at once with
// its status and the server goes on answering others.
TEST(HttpFrontTest, ClientsOverALimitAreAnsweredAndDropped) {
  ScratchDir dir;
  ServerProcess server(
      dir, {"--port", "off", "--http-per-address", "4", "--max-streams", "2", "--header-ms", "300",
            "--timeout-ms", "500", "--max-job-bytes", "1000"});
  ASSERT_TRUE(server.started()) << server.Stderr();
  const int port = server.httpPort();

  // Four idle connections from one address take its share; a fifth is
  // refused, another address is not.
  std::vector<std::unique_ptr<RawClient>> idle;
  for (int i = 0; i < 4; ++i) idle.push_back(std::make_unique<RawClient>(port, From(2)));
  std::this_thread::sleep_for(milliseconds(100));
  RawClient fifth(port, From(2));
  fifth.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
  const std::string refused = fifth.ReceiveAll();
  EXPECT_EQ(refused.rfind("HTTP/1.1 503 ", 0), 0u) << refused;
  EXPECT_TRUE(Contains(refused, "too many connections from 127.0.0.2")) << refused;
  EXPECT_GE(TimeLivePage(port), 0);
  idle.clear();

  struct Case {
    const char* name;
    std::string sent;
    const char* status;
    const char* says;
    long atMostMs;  // the answer comes this soon, however the client goes on
  };
  const Case kCases[] = {
      {"a head that never ends", "GET / HTTP/1.1\r\nHost: x\r\n", "408", "within 300 ms", 3000},
      {"a body shorter than its length", "POST /print HTTP/1.1\r\nContent-Length: 100\r\n\r\n^XA",
       "408", "within 500 ms", 3000},
      {"a length over the job limit", "POST /print HTTP/1.1\r\nContent-Length: 5000\r\n\r\n", "413",
       "job limit (--max-job-bytes, 1000 bytes)", 3000},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Clock::time_point start = Clock::now();
    RawClient client(port, From(3));
    ASSERT_TRUE(client.Send(c.sent));
    const std::string reply = client.ReceiveAll();
    EXPECT_EQ(reply.rfind(std::string("HTTP/1.1 ") + c.status + " ", 0), 0u) << reply;
    EXPECT_TRUE(Contains(reply, c.says)) << reply;
    EXPECT_LT(Millis(start), c.atMostMs);
  }

  // A head trickled a byte every 100 ms is timed as a whole, not per byte.
  {
    const Clock::time_point start = Clock::now();
    RawClient client(port, From(4));
    std::string reply;
    for (char c : std::string("GET / HTTP/1.1\r\nHost: x\r\nX-Slow: aaaaaaaaaaaaaaaaaaaaaaaaa")) {
      if (!client.Send(std::string(1, c))) break;
      reply = client.ReceiveUntilQuiet(100);
      if (!reply.empty()) break;
    }
    EXPECT_EQ(reply.rfind("HTTP/1.1 408 ", 0), 0u) << reply;
    EXPECT_LT(Millis(start), 2500);
  }

  // Two streams at most; a third is refused.
  RawClient first(port, From(5)), second(port, From(5)), third(port, From(5));
  for (RawClient* stream : {&first, &second, &third})
    stream->Send("GET /events HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_TRUE(Contains(first.ReceiveUntil("\r\n\r\n", 10000), "200 OK"));
  EXPECT_TRUE(Contains(second.ReceiveUntil("\r\n\r\n", 10000), "200 OK"));
  const std::string over = third.ReceiveAll();
  EXPECT_EQ(over.rfind("HTTP/1.1 503 ", 0), 0u) << over;
  EXPECT_TRUE(Contains(over, "too many event streams")) << over;

  EXPECT_EQ(server.Stop(), 0);
  EXPECT_TRUE(FileNames(dir / "out").empty()) << "a refused request printed";
}

// Requests written back to back on one connection are each answered, in
// the order sent, and each job prints.
TEST(HttpFrontTest, PipelinedRequestsAreAnsweredInOrder) {
  ScratchDir dir;
  ServerProcess server(dir, {"--port", "off", "--dpi", "100", "--width", "1"});
  ASSERT_TRUE(server.started()) << server.Stderr();
  const struct {
    const char* name;
    std::string requests;
    size_t answers;
  } kCases[] = {
      {"three posts in one write",
       Post(Job("one")) + Post(Job("two")) + Post(Job("three"), "Connection: close\r\n"), 3},
      {"a page, a post and a missing label",
       "GET / HTTP/1.1\r\nHost: x\r\n\r\n" + Post(Job("four")) +
           "GET /labels/999.png HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
       3},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    RawClient client(server.httpPort());
    ASSERT_TRUE(client.Send(c.requests));
    const std::string replies = client.ReceiveAll();
    EXPECT_EQ(Count(replies, "HTTP/1.1 "), c.answers) << replies;
    if (c.answers == 3 && Contains(replies, "http-1-")) {
      EXPECT_LT(replies.find("http-1-"), replies.find("http-2-"));
      EXPECT_LT(replies.find("http-2-"), replies.find("http-3-"));
    }
  }
  ASSERT_TRUE(server.WaitForFiles("out", 4));
  EXPECT_EQ(server.Stop(), 0);
  // Numbered in the order sent: the first connection's three jobs are 1 to 3.
  const std::string reports = server.Stdout();
  const size_t one = reports.find("\"source\":\"http-1\""),
               three = reports.find("\"source\":\"http-3\"");
  ASSERT_NE(one, std::string::npos) << reports;
  EXPECT_LT(one, three);
  EXPECT_EQ(CountLines(reports, "\"labels\":1,"), 4u) << reports;
}

// However a client sends a body (its length said, in chunks, or after the
// server's 100 Continue) the front reads it whole and the job prints.
TEST(HttpFrontTest, BodiesArriveEveryWayAClientSendsThem) {
  ScratchDir dir;
  ServerProcess server(dir, {"--port", "off", "--dpi", "100", "--width", "1"});
  ASSERT_TRUE(server.started()) << server.Stderr();
  const std::string job = Job("body");
  const std::string head = "POST /print HTTP/1.1\r\nHost: x\r\nConnection: close\r\n";
  const std::string length = "Content-Length: " + std::to_string(job.size()) + "\r\n";
  const struct {
    const char* name;
    std::vector<std::string> writes;  // 200 ms apart
    const char* before;               // what the server says between the first two
  } kCases[] = {
      {"the head, then the body", {head + length + "\r\n", job}, ""},
      {"after 100 Continue",
       {head + length + "Expect: 100-continue\r\n\r\n", job},
       "HTTP/1.1 100 Continue\r\n\r\n"},
      {"in chunks",
       {head + "Transfer-Encoding: chunked\r\n\r\n5\r\n" + job.substr(0, 5) + "\r\n",
        "3;x=y\r\n" + job.substr(5, 3) + "\r\n", "1a\r\n" + job.substr(8) + "\r\n0\r\n\r\n"},
       ""},
  };
  ASSERT_EQ(job.size(), 34u);  // the chunk sizes above
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    RawClient client(server.httpPort());
    std::string between;
    for (size_t i = 0; i < c.writes.size(); ++i) {
      ASSERT_TRUE(client.Send(c.writes[i]));
      if (i == 0) between = client.ReceiveUntilQuiet(200);
    }
    EXPECT_EQ(between, c.before);
    const std::string reply = client.ReceiveAll();
    EXPECT_EQ(reply.rfind("HTTP/1.1 200 ", 0), 0u) << reply;
    EXPECT_TRUE(Contains(reply, "\"labels\":1,")) << reply;
  }
  RawClient asker(server.httpPort());
  ASSERT_TRUE(asker.Send("HEAD /events HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"));
  const std::string feed = asker.ReceiveAll();
  EXPECT_EQ(feed.rfind("HTTP/1.1 200 ", 0), 0u) << feed;
  EXPECT_TRUE(Contains(feed, "text/event-stream")) << feed;
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace
}  // namespace host::testing
