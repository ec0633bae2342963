#pragma once
// Expands queued print jobs into printed labels. A job prints `quantity`
// copies of each of its labels; a job whose label holds sequences has as many
// labels as the largest sequence asks for (the job's label count when that is
// larger), otherwise one. Label k gives every sequence the value
// start + increment * (k / repeatEach); copies of a label carry the same
// values. Prompts take the host's answer for the prompt text (asked once per
// job), else their default. Date-time fields format the clock, read afresh
// for each label when they ask for updates, else once per job.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/VInterface.h"
#include "platform/Clock.h"
#include "vellum/Diagnostics.h"
#include "vellum/LabelModel.h"

namespace vellum {

struct PrintJob {
  VPrintData data;
  LabelSnapshot label;
};

// The host's answer to a prompt, or nothing to print the default.
using PromptAnswerer = std::function<std::optional<std::wstring>(const std::wstring& prompt,
                                                                 const std::wstring& defaultValue)>;
using ClockSource = std::function<platform::LocalTime()>;

struct PrintedValues {
  int32_t labelIndex = 0;            // 0-based label of the job
  int32_t copy = 0;                  // 0-based copy of that label
  std::vector<std::wstring> values;  // one per object of the job's label
};

// Labels beyond this many in one job are not printed (and reported).
inline constexpr int64_t kMaxLabelsPerJob = 10000;

class PrintRun {
 public:
  PrintRun(PromptAnswerer answerer, ClockSource clock);

  // Calls `emit` once per printed label of `job`, in print order.
  void Expand(const PrintJob& job, Diagnostics& diagnostics,
              const std::function<void(const PrintedValues&)>& emit) const;

  // How many distinct labels `job` prints (before copies).
  static int64_t LabelsOf(const PrintJob& job);

 private:
  PromptAnswerer answerer_;
  ClockSource clock_;
};

// How many labels a queue of jobs prints, copies included.
int64_t QueueLabels(const std::vector<PrintJob>& queue);

// The text of a sequence on label `labelIndex`.
std::wstring SequenceValue(const SequenceData& sequence, int64_t labelIndex);

}  // namespace vellum
