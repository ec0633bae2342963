#pragma once
// The system font list the host hands the session: the font families this
// machine has (through fontconfig) plus the face names label jobs commonly
// ask for, which the drawing engine prints, without remark, in their
// metric-compatible open faces (vellum::MetricCompatibleFaces). Called once at
// start-up by the commands.

#include <string>
#include <vector>

#include "host/printer/Options.h"
#include "platform/LogFont.h"

namespace host {

// Face names jobs use that are rarely installed under that name: the faces
// the engine maps onto metric-compatible ones.
const std::vector<std::string>& FontAliases();

// Every font family fontconfig lists, sorted, each once.
std::vector<std::string> MachineFamilies();

// The machine's families and the aliases (unless --no-system-fonts), then the
// --font names; each name once, compared without regard to case, in order.
std::vector<std::string> FontNames(const HostOptions& options);

std::vector<platform::LOGFONTW> ToLogFonts(const std::vector<std::string>& names);

}  // namespace host
