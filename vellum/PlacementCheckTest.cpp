#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Text.h"
#include "vellum/PlacementCheck.h"

namespace vellum {
namespace {

// One object's extent, in design dots, checked against a 400 x 200 dot page
// on which the design lands as it is or turned a quarter.
TEST(PlacementCheckTest, ObjectsPastAnEdgeAreNamedPartlyOrWholly) {
  struct Case {
    DotBox extent;
    bool turned;
    const char* expected;  // the start of the diagnostic, "" for none
  };
  const Case cases[] = {
      {{10, 10, 100, 50}, false, ""},
      {{0, 0, 400, 200}, false, ""},      // the whole page
      {{300, 10, 100.4, 50}, false, ""},  // less than half a dot past: rounding
      {{350, 10, 100, 50}, false, "text \"HELLO\" lies partly"},
      {{-20, 10, 100, 50}, false, "text \"HELLO\" lies partly"},
      {{10, 180, 100, 50}, false, "text \"HELLO\" lies partly"},
      {{450, 10, 100, 50}, false, "text \"HELLO\" lies wholly"},
      {{10, -80, 100, 50}, false, "text \"HELLO\" lies wholly"},
      // A quarter turn takes the design's x down the page: 300 across is
      // 300 down, past a 200 dot page.
      {{300, 10, 50, 50}, true, "text \"HELLO\" lies wholly"},
      {{10, 10, 50, 50}, true, ""},
  };
  for (const Case& c : cases) {
    ObjectData object;
    object.id = 7;
    object.type = kVObjText;
    PreparedLabel label;
    label.page.widthDots = 400;
    label.page.heightDots = 200;
    if (c.turned) {
      cairo_matrix_init(&label.page.designToPage, 0, 1, -1, 0, 400, 0);  // x -> down
    } else {
      cairo_matrix_init_identity(&label.page.designToPage);
    }
    PreparedObject prepared;
    prepared.object = &object;
    prepared.value = L"HELLO";
    cairo_matrix_init_identity(&prepared.turn);
    label.objects.push_back(std::move(prepared));
    Diagnostics diagnostics;
    CheckPlacement(label, {c.extent}, diagnostics);
    const std::string at = std::to_string(c.extent.x) + "," + std::to_string(c.extent.y);
    if (*c.expected == '\0') {
      EXPECT_TRUE(diagnostics.entries().empty()) << at;
      continue;
    }
    ASSERT_EQ(diagnostics.entries().size(), 1u) << at;
    const Diagnostic& d = diagnostics.entries()[0];
    EXPECT_EQ(d.objectId, 7);
    EXPECT_EQ(d.kind, DiagnosticKind::kOutsideLabel);
    EXPECT_EQ(platform::WideToUtf8(d.message).rfind(c.expected, 0), 0u)
        << at << ": " << platform::WideToUtf8(d.message);
  }
}

}  // namespace
}  // namespace vellum
