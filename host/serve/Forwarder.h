#pragma once
// Pass-through: each job's bytes, as received, sent on to another printer
// (--forward HOST:PORT) on a connection of their own, once the job has
// printed here. A forward that fails says why and changes nothing else: the
// print queue puts that in the job's report. Every step is bounded by the
// timeout, so an unreachable printer delays the queue by at most that.
//
// Used on the print queue's thread; holds no connection between jobs.

#include <chrono>
#include <string>
#include <vector>

namespace host {

class Forwarder {
 public:
  // `target` is HOST:PORT (checked by the option parser).
  Forwarder(std::string target, std::chrono::milliseconds timeout);

  // "" once the bytes are sent, else what went wrong.
  std::string Send(const std::vector<char>& bytes) const;
  const std::string& target() const { return target_; }

 private:
  std::string target_;
  std::string host_;
  std::string port_;
  std::chrono::milliseconds timeout_;
};

}  // namespace host
