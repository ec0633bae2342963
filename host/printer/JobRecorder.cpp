#include "host/printer/JobRecorder.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>

#include "platform/StoreFile.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "session/SessionManager.h"

namespace host {
namespace {

// Places kept per script error a report lists: each error may also be a log
// line of its own words, and a job may log to more than one log.
constexpr int64_t kPlacesPerListed = 4;

}  // namespace

JobRecorder::~JobRecorder() {
  if (!listening_) return;
  SetThreadLogObserver(nullptr);
  platform::SetThreadStoreWriteObserver(nullptr);
}

uint32_t JobRecorder::TextPool::Add(std::string_view text) {
  const auto found = index_.find(text);
  if (found != index_.end()) return found->second;
  const auto id = static_cast<uint32_t>(texts_.size());
  texts_.emplace_back(text);
  index_.emplace(texts_.back(), id);
  return id;
}

void JobRecorder::TextPool::Clear() {
  index_ = {};
  texts_ = {};
}

void JobRecorder::Begin() {
  texts_.Clear();
  scriptErrors_.clear();
  unlistedErrors_ = 0;
  unsupportedCommands_.clear();
  unsupportedSeen_ = {};
  writes_.clear();
  placed_.clear();
  warnings_.clear();
  openLabels_ = 0;
  notStored_.clear();
  LocateIn(nullptr);
  SetThreadLogObserver([this](const LogWrite& write) { OnLogWrite(write); });
  platform::SetThreadStoreWriteObserver([this](const std::filesystem::path& target, int error) {
    OnStoreWriteFailed(target, error);
  });
  listening_ = true;
}

void JobRecorder::LocateIn(const ScriptingData* job) {
  jobText_ = job ? std::string_view(job->data.data(), job->data.size()) : std::string_view();
  jobStart_ = SourcePlace{};
  if (job != nullptr && job->sourceOffset >= 0) {
    jobStart_ = SourcePlace{job->sourceOffset, job->sourceLine, job->sourceColumn};
  }
  cursor_ = LineCounter(jobStart_);
}

// Parsers place their problems in the order of the job; one placed before
// the last is counted again from the job's start.
SourceSpan JobRecorder::Place(int64_t offset, int32_t length) {
  if (offset < 0 || static_cast<uint64_t>(offset) > jobText_.size()) return {};
  int64_t reached = cursor_.place().offset - jobStart_.offset;
  if (offset < reached) {
    cursor_ = LineCounter(jobStart_);
    reached = 0;
  }
  cursor_.Advance(
      jobText_.substr(static_cast<size_t>(reached), static_cast<size_t>(offset - reached)));
  const SourcePlace& at = cursor_.place();
  return SourceSpan{at.line, at.column, at.offset, length};
}

void JobRecorder::OnCommand(const LabelCommand& command) {
  switch (command.kind) {
    case SCRIPT_ERROR: {
      if (mostListed_ > 0 && static_cast<int64_t>(scriptErrors_.size()) >= mostListed_) {
        ++unlistedErrors_;
        break;
      }
      const size_t at = record::ScriptErrorParam::kMessage;
      scriptErrors_.push_back(texts_.Add(
          at < command.params.size() ? platform::WideToUtf8(command.params[at]) : std::string()));
      break;
    }
    case START_LABEL:
      ++openLabels_;
      break;
    case PRINT_LABEL:
      openLabels_ = 0;
      break;
    default:
      break;
  }
}

void JobRecorder::OnLogWrite(const LogWrite& write) {
  const std::string message = platform::WideToUtf8(write.message);
  const std::string_view line = write.line;
  Written written;
  written.message = texts_.Add(message);
  written.split = line.ends_with(message);
  written.head = texts_.Add(written.split ? line.substr(0, line.size() - message.size()) : line);
  written.file = texts_.Add(platform::WideToUtf8(write.fileName));
  written.error = write.error;
  writes_.push_back(written);
}

std::string JobRecorder::Line(const Written& write) const {
  return write.split ? texts_[write.head] + texts_[write.message] : texts_[write.head];
}

void JobRecorder::OnStoreWriteFailed(const std::filesystem::path& target, int error) {
  auto same = std::find_if(notStored_.begin(), notStored_.end(),
                           [error](const NotStored& n) { return n.error == error; });
  if (same != notStored_.end()) {
    ++same->count;
    return;
  }
  const std::string name = (target.parent_path().filename() / target.filename()).string();
  notStored_.push_back(NotStored{name, error, 1});
}

// One note per reason, first of the notes: the job printed without a file
// it asked the store to keep, so the run ends with status 1.
void JobRecorder::AddNotStored(JobReport& report) const {
  std::vector<std::string> notes;
  for (const NotStored& n : notStored_) {
    const int64_t others = n.count - 1;
    const std::string more = others == 0 ? ""
                                         : " and " + std::to_string(others) +
                                               (others == 1 ? " more file" : " more files");
    notes.push_back(n.name + more + " could not be stored: " + std::strerror(n.error));
  }
  if (notes.empty()) return;
  report.notes.insert(report.notes.begin(), notes.begin(), notes.end());
  report.incomplete = true;
}

void JobRecorder::OnProblem(const ScriptProblem& problem) {
  if (problem.kind == ScriptProblem::kScriptError) {
    // The places of the errors and log lines a report can list: the first
    // ones of the job, a few per listed error (an error may also be logged).
    if (mostListed_ > 0 && static_cast<int64_t>(placed_.size()) >= kPlacesPerListed * mostListed_)
      return;
    placed_.push_back(Placed{texts_.Add(platform::WideToUtf8(problem.message)),
                             Place(problem.offset, problem.length)});
    return;
  }
  if (problem.kind == ScriptProblem::kWarning) {
    if (mostListed_ > 0 && static_cast<int64_t>(warnings_.size()) >= mostListed_) return;
    const SourceSpan at = Place(problem.offset, problem.length);
    warnings_.push_back(
        Warning{platform::WideToUtf8(problem.message), at.line, at.column, at.offset, at.length});
    return;
  }
  if (problem.kind != ScriptProblem::kUnsupportedCommand) return;
  // Each command once: a job repeating one unknown command a million times
  // needs it said once, and the report lists no more than its cap.
  if (mostListed_ > 0 && static_cast<int64_t>(unsupportedCommands_.size()) >= mostListed_) return;
  std::string command = platform::WideToUtf8(problem.command);
  if (unsupportedSeen_.insert(command).second) unsupportedCommands_.push_back(std::move(command));
}

void JobRecorder::End(JobReport& report) {
  if (listening_) {
    SetThreadLogObserver(nullptr);
    platform::SetThreadStoreWriteObserver(nullptr);
  }
  listening_ = false;
  AddNotStored(report);
  // The session runs each label as soon as the parser has read it, so the
  // parser's lines and the session's interleave; the report lists the
  // parser's first, as they stand in the job.
  const std::string sessionLog = platform::WideToUtf8(CSessionManager::kLogName);
  std::stable_partition(writes_.begin(), writes_.end(),
                        [&](const Written& write) { return texts_[write.file] != sessionLog; });
  PairScriptErrors(report);
  if (unlistedErrors_ > 0) {
    report.scriptErrorsUnlisted += unlistedErrors_;
    report.notes.push_back(std::to_string(unlistedErrors_) + " more script errors not listed (" +
                           std::to_string(mostListed_) + " are)");
  }
  report.warnings.insert(report.warnings.end(), std::make_move_iterator(warnings_.begin()),
                         std::make_move_iterator(warnings_.end()));
  std::vector<Warning>().swap(warnings_);
  report.unsupportedCommands = std::move(unsupportedCommands_);
  unsupportedCommands_.clear();
  unsupportedSeen_ = {};
  AddFailedWrites(report);
  std::vector<Written>().swap(writes_);
  std::vector<uint32_t>().swap(scriptErrors_);
  std::vector<Placed>().swap(placed_);
  texts_.Clear();
  jobText_ = {};
  if (openLabels_ == 1) {
    report.notes.push_back("a label was started and never printed (the job ended before its end)");
  } else if (openLabels_ > 1) {
    report.notes.push_back(std::to_string(openLabels_) +
                           " labels were started and never printed (each was left without its "
                           "end, the last when the job ended)");
  }
}

// Pairs each script error with the first written line of the same text not
// yet taken, and hands the lines no error took to the report. The lines of
// each text wait in a chain, in the order they were written.
void JobRecorder::PairScriptErrors(JobReport& report) const {
  constexpr uint32_t kNone = UINT32_MAX;
  std::vector<uint32_t> firstOf(texts_.size(), kNone);
  std::vector<uint32_t> nextOf(writes_.size(), kNone);
  for (size_t i = writes_.size(); i-- > 0;) {
    if (writes_[i].error != 0) continue;
    nextOf[i] = std::exchange(firstOf[writes_[i].message], static_cast<uint32_t>(i));
  }
  // The problems of each text wait in a chain the same way.
  std::vector<uint32_t> firstPlaced(texts_.size(), kNone);
  std::vector<uint32_t> nextPlaced(placed_.size(), kNone);
  for (size_t i = placed_.size(); i-- > 0;) {
    nextPlaced[i] = std::exchange(firstPlaced[placed_[i].text], static_cast<uint32_t>(i));
  }
  auto placeOf = [&](uint32_t text) {
    const uint32_t i = firstPlaced[text];
    if (i == kNone) return SourceSpan{};
    firstPlaced[text] = nextPlaced[i];
    return placed_[i].at;
  };
  std::vector<bool> taken(writes_.size(), false);
  report.scriptErrors.reserve(report.scriptErrors.size() + scriptErrors_.size());
  for (const uint32_t message : scriptErrors_) {
    ScriptError error{texts_[message], ""};
    const uint32_t i = firstOf[message];
    if (i != kNone) {
      firstOf[message] = nextOf[i];
      taken[i] = true;
      error.logFile = texts_[writes_[i].file];
    }
    const SourceSpan at = placeOf(message);
    error.line = at.line;
    error.column = at.column;
    error.offset = at.offset;
    error.length = at.length;
    report.scriptErrors.push_back(std::move(error));
  }
  size_t kept = 0;
  for (size_t i = 0; i < writes_.size(); ++i) kept += !taken[i] && writes_[i].error == 0;
  report.logLines.reserve(report.logLines.size() + kept);
  for (size_t i = 0; i < writes_.size(); ++i) {
    if (taken[i] || writes_[i].error != 0) continue;
    report.logLines.push_back(
        LogLine{texts_[writes_[i].file], Line(writes_[i]), placeOf(writes_[i].message)});
  }
}

// One note per log file and reason, in the order they first failed: how many
// lines were lost, and the first of them.
void JobRecorder::AddFailedWrites(JobReport& report) const {
  struct Lost {
    const Written* first;
    int count;
  };
  std::vector<Lost> lost;
  for (const Written& write : writes_) {
    if (write.error == 0) continue;
    auto same = std::find_if(lost.begin(), lost.end(), [&](const Lost& l) {
      return l.first->file == write.file && l.first->error == write.error;
    });
    if (same == lost.end()) {
      lost.push_back(Lost{&write, 1});
    } else {
      ++same->count;
    }
  }
  for (const Lost& l : lost) {
    const bool one = l.count == 1;
    report.notes.push_back(
        (one ? std::string("a log line") : std::to_string(l.count) + " log lines") +
        " could not be written to " + texts_[l.first->file] + ": " + std::strerror(l.first->error) +
        " (" + (one ? "" : "the first: ") + Line(*l.first) + ")");
    report.incomplete = true;
  }
}

}  // namespace host
