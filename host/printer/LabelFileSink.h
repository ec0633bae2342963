#pragma once
// Where labelhost's printed labels go: one PNG and one JSON file per printed
// label in the output folder, named after the source being printed
// ("shipping-zpl-0001.png"), numbered per source name, and one PDF per job,
// a page per label, named after the job's first label and finished when the
// job ends (EndJob). A file is never
// overwritten: every name is created exclusively, and a number another run
// (or anything else) already took is passed over for the next free one, so
// runs sharing a folder lose nothing and each reports the names it wrote.
//
// It keeps the output limits: labels and bytes per job (BeginJob starts a
// job) and per run. A label past a limit is refused and the job's report
// says which limit stopped it. It remembers the files it wrote since the last
// TakeWritten, for the job report, and the first failure: after a failed
// write it refuses every later label, so a full disk or a vanished folder
// gives one error, not one per label.
//
// A tap, when set, is handed every label that passed the limits, after its
// files are written; a tap that refuses a label stops the print like a full
// disk would. With no formats and a tap, labels go to the tap alone.
//
// The engine calls Accept on the job thread; the runner reads the results on
// the same thread between jobs.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/printer/Options.h"
#include "vellum/OutputSink.h"

namespace host {

class LabelFileSink : public vellum::OutputSink {
 public:
  LabelFileSink(std::filesystem::path folder, OutputFormats formats, OutputLimits limits = {});

  // `tap` (not owned; null for none) also takes every label from now on.
  void SetTap(vellum::OutputSink* tap) { tap_ = tap; }
  // Names the labels that follow; characters unfit for file names become '-'.
  void SetSource(const std::string& sourceName);
  // The labels that follow belong to a new job.
  void BeginJob();

  LabelFileSink(const LabelFileSink&) = delete;
  LabelFileSink& operator=(const LabelFileSink&) = delete;
  ~LabelFileSink() override;

  vellum::SinkNeeds Needs() const override;
  bool Accept(const vellum::PrintedPage& page, std::wstring* error) override;

  // The job is done: its PDF, if it printed labels, is finished and closed.
  void EndJob();

  // Labels accepted and files written since the last call.
  int TakeLabelCount();
  std::vector<std::string> TakeWritten();
  // The limit that stopped labels of the job, said for its report; "" when none.
  const std::string& limitNote() const { return limitNote_; }
  // True once a limit of the run was reached: no label will be taken any more.
  bool runLimitReached() const { return runLimitReached_; }

  bool failed() const { return !failure_.empty(); }
  const std::string& failure() const { return failure_; }

 private:
  struct Output {
    const char* extension;
    std::vector<uint8_t> bytes;
  };

  bool Encode(const vellum::PrintedPage& page, const std::string& name,
              std::vector<Output>& outputs, std::wstring* error);
  // Whether `bytes` more (and one more label) would pass a limit; says which.
  bool OverLimit(int64_t bytes);
  bool Refuse(std::wstring* error);
  // Creates the label's files under the next free number; their descriptors.
  bool Reserve(const std::vector<Output>& outputs, std::vector<std::string>& names,
               std::vector<int>& files);
  struct JobPdf;
  // Starts the job's PDF in the file reserved for it (`fd`).
  void OpenPdf(const std::string& name, int fd);
  bool Fail(std::string message, std::wstring* error);

  std::filesystem::path folder_;
  OutputFormats formats_;
  OutputLimits limits_;
  std::string stem_ = "label";
  std::map<std::string, int> counters_;
  int labels_ = 0;
  std::vector<std::string> written_;
  std::string failure_;

  int64_t jobLabels_ = 0, jobBytes_ = 0, runLabels_ = 0, runBytes_ = 0;
  std::string limitNote_;
  bool runLimitReached_ = false;
  std::unique_ptr<JobPdf> pdf_;  // the job's document, from its first label on
  vellum::OutputSink* tap_ = nullptr;
};

// The stem labels of `path` are named after: its file name with every
// character other than letters, digits, '-' and '_' turned into '-'.
std::string SourceStem(const std::string& path);

}  // namespace host
