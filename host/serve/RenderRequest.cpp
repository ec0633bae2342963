#include "host/serve/RenderRequest.h"

#include <httplib.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace host {
namespace {

struct Density {
  int dpmm;
  int dpi;
};
constexpr Density kDensities[] = {{6, 152}, {8, 203}, {12, 300}, {24, 600}};

bool Inches(const std::string& text, double& out) {
  if (text.empty() || text.size() > 12 ||
      text.find_first_not_of("0123456789.") != std::string::npos)
    return false;
  errno = 0;
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return errno == 0 && *end == '\0' && std::isfinite(out) && out >= 0.25 &&
         out <= kMostRenderInches;
}

bool ReadDensity(const std::string& text, int& dpmm) {
  for (const Density& d : kDensities) {
    if (text == std::to_string(d.dpmm) + "dpmm") return (dpmm = d.dpmm), true;
  }
  return false;
}

bool ReadSize(const std::string& text, double& width, double& height) {
  const size_t x = text.find('x');
  return x != std::string::npos && Inches(text.substr(0, x), width) &&
         Inches(text.substr(x + 1), height);
}

bool ReadIndex(const std::string& text, std::optional<int>& index) {
  if (text.empty()) return index.reset(), true;
  if (text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  index = std::atoi(text.c_str());
  return true;
}

RenderFormat ReadAccept(const std::string& accept) {
  if (accept.find("application/pdf") != std::string::npos) return RenderFormat::kPdf;
  if (accept.find("application/json") != std::string::npos) return RenderFormat::kJson;
  return RenderFormat::kPng;  // image/png, */* or nothing said
}

}  // namespace

int RenderRequest::dpi() const {
  for (const Density& d : kDensities) {
    if (d.dpmm == dpmm) return d.dpi;
  }
  return 203;
}

bool ParseRenderRequest(const std::string& density, const std::string& size,
                        const std::string& index, const std::string& accept,
                        const std::string& rotation, RenderRequest& out, std::string& error) {
  if (!ReadDensity(density, out.dpmm))
    return (error = "the density must be 6dpmm, 8dpmm, 12dpmm or 24dpmm"), false;
  if (!ReadSize(size, out.widthInches, out.heightInches))
    return (error = "the size must be WxH in inches, each from 0.25 to 15, such as 4x6"), false;
  if (!ReadIndex(index, out.index))
    return (error = "the index must be a label number from 0, or nothing for every label"), false;
  out.format = ReadAccept(accept);
  if (!rotation.empty()) {
    if (rotation != "0" && rotation != "90" && rotation != "180" && rotation != "270")
      return (error = "X-Rotation must be 0, 90, 180 or 270"), false;
    out.rotation = std::atoi(rotation.c_str());
  }
  return true;
}

std::string JobFromFormBody(const std::string& contentType, const std::string& body) {
  if (contentType.find("application/x-www-form-urlencoded") == std::string::npos) return body;
  // A raw job sent with a form's type (curl's --data) has no `file=` field:
  // it is taken as it came.
  if (body.rfind("file=", 0) != 0 && body.find("&file=") == std::string::npos) return body;
  httplib::Params fields;
  httplib::detail::parse_query_text(body, fields);
  const auto file = fields.find("file");
  return file == fields.end() ? body : file->second;
}

}  // namespace host
