// Deferred delivery must hand the sink what StartPrint hands it, label for
// label: the same PNG bytes, descriptions and values, in the same order, and
// stop a print's deliveries at the first label the sink refuses.
#include <gtest/gtest.h>

#include "vellum/VellumEngine.h"

namespace vellum {
namespace {

// Keeps every label; with `refuse`, refuses the second copy of each print's
// second label (its fourth label).
struct RecordingSink : OutputSink {
  bool Accept(const PrintedPage& page, std::wstring* error) override {
    if (refuse && page.info.labelIndex == 1 && page.info.copy == 1) {
      *error = L"no room";
      return false;
    }
    delivered.push_back(
        {std::string(page.png->begin(), page.png->end()), page.json, page.info.number});
    return true;
  }
  struct Label {
    std::string png, json;
    int32_t number;
    bool operator==(const Label&) const = default;
  };
  bool refuse = false;
  std::vector<Label> delivered;
};

// How many jobs, prints per job, labels (a sequence's count) and copies of each.
struct Shape {
  int jobs, prints, labels, copies;
};

// The label counts a sequence, so every label differs.
void PrintJobs(VellumEngine& engine, bool deferred, Shape shape) {
  engine.CreateLabel(L"", 0, 0, 0, 0, 1);
  VDrawObj* text = engine.CreateNewObject(kVObjText, VRect{100, 100, 2500, 400}, 1);
  engine.SetSelectByObject(text);
  engine.SetTextFromObject(text, L"Parcel", true);
  engine.SetDataSource(kVSourceSequence);
  engine.SetSequence(L"0007", shape.labels, 3, 1, L"No. ", L"", L"");
  std::vector<int64_t> jobs;
  for (int job = 0; job < shape.jobs; ++job) {
    if (deferred) jobs.push_back(engine.BeginDeferredJob());
    for (int print = 0; print < shape.prints; ++print) {
      engine.InitPrintData();
      engine.AddPrintData(
          VPrintData{L"job" + std::to_wstring(job), shape.copies, shape.labels, 1, 0});
      engine.StartPrint(kVPrintDevice, 0, 1, 1);
    }
  }
  for (int64_t job : jobs) engine.DeliverDeferredJob(job);
}

TEST(DeferredDeliveryTest, LabelsReachTheSinkAsStartPrintDeliversThem) {
  // A lone label is rendered at delivery, on the caller's thread; larger
  // runs on the pool, which the caller joins for labels it has not reached.
  const Shape shapes[] = {{1, 1, 1, 1}, {1, 1, 1, 2}, {2, 1, 1, 1}, {1, 2, 1, 1}, {2, 2, 5, 2}};
  for (const Shape& shape : shapes) {
    for (bool refuse : {false, true}) {
      RecordingSink direct;
      direct.refuse = refuse;
      VellumSettings settings;
      settings.dpi = 203;
      settings.sink = &direct;
      VellumEngine engine(settings);
      PrintJobs(engine, false, shape);
      ASSERT_FALSE(direct.delivered.empty());
      for (int threads : {0, 1, 3}) {
        SCOPED_TRACE(::testing::Message()
                     << shape.jobs << " jobs of " << shape.prints << " prints of " << shape.labels
                     << "x" << shape.copies << ", " << threads << " threads, refusing " << refuse);
        RecordingSink later;
        later.refuse = refuse;
        settings.sink = &later;
        VellumEngine deferred(settings);
        deferred.DeferDelivery(threads);
        PrintJobs(deferred, true, shape);
        EXPECT_TRUE(later.delivered == direct.delivered);
        EXPECT_EQ(later.delivered.size(), direct.delivered.size());
      }
    }
  }
}

}  // namespace
}  // namespace vellum
