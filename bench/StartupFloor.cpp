// What the libraries labelhost needs cost a one-label run before any work of
// ours: linked exactly like labelhost, this program does only the library
// part of a run and exits. Time it with bench/one-label-wall.sh beside
// labelhost itself:
//
//   StartupFloor exit      loading the libraries (and leaving)
//   StartupFloor fonts     ... and the system's font list, as a run reads it
//                          (from the font catalog while that is valid)
//   StartupFloor config    ... and reading the system's font configuration
//                          itself, as a run without a catalog does
//   StartupFloor text N    ... and laying out one line at N sizes of one face
//
// bench/startup-stages.sh runs them all and prints a row per stage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "vellum/FontResolver.h"
#include "vellum/SystemFonts.h"
#include "vellum/TextLayout.h"

namespace {

int LayOutSizes(int sizes) {
  vellum::TextShaper shaper(300);
  vellum::TextBlock block;
  block.text = L"Floor 0123";
  block.family = vellum::FontResolver::kDefaultFamily;
  double width = 0.0;
  for (int i = 0; i < sizes; ++i) width += shaper.Place(block, 8.0 + i * 1.5).width;
  return width > 0.0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "exit") return 0;
  if (mode == "fonts") return vellum::SystemFonts::Process().FamilyNames().empty() ? 1 : 0;
  if (mode == "config") return vellum::SystemFonts::Process().Load() != nullptr ? 0 : 1;
  if (mode == "text" && argc > 2) return LayOutSizes(std::atoi(argv[2]));
  std::fprintf(stderr, "usage: StartupFloor exit | fonts | config | text SIZES\n");
  return 2;
}
