#pragma once
// What a request of the render interface asks for, read from its path and
// headers: `/v1/printers/{N}dpmm/labels/{W}x{H}/{index}/` with N one of the
// densities label tools know (6, 8, 12, 24 dots per millimetre), the media
// W x H inches, an optional 0-based label index, the wanted format from
// Accept and a clockwise turn from X-Rotation. HttpApi's render route reads
// one per request; every value is checked here, so the renderer gets only
// sizes it can draw in bounded memory.

#include <optional>
#include <string>

#include "host/printer/Options.h"

namespace host {

enum class RenderFormat { kPng, kPdf, kJson };

struct RenderRequest {
  int dpmm = 8;
  double widthInches = 4.0;
  double heightInches = 6.0;
  std::optional<int> index;  // none: every label (PDF, JSON); the first for PNG
  RenderFormat format = RenderFormat::kPng;
  int rotation = 0;  // clockwise degrees: 0, 90, 180 or 270
  ZplDialect zpl = ZplDialect::kFull;

  // The printer resolution of the density: 6, 8, 12, 24 dpmm are 152, 203,
  // 300 and 600 dpi.
  int dpi() const;
};

// The largest media side the interface draws, inches.
inline constexpr double kMostRenderInches = 15.0;
// The most labels one request renders.
inline constexpr int kMostRenderLabels = 200;

// Reads the path's parts and the headers; false, with a short message for
// the client, on a value it cannot take.
bool ParseRenderRequest(const std::string& density, const std::string& size,
                        const std::string& index, const std::string& accept,
                        const std::string& rotation, RenderRequest& out, std::string& error);

// The job in a request body: the `file` field of a form-encoded body, or
// the body as it came (a raw job, or one a client sent as form data unencoded).
std::string JobFromFormBody(const std::string& contentType, const std::string& body);

}  // namespace host
