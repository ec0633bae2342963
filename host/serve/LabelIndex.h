#pragma once
// Numbers every label the network printer writes (1, 2, ... for the life of
// the process) and remembers its files, so that the HTTP API can serve
// /labels/N.png without a request path ever naming a file: the number is
// looked up here, and only files the printer wrote come back.
//
// Thread-safe: the print queue adds, HTTP threads look up.

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/printer/Report.h"

namespace host {

// One printed label: its files share a name and differ in extension.
struct LabelFiles {
  std::string base;  // the path without extension
  bool png = false;
  bool pdf = false;
  bool json = false;
};

// The labels of a job's file list, in the order they were written.
std::vector<LabelFiles> GroupLabelFiles(const std::vector<std::string>& files);

class LabelIndex {
 public:
  // Numbers the labels of `report`; returns their numbers in order.
  std::vector<int> Add(const JobReport& report);
  // The file of label `number` in `format` ("png", "pdf" or "json").
  std::optional<std::filesystem::path> Find(int number, const std::string& format) const;

 private:
  mutable std::mutex mutex_;
  std::vector<LabelFiles> labels_;  // label N at N-1
};

}  // namespace host
