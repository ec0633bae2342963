#include "vellum/PrintRun.h"

#include <algorithm>
#include <map>

#include "platform/Text.h"
#include "vellum/DateTimeFormat.h"

namespace vellum {
namespace {

bool UsesSequence(const LabelSnapshot& label) {
  return std::any_of(label.objects.begin(), label.objects.end(),
                     [](const ObjectData& o) { return o.dataSource == kVSourceSequence; });
}

// A start value written with leading zeros ("007") keeps its width.
size_t PaddedWidth(std::wstring_view start) {
  std::wstring_view s = start;
  while (!s.empty() && platform::IsSpace(s.front())) s.remove_prefix(1);
  if (!s.empty() && (s.front() == L'-' || s.front() == L'+')) s.remove_prefix(1);
  size_t digits = 0;
  while (digits < s.size() && s[digits] >= L'0' && s[digits] <= L'9') ++digits;
  return digits > 1 && s[0] == L'0' ? std::min<size_t>(digits, 20) : 0;
}

}  // namespace

std::wstring SequenceValue(const SequenceData& sequence, int64_t labelIndex) {
  const int64_t step = labelIndex / std::max<int32_t>(1, sequence.repeatEach);
  const int64_t value = static_cast<int64_t>(platform::LeadingInt(sequence.start)) +
                        step * static_cast<int64_t>(sequence.increment);
  std::wstring digits = platform::IntToWide(value < 0 ? -value : value);
  const size_t width = PaddedWidth(sequence.start);
  if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
  return sequence.prefix + (value < 0 ? L"-" : L"") + digits + sequence.postfix;
}

PrintRun::PrintRun(PromptAnswerer answerer, ClockSource clock)
    : answerer_(std::move(answerer)), clock_(std::move(clock)) {}

int64_t PrintRun::LabelsOf(const PrintJob& job) {
  if (!UsesSequence(job.label)) return 1;
  int64_t labels = std::max<int32_t>(1, job.data.labelCount);
  for (const ObjectData& o : job.label.objects) {
    if (o.dataSource == kVSourceSequence) labels = std::max<int64_t>(labels, o.sequence.labelCount);
  }
  return labels;
}

int64_t QueueLabels(const std::vector<PrintJob>& queue) {
  int64_t total = 0;
  for (const PrintJob& job : queue) {
    const int64_t copies = std::max<int32_t>(1, job.data.quantity);
    total += std::min(PrintRun::LabelsOf(job) * copies, kMaxLabelsPerJob);
  }
  return total;
}

void PrintRun::Expand(const PrintJob& job, Diagnostics& diagnostics,
                      const std::function<void(const PrintedValues&)>& emit) const {
  const int64_t labels = LabelsOf(job);
  int64_t copies = job.data.quantity;
  if (copies < 1) {
    diagnostics.Add(0, L"print quantity " + platform::IntToWide(copies) + L": one copy printed");
    copies = 1;
  }
  const int64_t wanted = labels * copies;
  if (wanted > kMaxLabelsPerJob) {
    diagnostics.Add(0, L"job asks for " + platform::IntToWide(wanted) +
                           L" labels; only the first " + platform::IntToWide(kMaxLabelsPerJob) +
                           L" printed");
  }
  const auto& objects = job.label.objects;
  std::map<std::wstring, std::optional<std::wstring>> answers;
  PrintedValues printed;
  printed.values.resize(objects.size());
  const platform::LocalTime jobTime = clock_();
  for (int64_t n = 0; n < std::min(wanted, kMaxLabelsPerJob); ++n) {
    printed.labelIndex = static_cast<int32_t>(n / copies);
    printed.copy = static_cast<int32_t>(n % copies);
    for (size_t i = 0; i < objects.size(); ++i) {
      const ObjectData& o = objects[i];
      std::wstring& value = printed.values[i];
      switch (o.dataSource) {
        case kVSourceSequence:
          value = SequenceValue(o.sequence, printed.labelIndex);
          break;
        case kVSourceDateTime:
          value = FormatDateTime(o.dateTimePicture, o.dateTimeUpdate == 1 ? clock_() : jobTime);
          break;
        case kVSourcePrompt: {
          auto found = answers.find(o.prompt.prompt);
          if (found == answers.end()) {
            std::optional<std::wstring> answer;
            if (answerer_) answer = answerer_(o.prompt.prompt, o.prompt.defaultValue);
            found = answers.emplace(o.prompt.prompt, std::move(answer)).first;
          }
          value = found->second.value_or(o.prompt.defaultValue);
          if (o.prompt.maxLength > 0 && value.size() > static_cast<size_t>(o.prompt.maxLength)) {
            value.resize(static_cast<size_t>(o.prompt.maxLength));
          }
          break;
        }
        default:
          value = StaticValue(o);
          break;
      }
    }
    emit(printed);
  }
}

}  // namespace vellum
