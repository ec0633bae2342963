#pragma once
// Threads that render printed labels ahead of their delivery, each with a
// LabelWorker of its own. The engine submits labels in print order and takes
// the results in the same order, so what reaches the sink does not depend on
// the number of threads. Destroying the pool finishes the labels already
// submitted and joins the threads.

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
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

  std::future<RenderedLabel> Submit(RenderTask task);
  int threads() const { return static_cast<int>(threads_.size()); }

 private:
  void Run();

  const PrinterGeometry printer_;
  const BarcodeRenderer* barcodes_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::packaged_task<RenderedLabel(LabelWorker&)>> tasks_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace vellum
