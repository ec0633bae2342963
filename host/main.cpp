// labelhost: the program users run. Parses the command line and hands it to
// the subcommand it names; `serve` runs in a program of its own (see
// host/ServeProgram.h), so that rendering never loads the network libraries.
#include <iterator>

#include "host/Commands.h"
#include "host/ProgramMain.h"
#include "host/ServeProgram.h"

namespace {

constexpr bool kOneShot = true;
constexpr host::Subcommand kCommands[] = {
    {"render", host::RunRender, kOneShot},
    {"serve", host::ExecServeProgram},
    {"watch", host::RunWatch},
    {"lint", host::RunLint, kOneShot},
    {"config-label", host::RunConfigLabel, kOneShot},
    {"font-label", host::RunFontLabel, kOneShot},
    {"graphics-label", host::RunGraphicsLabel, kOneShot},
};

}  // namespace

int main(int argc, char** argv) { return host::ProgramMain(argc, argv, kCommands); }
