#include "host/printer/SourceIntake.h"

#include <algorithm>
#include <limits>

#include "host/printer/Printer.h"
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

}  // namespace

SourceIntake::SourceIntake(platform::HostWindow* window, size_t jobLimit, size_t chunkBytes,
                           Gate gate)
    : window_(window),
      intake_(&relay_, kHostMessageId),
      cutter_(jobLimit, [this](std::string_view piece) { Read(piece); }),
      chunkBytes_(chunkBytes),
      gate_(std::move(gate)) {
  intake_.SetHeldDataLimit(jobLimit);
}

void SourceIntake::Add(std::string_view bytes) {
  chunkBytes_ > 0 ? AddChunks(bytes) : cutter_.Add(bytes);
}

void SourceIntake::Pause() {
  if (chunkBytes_ > 0) {
    if (!chunk_.empty()) Read(chunk_);
    chunk_.clear();
  } else {
    cutter_.Flush();
  }
  SayDropped();
}

void SourceIntake::Finish() {
  Pause();
  cutter_.Finish();
  dropped_ = 0;  // only for a source that never held a job: EndNote says it
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
  const size_t discarded = intake_.DiscardedJobs();
  const bool attributed = intake_.ProcessIncomingData(bytes.data(), static_cast<int32_t>(count));
  holding_ = !Unfinished().empty();
  if (intake_.DiscardedJobs() != discarded) {
    SayDropped();
    Say(kJobDiscardedNote, intake_.LastDiscardedLanguage());
    anyJob_ = true;
  } else if (!attributed && HoldsText(bytes)) {
    dropped_ += bytes.size();
  }
}

// Said only between jobs: a source that never held one is told of at its end.
void SourceIntake::SayDropped() {
  if (dropped_ == 0 || !anyJob_) return;
  Say(kBytesDroppedNote, static_cast<int64_t>(dropped_));
  dropped_ = 0;
}

void SourceIntake::Say(int32_t code, int64_t value) {
  if (window_ != nullptr) window_->Post(platform::Notification(kHostMessageId, code, value));
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
  if (owner_.window_ != nullptr) owner_.window_->Post(std::move(notification));
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

}  // namespace host
