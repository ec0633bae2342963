// End-to-end tests of the raw printer port: the built labelhost serves on an
// ephemeral port of 127.0.0.1 and the tests are its clients. They count what
// a user would: label files in the output folder and report lines.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

const std::string kJob = "^XA^FO10,10^A0N,20,20^FDOne^FS^XZ";
const std::string kOther = "^XA^FO10,10^A0N,20,20^FDTwo^FS^XZ";
// Small labels keep the load tests quick.
const std::vector<std::string> kSmall = {"--dpi", "72", "--width", "1"};

std::vector<std::string> With(std::vector<std::string> args, std::vector<std::string> more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// However TCP cuts a connection's bytes, the connection's jobs all print,
// each a job of its own: the stream is sent in two writes split at every byte.
TEST(RawPortTest, TwoJobStreamSplitAtEveryBytePrintsBothJobs) {
  ScratchDir dir;
  ServerProcess server(dir, With(kSmall, {"--idle-ms", "60000"}));
  ASSERT_TRUE(server.started()) << server.Stderr();
  const std::string stream = kJob + "\r\n" + kOther;
  for (size_t cut = 1; cut < stream.size(); ++cut) {
    RawClient client(server.rawPort());
    ASSERT_TRUE(client.Send(stream.substr(0, cut)));
    ASSERT_TRUE(client.Send(stream.substr(cut)));
    client.FinishSending();
    ASSERT_TRUE(client.ServerClosed());
  }
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(FileNames(dir / "out").size(), 2 * (stream.size() - 1));
  EXPECT_EQ(CountLines(server.Stdout(), "\"labels\":1,"), 2 * (stream.size() - 1));
}

// A client that keeps the socket open gets each job printed after a pause,
// including back-to-back jobs, and a job it pauses inside of.
TEST(RawPortTest, PausesHandJobsOverWhileTheConnectionStaysOpen) {
  ScratchDir dir;
  ServerProcess server(dir, With(kSmall, {"--idle-ms", "100"}));
  ASSERT_TRUE(server.started()) << server.Stderr();
  RawClient client(server.rawPort());
  struct Step {
    std::vector<std::string> writes;
    bool pauseBetween;  // longer than the idle gap
    size_t filesAfter;
  };
  const Step kSteps[] = {
      {{kJob}, false, 1},
      {{kJob, kOther}, false, 3},                   // back to back: two labels
      {{"^XA^FO10,10^FDhal", "f^FS^XZ"}, true, 4},  // a pause inside a job
  };
  for (const Step& step : kSteps) {
    for (const std::string& write : step.writes) {
      ASSERT_TRUE(client.Send(write));
      if (step.pauseBetween) std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    EXPECT_TRUE(server.WaitForFiles("out", step.filesAfter)) << step.writes[0];
  }
  EXPECT_TRUE(client.connected());
  client.FinishSending();
  EXPECT_TRUE(client.ServerClosed());
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(FileNames(dir / "out").size(), 4u);
}

TEST(RawPortTest, HundredClientsOfTwentyJobsEachPrintEveryJobOnce) {
  ScratchDir dir;
  ServerProcess server(dir, kSmall);
  ASSERT_TRUE(server.started()) << server.Stderr();
  constexpr int kClients = 100, kJobs = 20;
  std::atomic<int> sent{0};
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&] {
      for (int j = 0; j < kJobs; ++j) sent += SendJob(server.rawPort(), kJob) ? 1 : 0;
    });
  }
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(sent.load(), kClients * kJobs);
  EXPECT_EQ(FileNames(dir / "out").size(), static_cast<size_t>(kClients * kJobs));
  EXPECT_EQ(CountLines(server.Stdout(), "\"labels\":1,"), static_cast<size_t>(kClients * kJobs));
}

// Clients that hold the port without finishing are dropped; what they sent
// is still handed over, and the port keeps serving.
TEST(RawPortTest, SilentSlowAndOversizedClientsAreDropped) {
  ScratchDir dir;
  ServerProcess server(
      dir, With(kSmall, {"--idle-ms", "60000", "--timeout-ms", "300", "--max-job-bytes", "1000"}));
  ASSERT_TRUE(server.started()) << server.Stderr();
  struct Case {
    const char* name;
    std::function<void(RawClient&)> behave;
    const char* logged;
  };
  const Case kCases[] = {
      {"silent", [](RawClient&) {}, "silent too long"},
      {"slow",
       [](RawClient& c) {
         for (char ch : kJob) {
           if (!c.Send(std::string(1, ch))) return;
           std::this_thread::sleep_for(std::chrono::milliseconds(20));
         }
       },
       "sending too slowly"},
      {"oversized", [](RawClient& c) { c.Send(std::string(5000, 'A')); }, "more than 1000 bytes"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RawClient client(server.rawPort());
    c.behave(client);
    EXPECT_TRUE(client.ServerClosed());
    EXPECT_NE(server.Stderr().find(c.logged), std::string::npos) << server.Stderr();
  }
  EXPECT_TRUE(SendJob(server.rawPort(), kJob));
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(CountLines(server.Stdout(), "\"labels\":1,"), 1u);  // the slow job was cut
}

// Stopping hands over what an open connection holds and prints it first.
TEST(RawPortTest, TerminationPrintsWhatOpenConnectionsSent) {
  ScratchDir dir;
  ServerProcess server(dir, With(kSmall, {"--idle-ms", "60000"}));
  ASSERT_TRUE(server.started()) << server.Stderr();
  RawClient client(server.rawPort());
  ASSERT_TRUE(client.Send(kJob));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the bytes arrive
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(FileNames(dir / "out").size(), 1u);
  EXPECT_EQ(CountLines(server.Stdout(), "\"labels\":1,"), 1u);
}

}  // namespace
}  // namespace host::testing
