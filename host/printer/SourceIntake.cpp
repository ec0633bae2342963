#include "host/printer/SourceIntake.h"

#include <algorithm>
#include <limits>

#include "host/printer/LooseCommands.h"
#include "host/printer/Printer.h"
#include "host/printer/ZplHint.h"
#include "intake/Languages.h"
#include "intake/Notifications.h"
#include "platform/ScriptingData.h"

namespace host {
namespace {

// White space between jobs (line breaks after an end marker, padding) holds
// nothing a user lost.
bool HoldsText(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) {
    return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != '\v' && c != '\0';
  });
}

// What an Add may keep for a "~JA" in the bytes after its last job.
constexpr size_t kMostUnclaimed = 4096;
constexpr size_t kMostHeldPosts = 64;

}  // namespace

SourceIntake::SourceIntake(platform::HostWindow* window, size_t jobLimit, size_t chunkBytes,
                           Gate gate, ZplDialect dialect)
    : window_(window),
      intake_(&relay_, kHostMessageId),
      cutter_(jobLimit, [this](std::string_view piece) { Read(piece); }),
      chunkBytes_(chunkBytes),
      gate_(std::move(gate)),
      dialect_(dialect) {
  intake_.SetHeldDataLimit(jobLimit);
}

void SourceIntake::Add(std::string_view bytes) {
  chunkBytes_ > 0 ? AddChunks(bytes) : cutter_.Add(bytes);
  // Commands after the last job come out at the pause: a "~JA" among them
  // still finds the jobs before it. Only a few bytes and jobs wait so.
  const bool commandsMayFollow =
      cutter_.holdsUnclaimed() && cutter_.held() <= kMostUnclaimed && held_.size() < kMostHeldPosts;
  if (!commandsMayFollow) EndRead();
}

void SourceIntake::Pause() {
  if (chunkBytes_ > 0) {
    if (!chunk_.empty()) Read(chunk_);
    chunk_.clear();
  } else {
    cutter_.Flush();
  }
  SayDropped();
  EndRead();
}

void SourceIntake::Finish() {
  Pause();
  cutter_.Finish();
  dropped_ = 0;  // only for a source that never held a job: EndNote says it
  EndRead();
}

std::string SourceIntake::Unfinished() const {
  for (const Language& language : kLanguages) {
    if (intake_.IsState(language.stateFlag)) return language.name;
  }
  return "";
}

void SourceIntake::AddChunks(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t take = std::min(bytes.size(), chunkBytes_ - chunk_.size());
    chunk_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (chunk_.size() < chunkBytes_) break;
    Read(chunk_);
    chunk_.clear();
  }
}

void SourceIntake::Read(std::string_view bytes) {
  if (!holding_) jobStart_ = read_.place();
  read_.Advance(bytes);
  if (gate_ && !gate_()) return;
  // The cutter bounds a piece by the job limit, which options keep far below this.
  const size_t count = std::min<size_t>(bytes.size(), std::numeric_limits<int32_t>::max());
  if (dialect_ == ZplDialect::kFull && HoldsCancelAll(bytes)) CancelHeldJobs();
  const size_t discarded = intake_.DiscardedJobs();
  const bool attributed = intake_.ProcessIncomingData(bytes.data(), static_cast<int32_t>(count));
  holding_ = !Unfinished().empty();
  if (intake_.DiscardedJobs() != discarded) {
    SayDropped();
    Say(kJobDiscardedNote, intake_.LastDiscardedLanguage());
    anyJob_ = true;
  } else if (!attributed && HoldsText(bytes)) {
    ReadLoose(bytes);
  }
}

// Bytes outside any job: commands a printer carries out wherever they
// arrive, questions, or bytes lost.
void SourceIntake::ReadLoose(std::string_view bytes) {
  const LooseBytes loose = ReadLooseBytes(bytes);
  if (loose.kind == LooseBytes::Kind::kText) {
    dropped_ += bytes.size();
    return;
  }
  SayDropped();
  if (loose.kind == LooseBytes::Kind::kStatusQueries) return Say(kStatusPollNote, 0);
  auto job = std::make_unique<ScriptingData>();
  job->data.assign(bytes.begin(), bytes.end());
  job->language = LANGUAGE_ZPL;
  if (dialect_ == ZplDialect::kFull) {
    relay_.Post(platform::Notification(kHostMessageId, NOTIFY_SCRIPTING_DATA, 0, std::move(job)));
  } else {
    Say(kLooseCommandsNote, static_cast<int64_t>(bytes.size()), std::move(job));
  }
}

void SourceIntake::CancelHeldJobs() {
  int64_t cancelled = 0;
  std::vector<platform::Notification> kept;
  for (platform::Notification& n : held_) {
    if (n.code == NOTIFY_SCRIPTING_DATA) {
      ++cancelled;
    } else {
      kept.push_back(std::move(n));
    }
  }
  held_ = std::move(kept);
  if (cancelled > 0) Say(kJobsCancelledNote, cancelled);
}

void SourceIntake::Forward(platform::Notification notification) {
  if (dialect_ == ZplDialect::kFull) {
    held_.push_back(std::move(notification));
  } else if (window_ != nullptr) {
    window_->Post(std::move(notification));
  }
}

void SourceIntake::EndRead() {
  std::vector<platform::Notification> held = std::move(held_);
  held_.clear();
  for (platform::Notification& n : held) {
    if (window_ != nullptr) window_->Post(std::move(n));
  }
}

// Said only between jobs: a source that never held one is told of at its end.
void SourceIntake::SayDropped() {
  if (dropped_ == 0 || !anyJob_) return;
  Say(kBytesDroppedNote, static_cast<int64_t>(dropped_));
  dropped_ = 0;
}

void SourceIntake::Say(int32_t code, int64_t value, std::unique_ptr<ScriptingData> job) {
  Forward(platform::Notification(kHostMessageId, code, value, std::move(job)));
}

void SourceIntake::Relay::Post(platform::Notification notification) {
  if (notification.code == NOTIFY_SCRIPTING_DATA) {
    if (notification.job) {
      notification.job->sourceOffset = owner_.jobStart_.offset;
      notification.job->sourceLine = owner_.jobStart_.line;
      notification.job->sourceColumn = owner_.jobStart_.column;
    }
    owner_.anyJob_ = true;
    owner_.SayDropped();
  }
  owner_.Forward(std::move(notification));
}

std::string DiscardedNote(size_t limit, const char* option) {
  return "discarded: the job holds more than " + std::to_string(limit) +
         " bytes, the most intake keeps for one job (" + option + "); nothing of it was printed";
}

std::string DroppedNote(int64_t bytes) {
  return "discarded " + std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") +
         " outside any job (no start marker of a known language)";
}

std::string EndNote(const std::string& unfinished) {
  return unfinished.empty() ? "no job found (no start and end marker of a known language)"
                            : "input ended inside a " + unfinished +
                                  " job (no end marker); its bytes were discarded";
}

std::string CancelledNote(int64_t jobs) {
  return "cancelled by ~JA: " + std::to_string(jobs) + (jobs == 1 ? " job" : " jobs") +
         " received before it and not yet printed";
}

std::vector<std::string> LooseCommandsNotes(const ScriptingData& bytes) {
  const std::string_view text(bytes.data.data(), bytes.data.size());
  std::vector<std::string> notes = {DroppedNote(static_cast<int64_t>(text.size()))};
  if (std::string hint = FullDialectHint(ReadLooseBytes(text).commands); !hint.empty()) {
    notes.push_back(std::move(hint));
  }
  return notes;
}

}  // namespace host
