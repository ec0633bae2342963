#pragma once
// One source's way into intake, the same for every source: a file or standard
// input (render, watch), a raw port connection or an HTTP body (serve). The
// source's bytes are cut into whole jobs by a JobCutter and each job is one
// read of the source's own intake, so jobs sent back to back, in one read or
// many and in any mix of languages, each print, in order, each its own job.
// With `chunkBytes` the reads are of that size instead, the way a slow port
// delivers bytes, markers split across reads and all (render's --chunk).
//
// Nothing is lost without a word. Intake posts its jobs to `window`; beside
// them, in order with them, this posts
//   kJobDiscardedNote: intake discarded a job over the job limit (value: the
//     job's language code);
//   kBytesDroppedNote: bytes that held no job were dropped (value: how many;
//     white space between jobs does not count), said once for a run of them,
//     before the next job, at a pause, or at the end. A source that never
//     held a job is not told this at its end: its owner says it held no job
//     (EndNote).
// Unfinished names a job the source left without its end. Each job it
// posts says where in the source it began (ScriptingData's source fields).
//
// Caret-and-tilde commands outside any job are read as a printer reads them
// (LooseCommands.h): status queries alone are no job and nothing lost
// (kStatusPollNote); other commands are, in the full dialect, a ZPL job of
// their own (a printer carries out "~WC" wherever it arrives), and in the
// device's, bytes outside any job said with what full mode would do
// (kLooseCommandsNote, the bytes as the notification's job). In the full
// dialect a "~JA" (cancel all) drops the source's jobs that came before it
// and are not yet posted (kJobsCancelledNote: how many): jobs are posted at
// the end of each Add, Pause and Finish, and an Add that leaves bytes after
// its last job (a few bytes, a few jobs) keeps them to its Pause or Finish,
// so a read of a connection up to its pause is cancelled whole by a "~JA" at
// its end.
//
// Owners: the render command's feeder (one per file) and the print queue (one
// per connection or HTTP request). One caller at a time; `window` must
// outlive this object.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/printer/JobCutter.h"
#include "host/printer/LineCounter.h"
#include "intake/ProcessScriptLanguageData.h"
#include "parsers/zpl/ZplDialect.h"
#include "platform/HostWindow.h"

namespace host {

// The codes SourceIntake posts beside intake's own.
enum SourceIntakeNote : int32_t {
  kJobDiscardedNote = 1101,
  kBytesDroppedNote = 1102,
  kStatusPollNote = 1103,
  kLooseCommandsNote = 1104,
  kJobsCancelledNote = 1105,
};

class SourceIntake {
 public:
  // Asked before each read of intake; false drops the read (the reader stops).
  using Gate = std::function<bool()>;

  SourceIntake(platform::HostWindow* window, size_t jobLimit, size_t chunkBytes = 0, Gate gate = {},
               ZplDialect dialect = ZplDialect::kDevice);
  SourceIntake(const SourceIntake&) = delete;
  SourceIntake& operator=(const SourceIntake&) = delete;

  // The source's next bytes, in the order they came.
  void Add(std::string_view bytes);
  // The source paused (a connection's idle gap): what is held is read as it
  // stands. A job whose end has not come goes on in the next bytes.
  void Pause();
  // The source ended.
  void Finish();
  // The language of a job intake still holds (the source left it without its
  // end), or "" when none.
  std::string Unfinished() const;

 private:
  // Intake's window: a run of dropped bytes is said before its next post.
  class Relay : public platform::HostWindow {
   public:
    explicit Relay(SourceIntake& owner) : owner_(owner) {}
    void Post(platform::Notification notification) override;

   private:
    SourceIntake& owner_;
  };

  void Read(std::string_view bytes);
  void ReadLoose(std::string_view bytes);
  void AddChunks(std::string_view bytes);
  void SayDropped();
  void Say(int32_t code, int64_t value, std::unique_ptr<ScriptingData> job = nullptr);
  // Posts to the window, or holds until the read ends (the full dialect).
  void Forward(platform::Notification notification);
  void CancelHeldJobs();
  void EndRead();

  platform::HostWindow* window_;
  Relay relay_{*this};
  CProcessScriptLanguageData intake_;
  JobCutter cutter_;
  size_t chunkBytes_;
  std::string chunk_;  // a read of chunkBytes_ being gathered
  Gate gate_;
  size_t dropped_ = 0;  // bytes dropped and not yet said
  bool anyJob_ = false;
  ZplDialect dialect_;
  std::vector<platform::Notification> held_;  // of the read going on (full dialect)
  LineCounter read_;      // where the next read starts in the source
  SourcePlace jobStart_;  // where the job intake holds began
  bool holding_ = false;  // intake holds a job begun in an earlier read
};

// What reports say when the framing could not make a job of some bytes.
// A job over the limit, set by `option`.
std::string DiscardedNote(size_t limit, const char* option);
// Bytes without a job between others.
std::string DroppedNote(int64_t bytes);
// A source that held no job (`unfinished` empty) or ended inside one.
std::string EndNote(const std::string& unfinished);
// Jobs a "~JA" cancelled.
std::string CancelledNote(int64_t jobs);
// What kLooseCommandsNote's notification says: the bytes dropped and, when
// the full dialect would take the commands, the hint that says so.
std::vector<std::string> LooseCommandsNotes(const ScriptingData& bytes);

}  // namespace host
