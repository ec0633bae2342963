// Layouts kept for repeated text must be the layouts the text would get
// afresh: a request that differs from a cached one in any single input must
// not be answered with the cached layout. Layouts are compared whole
// (properties, lines, runs, glyphs) through pango's own serialisation.
// Faces from the install script only.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <functional>
#include <string>

#include "vellum/GlyphLayer.h"
#include "vellum/LayoutCache.h"
#include "vellum/ShowText.h"
#include "vellum/TextLayout.h"
#include "vellum/VellumTestSupport.h"

namespace vellum {
namespace {

// What the renderer asks of a shaper: a placed block, or a typeset one.
struct Request {
  TextBlock block;
  double size = 9.0;
  bool typeset = false;
  double wrapWidth = 0.0;  // typeset only
  double indent = 0.0;
  bool justifyBoth = false;
};

LayoutPtr Lay(const TextShaper& shaper, const Request& r) {
  if (r.typeset) return shaper.TypesetLayout(r.block, r.size, r.wrapWidth, r.indent, r.justifyBoth);
  return shaper.Place(r.block, r.size).layout;
}

Request Placed() {
  Request r;
  r.block.text = L"Delivered under the carrier's general terms";
  r.block.family = "DejaVu Sans";
  r.block.wrap = true;
  r.block.boxWidth = 260.0;  // two or more lines at 300 dpi
  return r;
}

Request Typeset() {
  Request r = Placed();
  r.block.wrap = false;
  r.block.boxWidth = 0.0;
  r.typeset = true;
  r.wrapWidth = 300.0;
  return r;
}

Request Spaced() {
  Request r = Placed();
  r.block.letterSpacingDots = 1.5;
  return r;
}

struct Change {
  const char* name;
  Request (*base)();
  std::function<void(Request&)> apply;
};

const Change kChanges[] = {
    {"Text", Placed, [](Request& r) { r.block.text += L"!"; }},
    {"Family", Placed, [](Request& r) { r.block.family = "DejaVu Serif"; }},
    {"Size", Placed, [](Request& r) { r.size = 9.5; }},
    {"Bold", Placed, [](Request& r) { r.block.bold = true; }},
    {"Italic", Placed, [](Request& r) { r.block.italic = true; }},
    {"Underline", Placed, [](Request& r) { r.block.underline = true; }},
    {"LetterSpacing", Placed, [](Request& r) { r.block.letterSpacingDots = 1.5; }},
    {"LetterSpacingAmount", Spaced, [](Request& r) { r.block.letterSpacingDots = 3.0; }},
    // Rounds to no spacing, but the attribute is still there, as it always was.
    {"LetterSpacingTiny", Placed, [](Request& r) { r.block.letterSpacingDots = 1e-6; }},
    {"LineSpacing", Placed, [](Request& r) { r.block.lineSpacing = 1.5; }},
    {"Justify", Placed, [](Request& r) { r.block.justify = Justify::kCentre; }},
    {"BoxWidth", Placed, [](Request& r) { r.block.boxWidth = 200.0; }},
    {"NoWrap", Placed, [](Request& r) { r.block.wrap = false; }},
    {"Vertical", Placed, [](Request& r) { r.block.vertical = true; }},
    {"TypesetWrapWidth", Typeset, [](Request& r) { r.wrapWidth = 240.0; }},
    {"TypesetNoWrap", Typeset, [](Request& r) { r.wrapWidth = 0.0; }},
    {"TypesetIndent", Typeset, [](Request& r) { r.indent = 30.0; }},
    {"TypesetJustifyBoth", Typeset, [](Request& r) { r.justifyBoth = true; }},
    {"TypesetJustify", Typeset, [](Request& r) { r.block.justify = Justify::kRight; }},
};

TEST(LayoutCache, AnswersEachDifferingRequestWithItsOwnLayout) {
  for (const Change& c : kChanges) {
    SCOPED_TRACE(c.name);
    const Request base = c.base();
    Request changed = base;
    c.apply(changed);
    TextShaper warm(300);
    const std::string before = testing::LayoutFingerprint(Lay(warm, base).get());
    const std::string cached = testing::LayoutFingerprint(Lay(warm, changed).get());
    TextShaper fresh(300);
    const std::string expected = testing::LayoutFingerprint(Lay(fresh, changed).get());
    ASSERT_NE(before, expected) << "the change alters nothing pango lays out";
    EXPECT_EQ(cached, expected);
  }
}

TEST(LayoutCache, LaysRepeatedTextOnce) {
  TextShaper shaper(203);
  for (const Request& r : {Placed(), Typeset()}) {
    const LayoutPtr first = Lay(shaper, r);
    EXPECT_EQ(Lay(shaper, r).get(), first.get());
  }
}

// Drawing shares cached layouts between labels: it must leave them as made.
TEST(LayoutCache, DrawingLeavesTheLayoutAsItWas) {
  TextShaper shaper(300);
  const LayoutPtr layout = Lay(shaper, Placed());
  const std::string before = testing::LayoutFingerprint(layout.get());
  const guint serial = pango_layout_get_serial(layout.get());
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 600, 200);
  cairo_t* cr = cairo_create(surface);
  GlyphLayer layer;
  for (GlyphLayer* glyphs : {static_cast<GlyphLayer*>(nullptr), &layer}) {
    Painter painter;
    painter.glyphs = glyphs;
    cairo_move_to(cr, 10, 10);
    ShowLayout(cr, layout.get(), painter);
    cairo_move_to(cr, 10, 150);
    ShowLayoutLine(cr, pango_layout_get_line_readonly(layout.get(), 0), painter);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  EXPECT_EQ(pango_layout_get_serial(layout.get()), serial);
  EXPECT_EQ(testing::LayoutFingerprint(layout.get()), before);
}

// A context of its own, as a shaper makes one.
struct Context {
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  ~Context() {
    g_object_unref(context);
    g_object_unref(map);
  }
};

LayoutRequest Request(std::string text) {
  LayoutRequest request;
  request.text = std::move(text);
  request.family = "DejaVu Sans";
  request.size = 10 * PANGO_SCALE;
  return request;
}

TEST(LayoutCache, StaysWithinItsBounds) {
  struct Row {
    const char* name;
    size_t textBytes;
    size_t count;
  };
  const Row rows[] = {
      {"ManyShortTexts", 12, LayoutCache::kMaxEntries * 3},
      {"LongTexts", LayoutCache::kMaxEntryTextBytes - 20, 200},
      {"TooLongToKeep", LayoutCache::kMaxEntryTextBytes + 1, 5},
  };
  Context context;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    LayoutCache cache;
    size_t most = 0;
    for (size_t i = 0; i < row.count; ++i) {
      std::string text = std::to_string(i);
      text.resize(row.textBytes, 'x');
      ASSERT_NE(cache.Get(context.context, Request(text)), nullptr);
      EXPECT_LE(cache.size(), LayoutCache::kMaxEntries);
      EXPECT_LE(cache.textBytes(), LayoutCache::kMaxTextBytes);
      most = std::max(most, cache.size());
    }
    EXPECT_EQ(most == 0, row.textBytes > LayoutCache::kMaxEntryTextBytes);
  }
}

TEST(LayoutCache, DropsTheLeastRecentlyUsed) {
  Context context;
  LayoutCache cache;
  const LayoutPtr kept = cache.Get(context.context, Request("kept"));
  const LayoutPtr dropped = cache.Get(context.context, Request("dropped"));
  for (size_t i = 0; i < 2 * LayoutCache::kMaxEntries; ++i) {
    if (i % 100 == 0) cache.Get(context.context, Request("kept"));
    cache.Get(context.context, Request(std::to_string(i)));
  }
  EXPECT_EQ(cache.Get(context.context, Request("kept")).get(), kept.get());
  EXPECT_NE(cache.Get(context.context, Request("dropped")).get(), dropped.get());
}

TEST(LayoutCache, ForgetsLayoutsWhenTheContextChanges) {
  Context context;
  LayoutCache cache;
  const LayoutPtr first = cache.Get(context.context, Request("text"));
  pango_context_changed(context.context);
  EXPECT_NE(cache.Get(context.context, Request("text")).get(), first.get());
  EXPECT_EQ(cache.size(), 1u);
}

}  // namespace
}  // namespace vellum
