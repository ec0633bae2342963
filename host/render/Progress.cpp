#include "host/render/Progress.h"

#include "host/printer/ReportText.h"

namespace host {

Progress::Progress(bool enabled, bool inPlace, size_t sourceCount, std::FILE* out)
    : enabled_(enabled), inPlace_(inPlace), sourceCount_(sourceCount), out_(out) {}

Progress::~Progress() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!enabled_) return;
  if (inPlace_ && shown_) std::fputs("\n", out_);
  std::fflush(out_);
}

void Progress::Source(size_t number, const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  source_ = number;
  name_ = name;
  Draw(!inPlace_);
}

void Progress::Job(const std::string&) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++jobs_;
  if (inPlace_) Draw(false);
}

void Progress::Labels(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  labels_ += count;
  if (inPlace_) Draw(false);
}

void Progress::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!enabled_ || !inPlace_ || !shown_) return;
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
  shown_ = false;
}

void Progress::Redraw() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (inPlace_ && source_ > 0) Draw(false);
}

void Progress::Draw(bool newLine) {
  if (!enabled_) return;
  std::string name = EscapeForTerminal(name_);
  if (inPlace_ && name.size() > 40) name = "..." + name.substr(name.size() - 37);
  std::fprintf(out_, "%slabelhost: file %zu/%zu, %ld jobs, %ld labels: %s%s",
               inPlace_ ? "\r\033[K" : "", source_, sourceCount_, jobs_, labels_, name.c_str(),
               newLine ? "\n" : "");
  std::fflush(out_);
  shown_ = inPlace_;
}

}  // namespace host
