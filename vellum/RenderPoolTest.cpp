// The render pool starts a thread only for a label that finds none idle, and
// never more than it was given: a run that renders nothing on it pays for no
// thread and no font map.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
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

#if defined(__linux__)
// The nice value of each of this process's threads, from /proc.
std::vector<int> ThreadNiceValues() {
  std::vector<int> values;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream in(task.path() / "stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    // Field 19 is the nice value; the name (field 2) may hold blanks, so
    // count from its closing parenthesis.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 19 && fields >> field; ++i) {
      if (i == 19) values.push_back(std::stoi(field));
    }
  }
  return values;
}

// Render threads run below the thread that feeds them, so that it keeps them
// fed when every core is busy.
TEST(RenderPoolTest, ThreadsRunBelowTheSubmittingThread) {
  const int ours = getpriority(PRIO_PROCESS, 0);
  if (ours >= 19) GTEST_SKIP() << "already as nice as can be";
  const PrinterGeometry printer{203, 1000, 2.0, 1.0};
  ZintBarcodes barcodes;
  RenderPool pool(1, printer, &barcodes);
  std::future<RenderedLabel> label = pool.Submit(EmptyLabel());
  ASSERT_TRUE(label.get().pngMade);
  const std::vector<int> nice = ThreadNiceValues();
  EXPECT_NE(std::find_if(nice.begin(), nice.end(), [&](int n) { return n > ours; }), nice.end());
}
#endif

}  // namespace
}  // namespace vellum
