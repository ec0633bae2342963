// labelhost lint: runs each file's jobs as render does, with no label
// written, and reports their script errors and warnings (LintReports); the
// exit status says whether the files are clean.
#include <unistd.h>

#include "host/printer/ExitStatus.h"
#include "host/printer/Printer.h"
#include "host/printer/ProcessEnd.h"
#include "host/render/LintReport.h"
#include "host/render/RenderCommands.h"

namespace host {

int RunLint(const HostOptions& given) {
  HostOptions options = given;
  options.formats = OutputFormats{};  // labels are drawn, never written
  options.checkPlacement = true;
  std::unique_ptr<Printer> printer = Printer::OpenForCommand(options);
  if (!printer) return kExitFailure;
  std::unique_ptr<ReportWriter> writer = MakeReportWriter(options);
  LintReports reports(writer.get());
  const bool progress = options.progress || ::isatty(STDERR_FILENO) == 1;
  const int status = RenderFiles(*printer, options.inputs, &reports, progress);
  printer->Close();
  LeaveToExit(std::move(printer));
  if (status == kExitFailure) return status;
  if (reports.errors() > 0) return kExitProblems;
  if (reports.warnings() > 0 && options.warningsAsErrors) return kExitFailure;
  return kExitOk;
}

}  // namespace host
