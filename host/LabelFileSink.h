#pragma once
// Where labelhost's printed labels go: one PNG and one JSON file per printed
// label in the output folder, named after the source being printed
// ("shipping-zpl-0001.png"), numbered per source name, and one PDF per job,
// a page per label, named after the job's first label and written when the
// job ends (EndJob). It remembers the files
// it wrote since the last TakeWritten, for the job report, and the first
// failure: after a failed write it refuses every later label, so a full disk
// or a vanished folder gives one error, not one per label.
//
// The engine calls Accept on the job thread; the runner reads the results on
// the same thread between jobs.

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Options.h"
#include "vellum/OutputSink.h"

namespace host {

class LabelFileSink : public vellum::OutputSink {
 public:
  LabelFileSink(std::filesystem::path folder, OutputFormats formats);

  // Names the labels that follow; characters unfit for file names become '-'.
  void SetSource(const std::string& sourceName);

  LabelFileSink(const LabelFileSink&) = delete;
  LabelFileSink& operator=(const LabelFileSink&) = delete;
  ~LabelFileSink() override;

  bool Accept(const vellum::PrintedPage& page, std::wstring* error) override;

  // The job is done: its PDF, if it printed labels, is finished and closed.
  void EndJob();

  // Labels accepted and files written since the last call.
  int TakeLabelCount();
  std::vector<std::string> TakeWritten();

  bool failed() const { return !failure_.empty(); }
  const std::string& failure() const { return failure_; }

 private:
  struct JobPdf;

  static std::FILE* Create(const std::filesystem::path& file);
  bool Write(const std::filesystem::path& file, const void* data, size_t size);
  bool AddPdfPage(const vellum::PrintedPage& page, const std::string& base);
  bool Fail(std::string message, std::wstring* error);

  std::filesystem::path folder_;
  OutputFormats formats_;
  std::string stem_ = "label";
  std::map<std::string, int> counters_;
  int labels_ = 0;
  std::vector<std::string> written_;
  std::string failure_;
  std::unique_ptr<JobPdf> pdf_;  // the job's document, from its first label on
};

// The stem labels of `path` are named after: its file name with every
// character other than letters, digits, '-' and '_' turned into '-'.
std::string SourceStem(const std::string& path);

}  // namespace host
