#pragma once
// Threads that render printed labels ahead of their delivery, each with a
// LabelWorker of its own. The engine submits labels in print order and takes
// the results in the same order, so what reaches the sink does not depend on
// the number of threads. Threads start only when a submitted label finds none
// idle, up to `threads`: each builds its own font map, which a short run may
// never need. Destroying the pool finishes the labels already submitted and
// joins the threads.
//
// Threads wait for labels on a semaphore, not a condition variable: signalling
// a condition variable can block the signaller until a thread woken earlier
// has run (glibc's group switch), and with every core busy that stalled the
// session thread, which submits the labels, once per label. For the same
// reason the threads run a little below the thread that submits (on Linux):
// a starved producer leaves cores idle.

#include <deque>
#include <future>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

#include "vellum/LabelWorker.h"

namespace vellum {

class RenderPool {
 public:
  // `barcodes` must be safe to share between threads and outlive the pool.
  RenderPool(int threads, const PrinterGeometry& printer, const BarcodeRenderer* barcodes);
  ~RenderPool();
  RenderPool(const RenderPool&) = delete;
  RenderPool& operator=(const RenderPool&) = delete;

  // Called from one thread (the engine's).
  std::future<RenderedLabel> Submit(RenderTask task);
  // The most threads the pool starts.
  int threads() const { return maxThreads_; }
  // The threads started so far.
  int started() const;

 private:
  void StartThreadIfNeeded();  // holding mutex_
  void Run();

  const PrinterGeometry printer_;
  const BarcodeRenderer* barcodes_;
  const int maxThreads_;
  mutable std::mutex mutex_;
  std::counting_semaphore<> ready_{0};  // one per label submitted, one per thread at the end
  std::deque<std::packaged_task<RenderedLabel(LabelWorker&)>> tasks_;
  bool stopping_ = false;
  size_t idle_ = 0;  // threads waiting for a label
  std::vector<std::thread> threads_;
};

}  // namespace vellum
