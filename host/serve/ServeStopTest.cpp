// How `labelhost serve` stops, and its pass-through to another printer. A
// signal stops the listeners and gives jobs still arriving the grace period;
// a second signal ends the wait. --forward sends each job on to a printer
// (here a second labelhost) and reports a forward that fails.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const std::string kFirstHalf = "^XA^FO10,10^A0N,20,20^FD";
const std::string kSecondHalf = "slow client^FS^XZ";
const std::vector<std::string> kSmall = {"--dpi", "100", "--width", "1", "--idle-ms", "100"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

long Seconds(Clock::time_point since) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - since).count());
}

// A port of 127.0.0.1 that nothing listens on.
int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

// A client in the middle of a job when the signal comes: what it sends
// within the grace prints; after the grace, or a second signal, what it
// sent is reported as cut and the server exits 0 at once.
TEST(ServeStopTest, AJobArrivingAtTheSignalPrintsWithinTheGrace) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    bool finishes;      // the client sends the rest after the signal
    bool secondSignal;  // and the server is signalled again
    const char* report;
  } kCases[] = {
      {"within the grace", {"--grace-ms", "20000"}, true, false, "\"labels\":1,"},
      {"past the grace", {"--grace-ms", "300"}, false, false, "ended inside a ZPL job"},
      {"a second signal", {"--grace-ms", "60000"}, false, true, "ended inside a ZPL job"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    ServerProcess server(dir, With(kSmall, c.args));
    ASSERT_TRUE(server.started()) << server.Stderr();
    RawClient idle(server.rawPort());  // connected, never sent a job: not waited for
    RawClient client(server.rawPort());
    ASSERT_TRUE(client.Send(kFirstHalf));
    std::this_thread::sleep_for(milliseconds(300));  // past the idle gap: handed over
    const Clock::time_point signalled = Clock::now();
    server.Signal();
    std::this_thread::sleep_for(milliseconds(500));
    EXPECT_TRUE(idle.ServerClosed());
    RawClient late(server.rawPort());
    EXPECT_FALSE(late.connected() && late.Send(kFirstHalf + kSecondHalf) && !late.ServerClosed())
        << "a connection made after the signal was taken";
    if (c.secondSignal) server.Signal();
    if (c.finishes) {
      EXPECT_TRUE(client.Send(kSecondHalf));
      client.FinishSending();
    }
    EXPECT_EQ(server.Wait(30), 0);
    EXPECT_LT(Seconds(signalled), 10);
    const std::string reports = server.Stdout();
    EXPECT_EQ(CountLines(reports, "\"source\":\"tcp-2\""), 1u) << reports;
    EXPECT_TRUE(reports.find(c.report) != std::string::npos) << reports;
  }
}

// An HTTP request whose body is still arriving at the signal is answered,
// with the connection closed after it, and its job prints.
TEST(ServeStopTest, AnHttpBodyArrivingAtTheSignalIsAnsweredAndPrints) {
  ScratchDir dir;
  ServerProcess server(dir, With(kSmall, {"--port", "off"}));
  ASSERT_TRUE(server.started()) << server.Stderr();
  const std::string job = kFirstHalf + kSecondHalf;
  RawClient client(server.httpPort());
  ASSERT_TRUE(client.Send("POST /print HTTP/1.1\r\nHost: x\r\nContent-Length: " +
                          std::to_string(job.size()) + "\r\n\r\n" + kFirstHalf));
  std::this_thread::sleep_for(milliseconds(300));
  server.Signal();
  std::this_thread::sleep_for(milliseconds(300));
  ASSERT_TRUE(client.Send(kSecondHalf));
  const std::string reply = client.ReceiveAll();
  EXPECT_EQ(reply.rfind("HTTP/1.1 200 ", 0), 0u) << reply;
  EXPECT_TRUE(reply.find("Connection: close\r\n") != std::string::npos) << reply;
  EXPECT_EQ(server.Wait(30), 0);
  EXPECT_EQ(CountLines(server.Stdout(), "\"labels\":1,"), 1u);
}

// Each job goes on to the printer behind --forward as it was sent: the
// stand-in printer draws the very same label. A forward that fails is in
// the report and the label still prints here.
TEST(ServeStopTest, ForwardSendsEachJobOnAndReportsAFailure) {
  ScratchDir printerDir;
  ServerProcess printer(printerDir, With(kSmall, {"--http", "off"}));
  ASSERT_TRUE(printer.started()) << printer.Stderr();
  const std::string jobs = "^XA^FO10,10^A0N,20,20^FDfirst^FS^XZ^XA^FO20,20^GB40,40,4^FS^XZ";
  const struct {
    const char* name;
    int port;
    const char* note;
  } kCases[] = {
      {"a printer", printer.rawPort(), nullptr},
      {"a closed port", ClosedPort(), "not forwarded to 127.0.0.1:"},
  };
  std::vector<std::string> sent;  // the labels drawn here of the forwarded jobs
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const std::string target = "127.0.0.1:" + std::to_string(c.port);
    ServerProcess server(dir, With(kSmall, {"--http", "off", "--forward", target}));
    ASSERT_TRUE(server.started()) << server.Stderr();
    ASSERT_TRUE(SendJob(server.rawPort(), jobs));
    ASSERT_TRUE(server.WaitForFiles("out", 2));
    EXPECT_EQ(server.Stop(), 0);
    const std::string reports = server.Stdout();
    EXPECT_EQ(CountLines(reports, "\"labels\":1,"), 2u) << reports;
    if (c.note == nullptr) {
      EXPECT_EQ(reports.find("not forwarded"), std::string::npos) << reports;
      for (const std::string& name : FileNames(dir / "out"))
        sent.push_back(ReadFile(dir / "out" / name));
    } else {
      EXPECT_EQ(CountLines(reports, c.note + std::to_string(c.port) + ": Connection refused"), 2u)
          << reports;
    }
  }
  ASSERT_TRUE(printer.WaitForFiles("out", 2));
  EXPECT_EQ(printer.Stop(), 0);
  std::vector<std::string> drawn;
  for (const std::string& name : FileNames(printerDir / "out"))
    drawn.push_back(ReadFile(printerDir / "out" / name));
  EXPECT_EQ(CountLines(printer.Stdout(), "\"labels\":1,"), 2u) << printer.Stdout();
  std::sort(sent.begin(), sent.end());
  std::sort(drawn.begin(), drawn.end());
  EXPECT_TRUE(sent == drawn) << "the printer drew other labels than were printed here";
}

}  // namespace
}  // namespace host::testing
