#include "host/serve/HttpRequestFrame.h"

#include <cctype>
#include <optional>

namespace host {
namespace {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

RequestFrame Refused(RequestFrame frame, int status, std::string why) {
  frame.state = RequestFrame::State::kRefused;
  frame.status = status;
  frame.why = std::move(why);
  return frame;
}

// A decimal length of at most 18 digits.
std::optional<size_t> Decimal(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  size_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<size_t>(c - '0');
  }
  return value;
}

// A chunk size: hexadecimal, at most 15 digits, extensions after ';'.
std::optional<size_t> ChunkSize(std::string_view line) {
  line = Trim(line.substr(0, line.find(';')));
  if (line.empty() || line.size() > 15) return std::nullopt;
  size_t value = 0;
  for (char c : line) {
    const int digit = std::isxdigit(static_cast<unsigned char>(c))
                          ? (std::isdigit(static_cast<unsigned char>(c))
                                 ? c - '0'
                                 : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10)
                          : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<size_t>(digit);
  }
  return value;
}

// Frames a chunked body starting at `at`: its end, kPartial, or refused.
RequestFrame FrameChunks(std::string_view bytes, size_t at, size_t total, RequestFrame frame,
                         const FrameLimits& limits) {
  frame.chunked = true;
  for (;;) {
    frame.scanned = at;  // a whole chunk's line and data are read from here
    frame.chunkTotal = total;
    const size_t eol = bytes.find('\n', at);
    if (eol == std::string_view::npos) {
      if (bytes.size() - at > 1024) return Refused(frame, 400, "a chunk size line is too long");
      return frame;
    }
    const std::optional<size_t> size = ChunkSize(bytes.substr(at, eol - at));
    if (!size) return Refused(frame, 400, "a chunk size is not a hexadecimal number");
    at = eol + 1;
    if (*size == 0) break;
    if (*size > limits.maxBody - total) return Refused(frame, 413, "");
    total += *size;
    if (bytes.size() - at < *size + 1) return frame;  // the chunk and its line end
    at += *size;
    if (bytes[at] == '\r') ++at;
    if (at >= bytes.size()) return frame;
    if (bytes[at] != '\n') return Refused(frame, 400, "a chunk does not end its line");
    ++at;
  }
  // Trailer lines, up to an empty one.
  for (;;) {
    const size_t eol = bytes.find('\n', at);
    if (eol == std::string_view::npos) {
      if (bytes.size() - at > limits.maxHead) return Refused(frame, 431, "the trailer is too long");
      return frame;
    }
    const bool empty = Trim(bytes.substr(at, eol - at)).empty();
    at = eol + 1;
    if (empty) break;
  }
  frame.state = RequestFrame::State::kWhole;
  frame.end = at;
  return frame;
}

}  // namespace

RequestFrame FrameRequest(std::string_view bytes, const FrameLimits& limits,
                          const RequestFrame* previous) {
  if (previous != nullptr && previous->headDone) {
    if (previous->chunked)
      return FrameChunks(bytes, previous->scanned, previous->chunkTotal, *previous, limits);
    if (bytes.size() < previous->scanned) return *previous;
    RequestFrame frame = *previous;
    frame.state = RequestFrame::State::kWhole;
    frame.end = frame.scanned;
    return frame;
  }
  RequestFrame frame;
  while (frame.start < bytes.size() && (bytes[frame.start] == '\r' || bytes[frame.start] == '\n'))
    ++frame.start;
  // Only the head's bytes are searched, so framing a long body costs nothing.
  const std::string_view searched = bytes.substr(0, frame.start + limits.maxHead + 4);
  size_t headEnd = searched.find("\r\n\r\n", frame.start);
  size_t bodyStart = headEnd == std::string_view::npos ? headEnd : headEnd + 4;
  const size_t bare = searched.find("\n\n", frame.start);
  if (bare != std::string_view::npos && (headEnd == std::string_view::npos || bare < headEnd))
    headEnd = bare, bodyStart = bare + 2;
  if (headEnd == std::string_view::npos) {
    if (bytes.size() - frame.start > limits.maxHead)
      return Refused(frame, 431,
                     "the request's head is over " + std::to_string(limits.maxHead) + " bytes");
    return frame;
  }
  if (headEnd - frame.start > limits.maxHead)
    return Refused(frame, 431,
                   "the request's head is over " + std::to_string(limits.maxHead) + " bytes");
  frame.headDone = true;
  const std::string_view head = bytes.substr(frame.start, headEnd - frame.start);

  const std::string_view line = Trim(head.substr(0, head.find('\n')));
  const size_t space = line.find(' ');
  const size_t second = space == std::string_view::npos ? space : line.find(' ', space + 1);
  if (space == 0 || second == std::string_view::npos || line.substr(second + 1).rfind("HTTP/", 0))
    return Refused(frame, 400, "the request line is not METHOD TARGET HTTP/1.1");
  frame.method = std::string(line.substr(0, space));
  frame.target = std::string(line.substr(space + 1, second - space - 1));

  std::optional<size_t> length;
  bool chunked = false;
  for (size_t at = head.find('\n'); at != std::string_view::npos && at + 1 < head.size();) {
    const size_t eol = head.find('\n', at + 1);
    const std::string_view field =
        head.substr(at + 1, eol == std::string_view::npos ? std::string_view::npos : eol - at - 1);
    at = eol;
    const size_t colon = field.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = field.substr(0, colon), value = Trim(field.substr(colon + 1));
    if (SameText(name, "Content-Length")) {
      const std::optional<size_t> said = Decimal(value);
      if (!said || (length && *length != *said))
        return Refused(frame, 400, "the Content-Length is not one whole number");
      length = said;
    } else if (SameText(name, "Transfer-Encoding")) {
      if (!SameText(value, "chunked"))
        return Refused(frame, 400, "only the chunked Transfer-Encoding is understood");
      chunked = true;
    } else if (SameText(name, "Expect")) {
      frame.expectContinue = SameText(value, "100-continue");
    }
  }
  if (chunked && length)
    return Refused(frame, 400, "a request has a Content-Length or is chunked, not both");
  if (chunked) return FrameChunks(bytes, bodyStart, 0, frame, limits);
  const size_t body = length.value_or(0);
  if (body > limits.maxBody) return Refused(frame, 413, "");
  frame.scanned = bodyStart + body;
  if (bytes.size() - bodyStart < body) return frame;
  frame.state = RequestFrame::State::kWhole;
  frame.end = bodyStart + body;
  return frame;
}

std::string HeaderValue(std::string_view head, std::string_view name) {
  for (size_t at = head.find('\n'); at != std::string_view::npos;) {
    const size_t eol = head.find('\n', at + 1);
    const std::string_view field =
        head.substr(at + 1, eol == std::string_view::npos ? std::string_view::npos : eol - at - 1);
    at = eol;
    const size_t colon = field.find(':');
    if (colon != std::string_view::npos && SameText(field.substr(0, colon), name))
      return std::string(Trim(field.substr(colon + 1)));
  }
  return "";
}

}  // namespace host
