// labelhost --version: our version and the versions of the libraries that
// draw, lay out, encode and write the labels, as loaded at run time (not as
// compiled against), since that is what a bug report needs.
#include <cairo.h>
#include <pango/pango.h>
#include <png.h>
#include <zint.h>

#include <string>
#include <utility>

#include "host/Commands.h"

namespace host {
namespace {

// zint reports 2.11.1 as 21101, and a development build 2.11.1.9 as 21119.
std::string ZintVersion() {
  const int version = ZBarcode_Version();
  const int last = version % 100;
  std::string text = std::to_string(version / 10000) + "." + std::to_string(version / 100 % 100);
  if (last < 10) return text + "." + std::to_string(last);
  return text + "." + std::to_string(last / 10) + "." + std::to_string(last % 10);
}

}  // namespace

std::string VersionText() {
  const std::pair<const char*, std::string> parts[] = {
      {"labelhost", LABELHOST_VERSION},        {"cairo", cairo_version_string()},
      {"pango", pango_version_string()},       {"zint", ZintVersion()},
      {"libpng", png_get_libpng_ver(nullptr)},
  };
  std::string text;
  for (const auto& [name, version] : parts) text += std::string(name) + " " + version + "\n";
  return text;
}

}  // namespace host
