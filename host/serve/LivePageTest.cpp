// The live page in a real browser: headless Chromium, driven through its
// DevTools pipe, opens the page; a job posted meanwhile must appear with its
// picture and report, and a screenshot must show the expected layout.
// Skipped, saying why, when the browser cannot start.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <fstream>

#include "host/serve/BrowserTestSupport.h"
#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

// A server printing 2-inch labels at 100 dpi, its live page open in the browser.
class LivePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.started()) << server.Stderr();
    if (browser.Call("Browser.getVersion", "{}").empty())
      GTEST_SKIP() << "Chromium could not start (is the chromium package installed?)";
    ASSERT_TRUE(browser.Open("http://127.0.0.1:" + std::to_string(server.httpPort()) + "/"));
  }

  ScratchDir dir;
  ServerProcess server{dir, {"--port", "off", "--dpi", "100", "--width", "2"}};
  Browser browser{dir};
};

TEST_F(LivePageTest, AJobPostedWhileThePageIsOpenAppearsWithItsPictureAndReport) {
  ASSERT_FALSE(browser
                   .Call("Emulation.setDeviceMetricsOverride",
                         "{\"width\":800,\"height\":600,\"deviceScaleFactor\":1,"
                         "\"mobile\":false}")
                   .empty());
  ASSERT_TRUE(browser.WaitFor("document.getElementById('status').textContent", "live"));
  EXPECT_EQ(browser.Evaluate("document.querySelectorAll('.job').length"), "0");

  httplib::Client client("127.0.0.1", server.httpPort());
  ASSERT_TRUE(client.Post("/print", "^XA^FO20,20^GB160,80,80^FS^XZ", "text/plain"));
  const std::string kImage = "document.querySelector('.job img')";
  ASSERT_TRUE(browser.WaitFor(kImage + " && " + kImage + ".naturalWidth", "200"));
  EXPECT_EQ(browser.Evaluate("document.querySelector('.job h2').textContent"),
            "http-1: job 1, ZPL, 1 label(s)");

  // The expected layout: the dark header across the top, the job box below
  // the paste box, and the label's black box drawn inside the picture.
  const std::string shot =
      Browser::Field(browser.Call("Page.captureScreenshot", "{\"format\":\"png\"}"), "data");
  Picture picture;
  const std::string png = Base64Decode(shot);
  ASSERT_TRUE(DecodePng(png, picture));
  // The README's picture of the page is made by this test.
  if (const char* keep = std::getenv("LABELHOST_SCREENSHOT_OUT")) {
    std::ofstream(keep, std::ios::binary) << png;
  }
  ASSERT_EQ(picture.width, 800u);
  const uint8_t* header = picture.At(400, 5);
  EXPECT_EQ((std::vector<int>{header[0], header[1], header[2]}), (std::vector<int>{39, 50, 63}));
  const int dropBottom = std::stoi(browser.Evaluate(
      "Math.round(document.getElementById('drop').getBoundingClientRect().bottom)"));
  const int imageTop =
      std::stoi(browser.Evaluate("Math.round(" + kImage + ".getBoundingClientRect().top)"));
  const int imageLeft =
      std::stoi(browser.Evaluate("Math.round(" + kImage + ".getBoundingClientRect().left)"));
  EXPECT_GT(imageTop, dropBottom);
  ASSERT_LT(imageTop + 60, static_cast<int>(picture.height));
  const uint8_t* ink =
      picture.At(static_cast<uint32_t>(imageLeft + 60), static_cast<uint32_t>(imageTop + 40));
  EXPECT_LT(ink[0] + ink[1] + ink[2], 100) << "the label's black box";

  // Actual size: 200 dots at 100 dpi are two inches, 192 CSS pixels.
  browser.Evaluate("document.getElementById('actual').click()");
  EXPECT_TRUE(browser.WaitFor(kImage + ".clientWidth", "192"))
      << browser.Evaluate(kImage + ".clientWidth");
}

TEST_F(LivePageTest, ACardListsTheJobsScriptErrors) {
  ASSERT_TRUE(browser.WaitFor("document.getElementById('status').textContent", "live"));
  httplib::Client client("127.0.0.1", server.httpPort());
  ASSERT_TRUE(client.Post("/print", ReadFile(ExamplesDir() / "zpl/with-errors.zpl"), "text/plain"));
  const std::string kErrors = "document.querySelectorAll('.job .log li.error')";
  ASSERT_TRUE(browser.WaitFor(kErrors + ".length", "3"));
  EXPECT_EQ(browser.Evaluate(kErrors + "[0].textContent"),
            "line 4:1: script error (ZPL_ERROR_LOG.TXT): Unsupported command: ^CI28");
  EXPECT_EQ(browser.Evaluate("document.querySelector('header a').getAttribute('href')"), "/edit");
}

}  // namespace
}  // namespace host::testing
