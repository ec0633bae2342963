#include "host/serve/LabelIndex.h"

namespace host {

std::vector<LabelFiles> GroupLabelFiles(const std::vector<std::string>& files) {
  std::vector<LabelFiles> labels;
  for (const std::string& file : files) {
    const std::filesystem::path path(file);
    std::string base = path;
    base.resize(base.size() - path.extension().string().size());
    if (labels.empty() || labels.back().base != base) labels.push_back(LabelFiles{base});
    const std::string ext = path.extension().string();
    LabelFiles& label = labels.back();
    label.png = label.png || ext == ".png";
    label.pdf = label.pdf || ext == ".pdf";
    label.json = label.json || ext == ".json";
  }
  return labels;
}

std::vector<int> LabelIndex::Add(const JobReport& report) {
  std::vector<int> numbers;
  std::lock_guard<std::mutex> lock(mutex_);
  for (LabelFiles& label : GroupLabelFiles(report.files)) {
    labels_.push_back(std::move(label));
    numbers.push_back(static_cast<int>(labels_.size()));
  }
  return numbers;
}

std::optional<std::filesystem::path> LabelIndex::Find(int number, const std::string& format) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (number < 1 || static_cast<size_t>(number) > labels_.size()) return std::nullopt;
  const LabelFiles& label = labels_[static_cast<size_t>(number) - 1];
  const bool has = (format == "png" && label.png) || (format == "pdf" && label.pdf) ||
                   (format == "json" && label.json);
  if (!has) return std::nullopt;
  return std::filesystem::path(label.base + "." + format);
}

}  // namespace host
