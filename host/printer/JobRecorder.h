#pragma once
// Follows one job as it runs and tells its report what the job itself did:
// the SCRIPT_ERROR records it carried, the commands its parser did not know,
// the warnings its parser noted (placed, as lint lists them),
// the lines its thread wrote to the store's error logs (never those of other
// threads or processes sharing the store), the log lines and store files
// that could not be written, and labels it started but never printed.
//
// The Printer calls Begin before a job and End after it, on the thread that
// runs the job, and passes the session's records to OnCommand and its
// parser's problems to OnProblem. Between Begin and End the recorder is that
// thread's log observer and store write observer. What it holds grows by one compact entry per
// line, record and problem, up to the most a report lists, and counts the rest (a job of a million
// script errors is the case to keep small); End takes time linear in their number.
//
// Script errors and log lines are placed in the job's source through the
// problems the parser notes with their text and offset: each takes the first
// unclaimed problem of its text. Offsets become lines and columns as the
// problems arrive, while the job's bytes (LocateIn) are still there; parsers
// note them in the order of the job, so that costs one pass over the job.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/printer/LineCounter.h"
#include "host/printer/Report.h"
#include "intake/Logging.h"
#include "parsers/ScriptProblem.h"
#include "platform/ScriptingData.h"
#include "record/LabelCommand.h"

namespace host {

class JobRecorder {
 public:
  JobRecorder() = default;
  ~JobRecorder();
  JobRecorder(const JobRecorder&) = delete;
  JobRecorder& operator=(const JobRecorder&) = delete;

  // The most script errors a report lists (0: all); those past it are only
  // counted. The error logs take as many lines of a job, so the errors
  // listed are those that can find their line.
  void SetMostListed(int64_t most) { mostListed_ = most; }
  // Forgets the last job and starts listening to this thread's log lines.
  void Begin();
  // The job about to run (may be null): where its problems are placed. Its
  // bytes must stay until the parser is done with them; End forgets them.
  void LocateIn(const ScriptingData* job);
  void OnCommand(const LabelCommand& command);
  void OnLogWrite(const LogWrite& write);
  void OnProblem(const ScriptProblem& problem);
  // A file the job asked the store to keep (a graphic, a format) that could
  // not be written.
  void OnStoreWriteFailed(const std::filesystem::path& target, int error);
  // Stops listening and adds the job's script errors, log lines and notes to
  // `report`. A script error whose text equals a logged message of the job
  // takes that line's place (once per line).
  void End(JobReport& report);

 private:
  // Every text the job's lines and records hold, each kept once: a job that
  // logs the same complaint a million times holds it once, and its lines
  // and records are a few numbers each.
  class TextPool {
   public:
    uint32_t Add(std::string_view text);
    const std::string& operator[](uint32_t id) const { return texts_[id]; }
    size_t size() const { return texts_.size(); }
    void Clear();

   private:
    std::deque<std::string> texts_;  // stable: the index points into it
    std::unordered_map<std::string_view, uint32_t> index_;
  };

  // One line a logger wrote or failed to write: its time stamp part and its
  // message (or the whole line and the message when the line does not end
  // with its message).
  struct Written {
    uint32_t head = 0;
    uint32_t message = 0;
    uint32_t file = 0;
    int error = 0;
    bool split = true;  // the line is head followed by message
  };

  // A problem's text and where it stands.
  struct Placed {
    uint32_t text = 0;
    SourceSpan at;
  };

  std::string Line(const Written& write) const;
  SourceSpan Place(int64_t offset, int32_t length);
  void PairScriptErrors(JobReport& report) const;
  void AddFailedWrites(JobReport& report) const;
  void AddNotStored(JobReport& report) const;

  bool listening_ = false;
  TextPool texts_;
  std::vector<uint32_t> scriptErrors_;  // their texts, as many as are listed
  int64_t unlistedErrors_ = 0;
  int64_t mostListed_ = 0;
  std::vector<std::string> unsupportedCommands_;  // each once, in the job's order
  std::unordered_set<std::string> unsupportedSeen_;
  std::vector<Written> writes_;
  std::vector<Placed> placed_;
  std::vector<Warning> warnings_;  // the parser's, placed, as many as are listed
  int openLabels_ = 0;             // started since the last print
  // Files the store could not take: the first of each errno, and how many.
  struct NotStored {
    std::string name;  // "Graphics/LOGO.GRF"
    int error = 0;
    int64_t count = 0;
  };
  std::vector<NotStored> notStored_;
  std::string_view jobText_;
  SourcePlace jobStart_;
  bool jobStartKnown_ = false;
  LineCounter cursor_;  // within jobText_, where the last problem stood
};

}  // namespace host
