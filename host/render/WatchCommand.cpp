// labelhost watch: renders each file, then again each time it is saved, on
// one printer that keeps its state from render to render.

#include "host/printer/ExitStatus.h"
#include "host/printer/Printer.h"
#include "host/render/FileWatcher.h"
#include "host/render/RenderCommands.h"

namespace host {

int RunWatch(const HostOptions& options) {
  std::string error;
  FileWatcher watcher;  // first: it blocks the stop signals for every thread to come
  if (!watcher.ok(error)) {
    PrintError(error);
    return kExitFailure;
  }
  for (const std::string& file : options.inputs) {
    if (!watcher.Add(file, error)) {
      PrintError(error);
      return kExitFailure;
    }
  }
  std::unique_ptr<Printer> printer = Printer::OpenForCommand(options);
  if (!printer) return kExitFailure;
  std::unique_ptr<ReportWriter> reports = MakeReportWriter(options);
  // A file that cannot be read yet is said so, and rendered once it is saved.
  for (std::vector<std::string> files = options.inputs; !files.empty();
       files = watcher.Wait(error)) {
    // A printer that failed (a full disk, say) has said why and cannot go on.
    RenderFiles(*printer, files, reports.get(), options.progress);
    if (printer->failed()) return kExitFailure;
  }
  if (!error.empty()) {
    PrintError(error);
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace host
