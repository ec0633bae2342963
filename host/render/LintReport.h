#pragma once
// What `labelhost lint` makes of a job's report: script errors stay errors,
// and so do the lines a job's parser logged (the statement languages log
// their script errors without a record); what the printer changed or could
// not do while printing (engine diagnostics, the session's log lines, the
// report's notes) becomes a warning. LintReports does this to every report
// before the writer prints it and counts both, for the exit status.
//
// The lint command owns one for its run and hands it to the job runner as its
// report writer; `writer` may be null (--quiet) and must outlive it.

#include <cstddef>

#include "host/printer/Report.h"

namespace host {

// Turns `report` into lint's: its diagnostics, session log lines and notes
// become warnings, in that order.
void MakeLintReport(JobReport& report);

// The script errors of a lint report: its script errors and the log lines
// left (each a line a parser logged).
size_t LintErrorCount(const JobReport& report);

class LintReports : public ReportWriter {
 public:
  explicit LintReports(ReportWriter* writer) : writer_(writer) {}
  void Write(const JobReport& report) override;

  size_t errors() const { return errors_; }
  size_t warnings() const { return warnings_; }

 private:
  ReportWriter* writer_;
  size_t errors_ = 0;
  size_t warnings_ = 0;
};

}  // namespace host
