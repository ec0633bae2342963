// labelhost-serve: the network printer, which labelhost starts in its own
// place for `labelhost serve`. Only this program links the HTTP library.
#include "host/ProgramMain.h"
#include "host/serve/ServeCommand.h"

namespace {

constexpr host::Subcommand kCommands[] = {{"serve", host::RunServe}};

}  // namespace

int main(int argc, char** argv) { return host::ProgramMain(argc, argv, kCommands); }
