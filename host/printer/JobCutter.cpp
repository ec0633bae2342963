#include "host/printer/JobCutter.h"

#include <algorithm>

namespace host {
namespace {

constexpr size_t kNone = std::string_view::npos;
// Bytes kept while a job is dropped: enough to see an end marker or an end
// line that began in the bytes already dropped.
constexpr size_t kSkipContext = 16;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Whether `marker` (upper case) lies at `at` in `text`, in any case.
bool MatchesAt(std::string_view text, size_t at, std::string_view marker) {
  if (at + marker.size() > text.size()) return false;
  for (size_t i = 0; i < marker.size(); ++i) {
    if (Upper(text[at + i]) != marker[i]) return false;
  }
  return true;
}

// The first place at or after `from` where `marker` matches.
size_t FindMarker(std::string_view text, std::string_view marker, size_t from) {
  if (marker.empty()) return kNone;
  for (size_t at = from; at + marker.size() <= text.size(); ++at) {
    if (MatchesAt(text, at, marker)) return at;
  }
  return kNone;
}

// Where the search for `length`-byte markers resumes once `size` bytes held none.
size_t Resume(size_t scan, size_t size, size_t length) {
  return std::max(scan, size >= length ? size - length + 1 : size_t{0});
}

}  // namespace

JobCutter::JobCutter(size_t jobLimit, Emit emit) : limit_(jobLimit), emit_(std::move(emit)) {}

void JobCutter::Add(std::string_view bytes) {
  held_.append(bytes);
  while (Step(false)) {
  }
  Compact();
  if (held_.size() > limit_) Overflow();
  if (state_ == State::kSkipToEnd)
    Drop(held_.size() > kSkipContext ? held_.size() - kSkipContext : 0);
}

void JobCutter::Flush() {
  while (Step(true)) {
  }
  if (state_ != State::kSkipToEnd && base_ < held_.size()) {
    emit_(std::string_view(held_).substr(base_));
  }
  base_ = held_.size();
  Compact();
  if (state_ == State::kNoEnd) {
    state_ = State::kSeekStart;
    job_ = nullptr;
  }
}

void JobCutter::Finish() {
  Flush();
  state_ = State::kSeekStart;
  job_ = nullptr;
  before_ = 0;
}

bool JobCutter::Step(bool finishing) {
  switch (state_) {
    case State::kSeekStart:
      return FindStart();
    case State::kSeekEnd:
    case State::kSkipToEnd:
      if (job_->jobEnd.empty()) return false;
      return job_->jobEndIsLine ? FindEndLine(finishing) : FindEnd();
    case State::kNoEnd:
      return false;
  }
  return false;
}

// One pass over the bytes not yet searched, every start marker tried at each
// place: the earliest start wins. A marker that the held bytes end inside of
// may still complete, so the search waits there for the next bytes.
bool JobCutter::FindStart() {
  const std::string_view text(held_);
  for (size_t at = scan_; at < text.size(); ++at) {
    for (const Language& language : kLanguages) {
      const std::string_view start = language.startMarker;
      const size_t have = std::min(start.size(), text.size() - at);
      if (!MatchesAt(text, at, start.substr(0, have))) continue;
      scan_ = at;
      if (have < start.size()) return false;
      job_ = &language;
      start_ = at;
      scan_ = at + start.size();
      state_ = language.jobEnd.empty() ? State::kNoEnd : State::kSeekEnd;
      return true;
    }
  }
  scan_ = text.size();
  return false;
}

bool JobCutter::FindEnd() {
  const size_t at = FindMarker(held_, job_->jobEnd, scan_);
  if (at == kNone) {
    scan_ = Resume(scan_, held_.size(), job_->jobEnd.size());
    return false;
  }
  Cut(at + job_->jobEnd.size());
  return true;
}

// A line holding exactly the end text (one character): a line break before
// it (which a pause may have handed over already), and a line break (CR, LF
// or CR LF) or the end of the stream after it. An end found at the edge of
// what is held waits for the next bytes.
bool JobCutter::FindEndLine(bool finishing) {
  const char end = job_->jobEnd[0];
  const size_t size = held_.size();
  for (size_t at = scan_; at < size; ++at) {
    if (Upper(held_[at]) != end || !IsLineBreak(at == 0 ? before_ : held_[at - 1])) continue;
    const size_t next = at + 1;
    const bool crLast = next + 1 == size && held_[next] == '\r';  // an LF may follow
    if ((next == size || crLast) && !finishing) {
      scan_ = at;
      return false;
    }
    size_t cut = next;  // the end of the stream
    if (next < size && held_[next] == '\n') {
      cut = next + 1;
    } else if (next < size && held_[next] == '\r') {
      cut = next + 1 < size && held_[next + 1] == '\n' ? next + 2 : next + 1;
    } else if (next < size) {
      continue;  // more text on the line: not the end
    }
    Cut(cut);
    return true;
  }
  scan_ = size;
  return false;
}

void JobCutter::Cut(size_t end) {
  if (end - base_ > limit_) ShedLeadingBytes();
  if (state_ != State::kSkipToEnd) emit_(std::string_view(held_).substr(base_, end - base_));
  base_ = scan_ = end;
  state_ = State::kSeekStart;
  job_ = nullptr;
}

// Forgets what lies before `end`; the search resumes where it was.
void JobCutter::Drop(size_t end) {
  base_ = std::max(base_, end);
  Compact();
}

void JobCutter::Compact() {
  if (base_ == 0) return;
  before_ = held_[base_ - 1];
  held_.erase(0, base_);
  scan_ -= std::min(scan_, base_);
  start_ -= std::min(start_, base_);
  base_ = 0;
}

// The bytes before the job's start marker go out on their own (intake drops
// them), so that they alone do not push the job past the limit.
void JobCutter::ShedLeadingBytes() {
  if (state_ == State::kSkipToEnd || start_ <= base_) return;
  emit_(std::string_view(held_).substr(base_, start_ - base_));
  base_ = start_;
}

void JobCutter::Overflow() {
  switch (state_) {
    case State::kSeekStart:  // no start marker before scan_
      if (scan_ > 0) emit_(std::string_view(held_).substr(0, scan_));
      Drop(scan_);
      break;
    case State::kSeekEnd:
    case State::kNoEnd:
      ShedLeadingBytes();
      if (held() <= limit_) break;
      emit_(
          std::string_view(held_).substr(base_));  // past the limit: intake refuses it and says so
      state_ = State::kSkipToEnd;
      break;
    case State::kSkipToEnd:
      break;
  }
}

}  // namespace host
