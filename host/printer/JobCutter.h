#pragma once
// Cuts a byte stream into whole jobs, the way a port with a large enough
// buffer would deliver them: each piece runs from the end of the previous job
// through the true end of the next one (right after "^XZ", "ENDTPL",
// "</TPL-DOCUMENT>", or a DPL line that is exactly "E"), so a marker is never
// split and intake's own rule never closes a job before its end. A language
// without a true end (JPL: its start and end marker are the same text) is
// never cut: once it starts, the rest of the stream (or of the read, when the
// source pauses) is one piece.
//
// SourceIntake hands the pieces to intake one read each, for every source
// (files, standard input, raw port connections, HTTP bodies), so a stream of
// many jobs prints job by job and memory is bounded by the largest job. A job
// that grows past `jobLimit` bytes is handed over as it stands (intake refuses
// and logs it, being over intake's limit too), and the rest of it is dropped
// up to its end. Bytes before a start marker belong to the job that follows
// (settings sent ahead of a label), unless they would push it past the limit:
// then, as when they alone pass it, they are handed over on their own (intake
// drops them, as they hold no marker, and SourceIntake says so).
//
// Each language's start marker and true end come from the language table, in
// intake's attribution order (which decides between start markers found at
// the same place). Markers match in any case, as intake matches them. Work is linear in the
// stream's length; one caller at a time.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "intake/Languages.h"

namespace host {

class JobCutter {
 public:
  using Emit = std::function<void(std::string_view piece)>;

  // `emit` is called with every piece, in order; it must not call back.
  JobCutter(size_t jobLimit, Emit emit);

  void Add(std::string_view bytes);
  // The source paused (a connection's idle gap): what is held goes out as it
  // stands. A job whose end has not come goes on in the next bytes, which are
  // cut at its end; a JPL job ends here, having no end of its own.
  void Flush();
  // The stream ended: what is held goes out as the last piece.
  void Finish();

  // Bytes held back for the job not yet ended.
  size_t held() const { return held_.size() - base_; }
  // Bytes are held that no job has claimed yet (they may begin one, or be
  // the commands after the last).
  bool holdsUnclaimed() const { return state_ == State::kSeekStart && held() > 0; }

 private:
  enum class State { kSeekStart, kSeekEnd, kNoEnd, kSkipToEnd };

  // One search for what the state seeks; true when it found it.
  bool Step(bool finishing);
  bool FindStart();
  bool FindEnd();
  bool FindEndLine(bool finishing);
  // Hands out (or, while skipping, drops) the held bytes before `end`.
  void Cut(size_t end);
  void Drop(size_t end);
  void Compact();
  void ShedLeadingBytes();
  void Overflow();

  size_t limit_;
  Emit emit_;
  std::string held_;  // the bytes before base_ are spent
  size_t base_ = 0;
  size_t scan_ = 0;   // nothing sought starts between base_ and here
  size_t start_ = 0;  // the start marker of the job being read
  char before_ = 0;   // the spent byte before held_[0] (0: none)
  State state_ = State::kSeekStart;
  const Language* job_ = nullptr;
};

}  // namespace host
