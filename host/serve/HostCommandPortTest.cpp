// Commands to the printer on the raw port, end to end: a connection that
// only asks is no job, a lone "~WC" prints the configuration label in full
// mode and is dropped with the full-mode hint in device mode, and a "~JA"
// cancels the jobs the same read brought before it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

const std::string kLabel = "^XA^FO20,20^GB100,40,40^FS^XZ\r\n";

// Every report line of `source` once the reports of `until` have come.
std::vector<std::string> Reports(const ServerProcess& server, const std::string& source,
                                 const std::string& until) {
  for (int i = 0; i < 200 && CountLines(server.Stdout(), "\"source\":\"" + until + "\"") == 0;
       ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  std::vector<std::string> lines;
  for (const std::string& line : SplitLines(server.Stdout())) {
    if (line.find("\"source\":\"" + source + "\"") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(HostCommandPortTest, ConnectionsOfCommandsAreReadAsAPrinterReadsThem) {
  for (const bool full : {true, false}) {
    SCOPED_TRACE(full ? "full" : "device");
    ScratchDir dir;
    ServerProcess server(dir, {"--dpi", "203", "--zpl", full ? "full" : "device"});
    ASSERT_TRUE(server.started()) << server.Stderr();
    const int port = server.rawPort();
    {
      RawClient client(port);  // tcp-1: a status poll
      ASSERT_TRUE(client.Send("~HQES\r\n"));
      EXPECT_NE(client.ReceiveUntilQuiet(300).find("PRINTER STATUS"), std::string::npos);
    }
    ASSERT_TRUE(SendJob(port, "~WC\r\n"));                    // tcp-2
    ASSERT_TRUE(SendJob(port, kLabel + kLabel + "~JA\r\n"));  // tcp-3
    ASSERT_TRUE(SendJob(port, kLabel));                       // tcp-4: the last
    EXPECT_EQ(Reports(server, "tcp-4", "tcp-4").size(), 1u) << server.Stdout();
    EXPECT_TRUE(Reports(server, "tcp-1", "tcp-4").empty()) << server.Stdout();
    const std::vector<std::string> wc = Reports(server, "tcp-2", "tcp-4");
    ASSERT_EQ(wc.size(), 1u) << server.Stdout();
    const std::vector<std::string> ja = Reports(server, "tcp-3", "tcp-4");
    if (full) {
      EXPECT_TRUE(Has(wc[0], "\"language\":\"ZPL\",") && Has(wc[0], "\"labels\":1,")) << wc[0];
      ASSERT_EQ(ja.size(), 2u) << server.Stdout();
      EXPECT_TRUE(Has(ja[0], "cancelled by ~JA: 2 jobs")) << ja[0];
      EXPECT_TRUE(Has(ja[1], "\"labels\":0,") && Has(ja[1], "\"notes\":[]")) << ja[1];
    } else {
      EXPECT_TRUE(Has(wc[0], "discarded 5 bytes outside any job")) << wc[0];
      EXPECT_TRUE(Has(wc[0], "does not support ~WC; --zpl full")) << wc[0];
      ASSERT_EQ(ja.size(), 3u) << server.Stdout();
      EXPECT_TRUE(Has(ja[2], "does not support ~JA; --zpl full")) << ja[2];
    }
    EXPECT_EQ(CountLines(server.Stdout(), "no job found"), 0u) << server.Stdout();
  }
}

}  // namespace
}  // namespace host::testing
