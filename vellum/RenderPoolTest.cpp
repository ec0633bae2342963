// The render pool starts a thread only for a label that finds none idle, and
// never more than it was given: a run that renders nothing on it pays for no
// thread and no font map.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "vellum/RenderPool.h"
#include "vellum/ZintBarcodes.h"

namespace vellum {
namespace {

RenderTask EmptyLabel() {
  RenderTask task;
  task.job = std::make_shared<const PrintJob>();
  task.needs.png = true;
  return task;
}

TEST(RenderPoolTest, ThreadsStartOnDemandUpToTheLimit) {
  struct Case {
    int threads, labels;
    int mostStarted;
  };
  const Case cases[] = {{4, 0, 0}, {4, 1, 1}, {1, 6, 1}, {2, 6, 2}, {0, 3, 1}};
  const PrinterGeometry printer{203, 1000, 2.0, 1.0};
  ZintBarcodes barcodes;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.threads << " threads, " << c.labels << " labels");
    RenderPool pool(c.threads, printer, &barcodes);
    std::vector<std::future<RenderedLabel>> results;
    for (int i = 0; i < c.labels; ++i) results.push_back(pool.Submit(EmptyLabel()));
    for (auto& result : results) EXPECT_TRUE(result.get().pngMade);
    EXPECT_LE(pool.started(), c.mostStarted);
    EXPECT_EQ(pool.started() > 0, c.labels > 0);
  }
}

}  // namespace
}  // namespace vellum
