#pragma once
// The commands of the render front end: render, watch, lint and the built-in
// labels, each ending as host/printer/ExitStatus.h says. labelhost's command
// table (host/main.cpp) names them.

#include <string>
#include <vector>

#include "host/printer/Options.h"
#include "host/printer/Printer.h"
#include "host/printer/Report.h"

namespace host {

int RunRender(const HostOptions& options);
int RunWatch(const HostOptions& options);
int RunLint(const HostOptions& options);
int RunConfigLabel(const HostOptions& options);
int RunFontLabel(const HostOptions& options);
int RunGraphicsLabel(const HostOptions& options);

// Renders each of `inputs` through `printer`, reporting each job to
// `reports` (may be null); the run's exit status (0, 1, or 3 under --strict).
int RenderFiles(Printer& printer, const std::vector<std::string>& inputs, ReportWriter* reports,
                bool showProgress);

}  // namespace host
