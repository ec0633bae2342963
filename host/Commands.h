#pragma once
// labelhost's commands, as its command table (main.cpp) names them: those of
// the render front end (host/render/RenderCommands.h), how a command ends
// (host/printer/ExitStatus.h), and the version text --version prints. `serve`
// is labelhost-serve's command (host/serve/ServeCommand.h), which labelhost
// runs through ExecServeProgram (host/ServeProgram.h).

#include <string>

#include "host/printer/ExitStatus.h"
#include "host/render/RenderCommands.h"

namespace host {

// "labelhost VERSION", then one line per library: name and run-time version.
std::string VersionText();

}  // namespace host
