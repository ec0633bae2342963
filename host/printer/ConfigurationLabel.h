#pragma once
// The printer's configuration label: one "name: value" line per setting of
// this host. Printed by `labelhost config-label` and, in the full ZPL
// dialect, by a job's "~WC" (the Printer, after the job's own labels).

#include <cstddef>
#include <string>
#include <vector>

#include "host/printer/Options.h"
#include "session/SessionManager.h"

namespace host {

// The label's lines for `options`, with the number of fonts the host knows.
std::vector<std::string> ConfigurationLines(const HostOptions& options, size_t fontCount);

// Prints the label of `lines` through the session.
void PrintConfigurationLabel(CSessionManager& session, const std::vector<std::string>& lines);

}  // namespace host
