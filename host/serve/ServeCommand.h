#pragma once
// labelhost serve, the command of the network printer, ending as
// host/printer/ExitStatus.h says. labelhost-serve's command table
// (host/ServeMain.cpp) names it; labelhost runs that program for `serve`
// (host/ServeProgram.h), so only it links the HTTP library.

#include "host/printer/Options.h"

namespace host {

int RunServe(const HostOptions& options);

}  // namespace host
