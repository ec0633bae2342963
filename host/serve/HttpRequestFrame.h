#pragma once
// Where one HTTP/1.1 request ends in the bytes a connection has sent so far.
// The HTTP front reads every request whole before a worker sees it, so it
// must know, from the head alone, how long the body is: Content-Length, or
// the chunks of "Transfer-Encoding: chunked". A body that would pass the job
// limit is refused as soon as the head says so, before any of it is read;
// so is a head over its own cap, a head that cannot be framed, and a request
// whose length is said two ways.
//
// Pure functions of the bytes: the front calls them on every read.

#include <cstddef>
#include <string>
#include <string_view>

namespace host {

struct FrameLimits {
  size_t maxHead = 64 * 1024;  // request line and headers
  size_t maxBody = 0;          // the job limit
};

struct RequestFrame {
  enum class State { kPartial, kWhole, kRefused };
  State state = State::kPartial;
  size_t start = 0;       // blank lines before the request line are skipped
  size_t end = 0;         // kWhole: one past the request's last byte
  bool headDone = false;  // the head is all here (kPartial: the body is not)
  bool expectContinue = false;
  std::string method;  // once the head is here
  std::string target;
  int status = 0;   // kRefused: the answer's status
  std::string why;  // kRefused: what the answer says

  // Where framing stopped, so that the next read goes on from there.
  bool chunked = false;
  size_t scanned = 0;     // Content-Length: the bytes needed; chunked: the next chunk's line
  size_t chunkTotal = 0;  // chunked: the body's bytes so far
};

// Frames the request at the start of `bytes`. `previous` is this call's
// answer for a shorter prefix of the same bytes (kPartial), or null.
RequestFrame FrameRequest(std::string_view bytes, const FrameLimits& limits,
                          const RequestFrame* previous = nullptr);

// The value of the first header `name` (any case) in a request's head,
// without surrounding blanks; "" when it has none.
std::string HeaderValue(std::string_view head, std::string_view name);

}  // namespace host
