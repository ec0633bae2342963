#include "host/printer/ExitStatus.h"

#include <cstdio>

namespace host {

void PrintError(const std::string& message) {
  std::fprintf(stderr, "labelhost: %s\n", message.c_str());
}

}  // namespace host
