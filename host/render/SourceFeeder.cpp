#include "host/render/SourceFeeder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

namespace host {
namespace {

constexpr size_t kBlock = 64 * 1024;

}  // namespace

bool FeedSource(std::FILE* in, const std::string& name, SourceIntake& intake,
                const JobRunner& runner, std::string& error) {
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
    intake.Add(std::string_view(block.data(), static_cast<size_t>(got)));
  }
  intake.Finish();
  if (reason != 0) error = "cannot read '" + name + "': " + std::strerror(reason);
  return reason == 0;
}

}  // namespace host
