#include "host/printer/JobRecorder.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>
#include <unordered_map>

#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "session/SessionManager.h"

namespace host {

JobRecorder::~JobRecorder() {
  if (listening_) SetThreadLogObserver(nullptr);
}

void JobRecorder::Begin() {
  scriptErrors_.clear();
  unsupportedCommands_.clear();
  writes_.clear();
  openLabels_ = 0;
  SetThreadLogObserver([this](const LogWrite& write) { OnLogWrite(write); });
  listening_ = true;
}

void JobRecorder::OnCommand(const LabelCommand& command) {
  switch (command.kind) {
    case SCRIPT_ERROR: {
      const size_t at = record::ScriptErrorParam::kMessage;
      scriptErrors_.push_back(at < command.params.size() ? command.params[at] : L"");
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

void JobRecorder::OnLogWrite(const LogWrite& write) { writes_.push_back(write); }

void JobRecorder::OnProblem(const ScriptProblem& problem) {
  if (problem.kind == ScriptProblem::kUnsupportedCommand) {
    unsupportedCommands_.push_back(platform::WideToUtf8(problem.command));
  }
}

void JobRecorder::End(JobReport& report) {
  if (listening_) SetThreadLogObserver(nullptr);
  listening_ = false;
  // The session runs each label as soon as the parser has read it, so the
  // parser's lines and the session's interleave; the report lists the
  // parser's first, as they stand in the job.
  std::stable_partition(writes_.begin(), writes_.end(), [](const LogWrite& write) {
    return write.fileName != CSessionManager::kLogName;
  });
  // Pair each script error with the first written line of the same text
  // not yet taken: the lines of each text wait in the order they were written.
  std::unordered_map<std::wstring_view, std::deque<size_t>> linesOf;
  for (size_t i = 0; i < writes_.size(); ++i) {
    if (writes_[i].error == 0) linesOf[writes_[i].message].push_back(i);
  }
  std::vector<bool> taken(writes_.size(), false);
  for (const std::wstring& message : scriptErrors_) {
    ScriptError error{platform::WideToUtf8(message), ""};
    auto lines = linesOf.find(message);
    if (lines != linesOf.end() && !lines->second.empty()) {
      const size_t i = lines->second.front();
      lines->second.pop_front();
      taken[i] = true;
      error.logFile = platform::WideToUtf8(writes_[i].fileName);
    }
    report.scriptErrors.push_back(std::move(error));
  }
  for (size_t i = 0; i < writes_.size(); ++i) {
    if (taken[i] || writes_[i].error != 0) continue;
    report.logLines.push_back(LogLine{platform::WideToUtf8(writes_[i].fileName), writes_[i].line});
  }
  report.unsupportedCommands = std::move(unsupportedCommands_);
  unsupportedCommands_.clear();
  AddFailedWrites(report);
  if (openLabels_ == 1) {
    report.notes.push_back("a label was started and never printed (the job ended before its end)");
  } else if (openLabels_ > 1) {
    report.notes.push_back(std::to_string(openLabels_) +
                           " labels were started and never printed (each was left without its "
                           "end, the last when the job ended)");
  }
}

// One note per log file and reason, in the order they first failed: how many
// lines were lost, and the first of them.
void JobRecorder::AddFailedWrites(JobReport& report) const {
  struct Lost {
    const LogWrite* first;
    int count;
  };
  std::vector<Lost> lost;
  for (const LogWrite& write : writes_) {
    if (write.error == 0) continue;
    auto same = std::find_if(lost.begin(), lost.end(), [&](const Lost& l) {
      return l.first->fileName == write.fileName && l.first->error == write.error;
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
        " could not be written to " + platform::WideToUtf8(l.first->fileName) + ": " +
        std::strerror(l.first->error) + " (" + (one ? "" : "the first: ") + l.first->line + ")");
    report.incomplete = true;
  }
}

}  // namespace host
