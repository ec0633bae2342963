#pragma once
// Renders a prepared label as a one-page PDF, the page the size of the
// printed label. The page is drawn by the same LabelRenderer as the raster,
// in vector form (text stays text), so PNG and PDF show the same layout.

#include <cstdint>
#include <vector>

#include "vellum/LabelRenderer.h"

namespace vellum {

// Replaces `out` with the PDF file's bytes; false (and `out` empty) on failure.
bool RenderPdf(const LabelRenderer& renderer, const PreparedLabel& label, std::vector<uint8_t>& out,
               Diagnostics& diagnostics);

}  // namespace vellum
