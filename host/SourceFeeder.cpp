#include "host/SourceFeeder.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "host/JobCutter.h"

namespace host {
namespace {

constexpr size_t kBlock = 64 * 1024;

// One read for intake; tells the runner when intake discarded a job.
class IntakeReads {
 public:
  IntakeReads(CProcessScriptLanguageData& intake, JobRunner& runner)
      : intake_(intake), runner_(runner) {}

  void Read(std::string_view bytes) {
    runner_.WaitForRoom();
    if (runner_.stopped()) return;
    const size_t discarded = intake_.DiscardedJobs();
    intake_.ProcessIncomingData(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (intake_.DiscardedJobs() != discarded) {
      runner_.JobDiscarded(LanguageName(intake_.LastDiscardedLanguage()), intake_.HeldDataLimit());
    }
  }

 private:
  CProcessScriptLanguageData& intake_;
  JobRunner& runner_;
};

// Reads of `chunk` bytes, whatever they hold.
class FixedReads {
 public:
  FixedReads(size_t chunk, IntakeReads& reads) : chunk_(chunk), reads_(reads) {}

  void Add(std::string_view bytes) {
    pending_.append(bytes);
    size_t at = 0;
    for (; pending_.size() - at >= chunk_; at += chunk_) {
      reads_.Read(std::string_view(pending_).substr(at, chunk_));
    }
    pending_.erase(0, at);
  }
  void Finish() {
    if (!pending_.empty()) reads_.Read(pending_);
    pending_.clear();
  }

 private:
  size_t chunk_;
  IntakeReads& reads_;
  std::string pending_;
};

}  // namespace

bool FeedSource(std::FILE* in, const std::string& name, CProcessScriptLanguageData& intake,
                const HostOptions& options, JobRunner& runner, std::string& error) {
  intake.SetHeldDataLimit(options.maxJobInput);
  IntakeReads reads(intake, runner);
  JobCutter cutter(options.maxJobInput, [&](std::string_view piece) { reads.Read(piece); });
  FixedReads fixed(options.chunkBytes, reads);
  // read(2), not fread: from a pipe or a terminal, a job is handled as soon
  // as it has arrived, not once a whole block has.
  std::vector<char> block(kBlock);
  const int fd = ::fileno(in);
  int reason = 0;
  while (!runner.stopped()) {
    const ssize_t got = ::read(fd, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) reason = errno;
    if (got <= 0) break;
    const std::string_view bytes(block.data(), static_cast<size_t>(got));
    options.chunkBytes > 0 ? fixed.Add(bytes) : cutter.Add(bytes);
  }
  options.chunkBytes > 0 ? fixed.Finish() : cutter.Finish();
  if (reason != 0) error = "cannot read '" + name + "': " + std::strerror(reason);
  return reason == 0;
}

}  // namespace host
