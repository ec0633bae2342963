#include "host/serve/BrowserTestSupport.h"

#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace host::testing {

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

Browser::Browser(const ScratchDir& dir) {
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
Browser::~Browser() {
  if (out_ >= 0) ::close(out_);
  if (in_ >= 0) ::close(in_);
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

std::string Browser::Call(const std::string& method, const std::string& params) {
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

bool Browser::Open(const std::string& url) {
  const std::string target =
      Field(Call("Target.createTarget", "{\"url\":\"" + url + "\"}"), "targetId");
  if (target.empty()) return false;
  session_ =
      Field(Call("Target.attachToTarget", "{\"targetId\":\"" + target + "\",\"flatten\":true}"),
            "sessionId");
  return !session_.empty();
}

std::string Browser::Evaluate(const std::string& script) {
  std::string quoted;
  for (char c : script) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
  return Field(Call("Runtime.evaluate",
                    "{\"expression\":\"String(" + quoted + ")\",\"returnByValue\":true}"),
               "value");
}

bool Browser::WaitFor(const std::string& script, const std::string& wanted) {
  for (int i = 0; i < 300; ++i) {
    if (Evaluate(script) == wanted) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::string Browser::Field(const std::string& json, const std::string& name) {
  const std::string key = "\"" + name + "\":\"";
  const size_t at = json.find(key);
  if (at == std::string::npos) return "";
  const size_t from = at + key.size();
  const size_t end = json.find('"', from);
  return end == std::string::npos ? "" : json.substr(from, end - from);
}

bool Browser::Read(std::string& message) {
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

bool Browser::Screenshot(Picture& picture, std::string* png) {
  const std::string bytes =
      Base64Decode(Field(Call("Page.captureScreenshot", "{\"format\":\"png\"}"), "data"));
  if (png != nullptr) *png = bytes;
  return DecodePng(bytes, picture);
}

}  // namespace host::testing
