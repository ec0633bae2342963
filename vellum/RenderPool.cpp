#include "vellum/RenderPool.h"

namespace vellum {

RenderPool::RenderPool(int threads, const PrinterGeometry& printer, const BarcodeRenderer* barcodes)
    : printer_(printer), barcodes_(barcodes) {
  for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { Run(); });
}

RenderPool::~RenderPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

std::future<RenderedLabel> RenderPool::Submit(RenderTask task) {
  std::packaged_task<RenderedLabel(LabelWorker&)> work(
      [task = std::move(task)](LabelWorker& worker) { return worker.Render(task, false); });
  std::future<RenderedLabel> result = work.get_future();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(work));
  }
  wake_.notify_one();
  return result;
}

void RenderPool::Run() {
  LabelWorker worker(printer_, barcodes_);
  for (;;) {
    std::packaged_task<RenderedLabel(LabelWorker&)> work;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
      if (tasks_.empty()) return;  // stopping, and every submitted label is done
      work = std::move(tasks_.front());
      tasks_.pop_front();
    }
    work(worker);  // an exception (out of memory) is kept in the label's future
  }
}

}  // namespace vellum
