#include "vellum/RenderPool.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <system_error>

namespace vellum {
namespace {

// How much lower than the thread feeding them render threads run. With as
// many render threads as cores, the session thread competed with them for a
// fair share and fell behind, and the render threads then waited for labels
// with cores idle (1,000 carrier labels at 203 dpi on two cores: 540 ms -> 485 ms).
// Rendering still takes every core the session leaves; only other processes
// see the threads as a little less urgent, as a background pool should be.
constexpr int kNicerBy = 5;

void YieldToTheFeedingThread() {
#if defined(__linux__)
  // Per thread on Linux; raising one's own niceness needs no privilege, and
  // failing to is harmless.
  const int now = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), now + kNicerBy);
#endif
}

}  // namespace

RenderPool::RenderPool(int threads, const PrinterGeometry& printer, const BarcodeRenderer* barcodes)
    : printer_(printer), barcodes_(barcodes), maxThreads_(std::max(threads, 1)) {}

RenderPool::~RenderPool() {
  size_t threads = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    threads = threads_.size();
  }
  ready_.release(static_cast<std::ptrdiff_t>(threads));
  for (std::thread& thread : threads_) thread.join();
}

std::future<RenderedLabel> RenderPool::Submit(RenderTask task) {
  std::packaged_task<RenderedLabel(LabelWorker&)> work(
      [task = std::move(task)](LabelWorker& worker) { return worker.Render(task, false); });
  std::future<RenderedLabel> result = work.get_future();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(work));
    StartThreadIfNeeded();
  }
  ready_.release();
  return result;
}

void RenderPool::StartThreadIfNeeded() {
  if (tasks_.size() <= idle_ || threads_.size() >= static_cast<size_t>(maxThreads_)) return;
  try {
    threads_.emplace_back([this] { Run(); });
  } catch (const std::system_error&) {
    if (!threads_.empty()) return;  // the running ones will take it
    tasks_.pop_back();              // nobody would: fail the submit, not its future
    throw;
  }
}

int RenderPool::started() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(threads_.size());
}

void RenderPool::Run() {
  YieldToTheFeedingThread();
  LabelWorker worker(printer_, barcodes_);
  for (;;) {
    std::packaged_task<RenderedLabel(LabelWorker&)> work;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++idle_;
    }
    ready_.acquire();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      --idle_;
      // Each label submitted is taken by one acquire; what is left over at
      // the end is one release per thread.
      if (tasks_.empty()) {
        if (stopping_) return;  // every submitted label is done
        continue;
      }
      work = std::move(tasks_.front());
      tasks_.pop_front();
    }
    work(worker);  // an exception (out of memory) is kept in the label's future
  }
}

}  // namespace vellum
