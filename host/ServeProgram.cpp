#include "host/ServeProgram.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "host/Commands.h"

namespace host {
namespace {

namespace fs = std::filesystem;

bool IsProgram(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// The folder of the running labelhost, symbolic links resolved.
fs::path SelfDir() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : self.parent_path();
}

}  // namespace

std::vector<fs::path> ServeProgramPlaces(const fs::path& selfDir) {
  return {selfDir / kServeProgramName,
          (selfDir / LABELHOST_LIBEXEC_FROM_BIN / kServeProgramName).lexically_normal()};
}

fs::path FindServeProgram(const fs::path& selfDir) {
  for (const fs::path& place : ServeProgramPlaces(selfDir)) {
    if (IsProgram(place)) return place;
  }
  return {};
}

int ExecServeProgram(const HostOptions& options) {
  const fs::path selfDir = SelfDir();
  if (selfDir.empty()) {
    PrintError("serve: cannot tell where labelhost is installed (/proc/self/exe)");
    return kExitFailure;
  }
  const fs::path program = FindServeProgram(selfDir);
  if (program.empty()) {
    std::string looked;
    for (const fs::path& place : ServeProgramPlaces(selfDir)) looked += " " + place.string();
    PrintError(std::string("serve needs the program ") + kServeProgramName +
               ", which is missing; looked at" + looked);
    return kExitFailure;
  }
  std::vector<std::string> args = options.arguments;
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  PrintError("serve: cannot run " + program.string() + ": " + std::strerror(errno));
  return kExitFailure;
}

}  // namespace host
