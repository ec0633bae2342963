#pragma once
// Says which objects of a prepared label lie partly or wholly outside its
// page (ink there is never printed), and which text blocks hold a line wider
// than the block (a word that could not wrap). A check for label developers (the host's
// lint asks for it through VellumSettings::checkPlacement); printing itself
// never needs it. LabelRenderer::Prepare calls it with each object's extent
// in design dots, in the label's object order, once the page is known.

#include <vector>

#include "vellum/Diagnostics.h"
#include "vellum/LabelRenderer.h"

namespace vellum {

void CheckPlacement(const PreparedLabel& label, const std::vector<DotBox>& extents,
                    Diagnostics& diagnostics);

}  // namespace vellum
