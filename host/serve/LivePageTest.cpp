// The live page in a real browser: headless Chromium, driven through its
// DevTools pipe, opens the page; a job posted meanwhile must appear with its
// picture and report, and a screenshot must show the expected layout.
// Skipped, saying why, when the browser cannot start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

std::string Base64Decode(const std::string& text) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    const char* at = std::strchr(kDigits, c);
    if (c == '\0' || at == nullptr) continue;
    bits = (bits << 6) | static_cast<uint32_t>(at - kDigits);
    if ((count += 6) >= 8) out += static_cast<char>((bits >> (count -= 8)) & 0xFF);
  }
  return out;
}

// A screenshot as RGB rows.
struct Picture {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(uint32_t x, uint32_t y) const { return &rgb[(y * width + x) * 3]; }
};

bool DecodePng(const std::string& bytes, Picture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  image.format = PNG_FORMAT_RGB;
  picture.width = image.width;
  picture.height = image.height;
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

// Headless Chromium with its DevTools protocol on a pipe (fds 3 and 4):
// JSON messages, each ended by a zero byte.
class Browser {
 public:
  explicit Browser(const ScratchDir& dir) {
    int toBrowser[2], fromBrowser[2];
    if (::pipe(toBrowser) != 0 || ::pipe(fromBrowser) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(toBrowser[0], 3);
      ::dup2(fromBrowser[1], 4);
      const int quiet = ::open("/dev/null", O_WRONLY);
      ::dup2(quiet, 1);
      ::dup2(quiet, 2);
      const std::string profile = "--user-data-dir=" + (dir / "profile").string();
      ::execlp("chromium", "chromium", "--headless", "--no-sandbox", "--disable-gpu",
               "--disable-quic", "--no-first-run", "--disable-background-networking",
               "--disable-component-update", "--disable-sync", "--hide-scrollbars", profile.c_str(),
               "--remote-debugging-pipe", "about:blank", nullptr);
      ::_exit(127);
    }
    ::close(toBrowser[0]);
    ::close(fromBrowser[1]);
    out_ = toBrowser[1];
    in_ = fromBrowser[0];
  }
  ~Browser() {
    if (out_ >= 0) ::close(out_);
    if (in_ >= 0) ::close(in_);
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // Sends a command (to the page once attached) and returns its answer; "" on failure.
  std::string Call(const std::string& method, const std::string& params) {
    const int id = ++lastId_;
    std::string message =
        "{\"id\":" + std::to_string(id) + ",\"method\":\"" + method + "\",\"params\":" + params;
    if (!session_.empty()) message += ",\"sessionId\":\"" + session_ + "\"";
    message += "}";
    message.push_back('\0');
    if (out_ < 0 ||
        ::write(out_, message.data(), message.size()) != static_cast<ssize_t>(message.size()))
      return "";
    const std::string tag = "{\"id\":" + std::to_string(id) + ",";
    for (std::string answer; Read(answer);) {
      if (answer.rfind(tag, 0) == 0) return answer;
    }
    return "";
  }

  bool Open(const std::string& url) {
    const std::string target =
        Field(Call("Target.createTarget", "{\"url\":\"" + url + "\"}"), "targetId");
    if (target.empty()) return false;
    session_ =
        Field(Call("Target.attachToTarget", "{\"targetId\":\"" + target + "\",\"flatten\":true}"),
              "sessionId");
    return !session_.empty();
  }

  // The string a script evaluates to.
  std::string Evaluate(const std::string& script) {
    std::string quoted;
    for (char c : script) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return Field(Call("Runtime.evaluate",
                      "{\"expression\":\"String(" + quoted + ")\",\"returnByValue\":true}"),
                 "value");
  }

  // Evaluates until the script gives `wanted` (for about half a minute).
  bool WaitFor(const std::string& script, const std::string& wanted) {
    for (int i = 0; i < 300; ++i) {
      if (Evaluate(script) == wanted) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  // A plain search: std::regex recurses per character and overflows the
  // stack on a screenshot's base64 text under the sanitizers.
  static std::string Field(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\":\"";
    const size_t at = json.find(key);
    if (at == std::string::npos) return "";
    const size_t from = at + key.size();
    const size_t end = json.find('"', from);
    return end == std::string::npos ? "" : json.substr(from, end - from);
  }

 private:
  bool Read(std::string& message) {
    message.clear();
    for (;;) {
      const size_t end = buffer_.find('\0');
      if (end != std::string::npos) {
        message = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return true;
      }
      pollfd ready{in_, POLLIN, 0};
      if (::poll(&ready, 1, 30000) <= 0) return false;
      char chunk[65536];
      const ssize_t n = ::read(in_, chunk, sizeof chunk);
      if (n <= 0) return false;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

  pid_t pid_ = -1;
  int out_ = -1, in_ = -1;
  int lastId_ = 0;
  std::string session_;
  std::string buffer_;
};

TEST(LivePageTest, AJobPostedWhileThePageIsOpenAppearsWithItsPictureAndReport) {
  ScratchDir dir;
  ServerProcess server(dir, {"--port", "off", "--dpi", "100", "--width", "2"});
  ASSERT_TRUE(server.started()) << server.Stderr();
  Browser browser(dir);
  if (browser.Call("Browser.getVersion", "{}").empty())
    GTEST_SKIP() << "Chromium could not start (is the chromium package installed?)";
  ASSERT_TRUE(browser.Open("http://127.0.0.1:" + std::to_string(server.httpPort()) + "/"));
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

}  // namespace
}  // namespace host::testing
