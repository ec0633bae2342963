#pragma once
// Where labelhost's printed labels go: one file per printed label and format
// in the output folder, named after the source being printed
// ("shipping-zpl-0001.png"), numbered per source name. It remembers the files
// it wrote since the last TakeWritten, for the job report, and the first
// failure: after a failed write it refuses every later label, so a full disk
// or a vanished folder gives one error, not one per label.
//
// The engine calls Accept on the job thread; the runner reads the results on
// the same thread between jobs.

#include <filesystem>
#include <map>
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

  bool Accept(const vellum::PrintedPage& page, std::wstring* error) override;

  // Labels accepted and files written since the last call.
  int TakeLabelCount();
  std::vector<std::string> TakeWritten();

  bool failed() const { return !failure_.empty(); }
  const std::string& failure() const { return failure_; }

 private:
  bool Write(const std::filesystem::path& file, const void* data, size_t size);
  bool Fail(std::string message, std::wstring* error);

  std::filesystem::path folder_;
  OutputFormats formats_;
  std::string stem_ = "label";
  std::map<std::string, int> counters_;
  int labels_ = 0;
  std::vector<std::string> written_;
  std::string failure_;
};

// The stem labels of `path` are named after: its file name with every
// character other than letters, digits, '-' and '_' turned into '-'.
std::string SourceStem(const std::string& path);

}  // namespace host
