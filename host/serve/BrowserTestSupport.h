#pragma once
// Headless Chromium for the pages' tests, driven through its DevTools
// protocol on a pipe (fds 3 and 4): JSON messages, each ended by a zero
// byte. A test opens a page, evaluates scripts in it, sends input and takes
// screenshots; the browser is killed with the object. When Chromium cannot
// start, Call answers "" and the test skips, saying why.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/HostTestSupport.h"

namespace host::testing {

std::string Base64Decode(const std::string& text);

// A screenshot as RGB rows.
struct Picture {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(uint32_t x, uint32_t y) const { return &rgb[(y * width + x) * 3]; }
};

bool DecodePng(const std::string& bytes, Picture& picture);

class Browser {
 public:
  explicit Browser(const ScratchDir& dir);
  ~Browser();

  // Sends a command (to the page once attached) and returns its answer; "" on failure.
  std::string Call(const std::string& method, const std::string& params);
  bool Open(const std::string& url);
  // The string a script evaluates to.
  std::string Evaluate(const std::string& script);
  // Evaluates until the script gives `wanted` (for about half a minute).
  bool WaitFor(const std::string& script, const std::string& wanted);
  // A screenshot of the page; false when none could be had.
  bool Screenshot(Picture& picture, std::string* png = nullptr);
  // A plain search: std::regex recurses per character and overflows the
  // stack on a screenshot's base64 text under the sanitizers.
  static std::string Field(const std::string& json, const std::string& name);

 private:
  bool Read(std::string& message);

  pid_t pid_ = -1;
  int out_ = -1, in_ = -1;
  int lastId_ = 0;
  std::string session_;
  std::string buffer_;
};

}  // namespace host::testing
