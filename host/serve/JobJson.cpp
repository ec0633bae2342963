#include "host/serve/JobJson.h"

#include <filesystem>
#include <sstream>

#include "host/serve/LabelIndex.h"

namespace host {
namespace {

// Replies never show where the server keeps its files: a label's files are
// named as in the output folder, where they all are.
std::string ReportObject(JobReport report) {
  for (std::string& file : report.files) file = std::filesystem::path(file).filename().string();
  std::ostringstream out;
  MakeReportWriter(ReportFormat::kJson, out)->Write(report);
  std::string text = out.str();
  while (!text.empty() && (text.back() == '\n' || text.back() == '}')) {
    const bool brace = text.back() == '}';
    text.pop_back();
    if (brace) break;
  }
  return text;  // the object without its closing brace
}

// Links of every label of `job`; the numbers follow the file order.
std::vector<std::string> Links(const PrintedJob& job) {
  std::vector<std::string> links;
  const std::vector<LabelFiles> labels = GroupLabelFiles(job.report.files);
  for (size_t i = 0; i < labels.size() && i < job.labels.size(); ++i) {
    const std::string n = std::to_string(job.labels[i]);
    std::string link = "{\"label\":" + n;
    if (labels[i].png) link += ",\"png\":\"/labels/" + n + ".png\"";
    if (labels[i].pdf) link += ",\"pdf\":\"/labels/" + n + ".pdf\"";
    if (labels[i].json) link += ",\"json\":\"/labels/" + n + ".json\"";
    links.push_back(link + "}");
  }
  return links;
}

std::string Array(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
  return out + "]";
}

// The "log" array of a report object, cut out of its JSON.
std::string LogEntries(const JobReport& report) {
  const std::string object = ReportObject(report);
  const size_t start = object.find(",\"log\":[");
  const size_t end = object.find("],\"diagnostics\":", start);
  if (start == std::string::npos || end == std::string::npos) return "";
  return object.substr(start + 8, end - start - 8);
}

}  // namespace

std::string JobJson(const PrintedJob& job) {
  return ReportObject(job.report) + ",\"dpi\":" + std::to_string(job.dpi) +
         ",\"links\":" + Array(Links(job)) + "}";
}

std::string RequestJson(const std::vector<PrintedJob>& jobs) {
  std::vector<std::string> objects, links, log;
  for (const PrintedJob& job : jobs) {
    objects.push_back(JobJson(job));
    for (std::string& link : Links(job)) links.push_back(std::move(link));
    std::string entries = LogEntries(job.report);
    if (!entries.empty()) log.push_back(std::move(entries));
  }
  return "{\"jobs\":" + Array(objects) + ",\"labels\":" + Array(links) + ",\"log\":" + Array(log) +
         "}\n";
}

}  // namespace host
