// The glyph layer must leave exactly the bytes cairo leaves: every text run
// is drawn twice, by cairo and through the layer, onto rasters that already
// hold grey ink, and the two rasters are compared byte for byte. The cases
// are chosen where the two ways could part: glyphs whose rasters share dots
// (condensed bold, negative spacing), stretched and turned text, clips, a
// surface never drawn on, several lines, text leaving the surface.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "vellum/GlyphLayer.h"
#include "vellum/ShowText.h"
#include "vellum/SymbolLayout.h"

namespace vellum {
namespace {

constexpr int kWidth = 640, kHeight = 480;

struct Case {
  const char* name;
  const char* font;
  const char* text;
  double widthScale = 1.0;
  double turnDegrees = 0.0;
  double clip[4] = {0, 0, 0, 0};  // x, y, width, height; none when empty
  bool freshSurface = false;      // nothing drawn on it before the text
  int letterSpacing = 0;          // Pango units; negative squeezes glyphs together
  double shiftX = 0.0;            // moves the text right, dots
  double lineSpacing = 0.0;       // a factor of the font's height; lines overlap below 1
  double shiftY = 0.0;            // moves the text down, dots
};

const Case kCases[] = {
    {"CondensedBold", "Roboto Condensed Bold 31", "SHIP TO: Lindenallee 7"},
    {"CondensedSmall", "Roboto Condensed Bold 11", "rtrtrt ililil wywy kxkx 4711-0815 JJD"},
    {"CondensedStretched", "Roboto Condensed Bold 13", "Tel +49 40 1234567 Acct 88120", 0.94},
    {"MonoStretched", "DejaVu Sans Mono Bold 17", "4711 Portside WWW", 0.93},
    {"SmallSans", "Liberation Sans 7.3", "Il1| rn m .,;: AVAWAV fi ffl"},
    {"Large", "Roboto Condensed Bold 95", "AVAW 88"},
    {"Turned90", "Liberation Sans Bold 21", "Turned text 90", 1.0, 90},
    {"Turned270Stretched", "DejaVu Sans Bold 19", "Turned 270", 1.3, 270},
    {"Slanted", "DejaVu Sans Oblique 23", "Slanted glyphs", 1.0, 7.5},
    {"WholeDotClip", "Roboto Condensed Bold 40", "CLIPPED TEXT", 1.0, 0, {3, 40, 600, 68}},
    {"FractionalClip", "Roboto Condensed Bold 40", "CLIPPED TEXT", 1.0, 0, {3.5, 40.25, 600, 68}},
    {"FreshSurface", "Roboto Condensed Bold 33", "JJD0004711037 VVAW", 1.0, 0, {}, true},
    {"Squeezed", "DejaVu Sans Mono Bold 26", "MMMWWW", 1.0, 0, {}, false, -6 * PANGO_SCALE},
    {"TwoLines", "Liberation Sans 18", "first line\nsecond line"},
    {"OverlappingLines",
     "Roboto Condensed Bold 31",
     "gjpqy gjpqy\nÅÉÎ bdfhk\n\nÅgÉj",
     1.0,
     0,
     {},
     false,
     0,
     0,
     0.55},
    {"OffTheEdge", "Roboto Condensed Bold 60", "LEAVING THE SURFACE TO THE RIGHT"},
    // The last glyph's origin on the surface, its dots across the right edge.
    {"AcrossTheRightEdge", "Roboto Condensed Bold 60", "WM", 1.0, 0, {}, false, 0, kWidth - 120},
    {"Empty", "Liberation Sans 18", ""},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

struct Raster {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  ~Raster() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  std::string Bytes() {
    cairo_surface_flush(surface);
    const auto* data = reinterpret_cast<const char*>(cairo_image_surface_get_data(surface));
    return std::string(data,
                       static_cast<size_t>(cairo_image_surface_get_stride(surface)) * kHeight);
  }
};

// Grey boxes and lines of every alpha below and around the text.
void InkBelowText(cairo_t* cr, unsigned pattern) {
  std::mt19937 draw(pattern);
  for (int i = 0; i < 60; ++i) {
    cairo_set_source_rgba(cr, 0, 0, 0, (draw() % 256) / 255.0);
    cairo_rectangle(cr, draw() % kWidth - 40.0, draw() % kHeight - 40.0, draw() % 200 + 0.37,
                    draw() % 120 + 0.61);
    cairo_fill(cr);
  }
}

// Laid out as the renderer lays out text (TextShaper): outlines unhinted,
// metrics unrounded, grey antialiasing.
PangoLayout* MakeLayout(cairo_t* cr, const Case& c) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout);
  PangoFontDescription* font = pango_font_description_from_string(c.font);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (c.letterSpacing != 0) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(c.letterSpacing));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  if (c.lineSpacing != 0.0)
    pango_layout_set_line_spacing(layout, static_cast<float>(c.lineSpacing));
  pango_layout_set_text(layout, c.text, -1);
  return layout;
}

// Draws the case at pen positions sweeping a dot in seventeenths (glyphs
// land on every rounding phase), the whole layout and its first line on its own.
void DrawCase(cairo_t* cr, const Case& c, GlyphLayer* layer,
              cairo_operator_t op = CAIRO_OPERATOR_OVER) {
  Painter painter;
  painter.glyphs = layer;
  PangoLayout* layout = MakeLayout(cr, c);
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
  for (int step = 0; step < 16; ++step) {
    const double x = 20 + c.shiftX + step * 2.0 + step / 17.0,
                 y = 50 + c.shiftY + step * 26 + step / 7.0;
    cairo_save(cr);
    if (c.clip[2] > 0) {
      cairo_rectangle(cr, c.clip[0], c.clip[1] + std::floor(y) - 60, c.clip[2], c.clip[3]);
      cairo_clip(cr);
    }
    cairo_translate(cr, x, y);
    cairo_rotate(cr, c.turnDegrees * M_PI / 180);
    cairo_scale(cr, c.widthScale, 1.0);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_set_operator(cr, op);
    cairo_move_to(cr, 0, 0);
    if (step % 2 == 0) {
      layer != nullptr ? ShowLayout(cr, layout, painter) : pango_cairo_show_layout(cr, layout);
    } else if (line != nullptr) {
      layer != nullptr ? ShowLayoutLine(cr, line, painter) : pango_cairo_show_layout_line(cr, line);
    }
    cairo_restore(cr);
  }
  g_object_unref(layout);
}

class GlyphLayerTest : public ::testing::TestWithParam<Case> {};

TEST_P(GlyphLayerTest, LeavesTheBytesCairoLeaves) {
  const Case& c = GetParam();
  Raster byCairo, byLayer;
  for (Raster* raster : {&byCairo, &byLayer}) {
    if (c.freshSurface) {
      // What the MonoRaster does to a new surface.
      cairo_surface_mark_dirty(raster->surface);
    } else {
      InkBelowText(raster->cr, 7);
    }
  }
  GlyphLayer layer;
  DrawCase(byCairo.cr, c, nullptr);
  DrawCase(byLayer.cr, c, &layer);
  const std::string expected = byCairo.Bytes(), got = byLayer.Bytes();
  ASSERT_EQ(expected.size(), got.size());
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] != got[i] && differing++ == 0) first = i;
  }
  const int stride = cairo_image_surface_get_stride(byCairo.surface);
  EXPECT_EQ(differing, 0u) << "first at " << first % stride << "," << first / stride;
  EXPECT_NE(expected, std::string(expected.size(), '\0'));  // something was drawn
}

INSTANTIATE_TEST_SUITE_P(Runs, GlyphLayerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Paper drawn on ink (white text in a reverse box): DEST_OUT, laid as
// cairo would lay it, glyph by glyph or added first.
TEST_P(GlyphLayerTest, ErasesAsCairoDoes) {
  const Case& c = GetParam();
  Raster byCairo, byLayer;
  for (Raster* raster : {&byCairo, &byLayer}) {
    InkBelowText(raster->cr, 5);
    cairo_set_source_rgba(raster->cr, 0, 0, 0, 1);
    cairo_rectangle(raster->cr, 0, 0, kWidth / 2, kHeight);  // solid ink to write on
    cairo_fill(raster->cr);
  }
  GlyphLayer layer;
  DrawCase(byCairo.cr, c, nullptr, CAIRO_OPERATOR_DEST_OUT);
  DrawCase(byLayer.cr, c, &layer, CAIRO_OPERATOR_DEST_OUT);
  EXPECT_EQ(byCairo.Bytes(), byLayer.Bytes());
}

// Lines that reverse what lies below them: cairo's way (ClipToInk's
// whole-dot clip, the line drawn into an alpha group, the group painted with
// XOR) against the layer's. With `placed`, the lines are moved by the case's
// shift and clipped by its clip, when it has one.
void ReverseCase(cairo_t* cr, const Case& c, GlyphLayer* layer, bool placed = false) {
  Painter painter;
  painter.glyphs = layer;
  PangoLayout* layout = MakeLayout(cr, c);
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
  for (int step = 0; line != nullptr && step < 16; ++step) {
    double x = 20 + step * 2.0 + step / 17.0, y = 50 + step * 26 + step / 7.0;
    if (placed) {
      x += c.shiftX;
      y += c.shiftY;
    }
    cairo_save(cr);
    if (placed && c.clip[2] > 0) {
      cairo_rectangle(cr, c.clip[0], c.clip[1] + std::floor(y) - 60, c.clip[2], c.clip[3]);
    } else {
      cairo_rectangle(cr, 0, std::floor(y) - 40, kWidth, 64);
    }
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, c.turnDegrees * M_PI / 180);
    cairo_scale(cr, c.widthScale, 1.0);
    cairo_move_to(cr, 0, 0);
    if (layer == nullptr || !ShowLineReversing(cr, line, painter)) {
      cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
      cairo_set_source_rgba(cr, 1, 1, 1, 1);
      cairo_move_to(cr, 0, 0);
      pango_cairo_show_layout_line(cr, line);
      cairo_pop_group_to_source(cr);
      cairo_set_operator(cr, CAIRO_OPERATOR_XOR);
      cairo_paint(cr);
    }
    cairo_restore(cr);
  }
  g_object_unref(layout);
}

TEST_P(GlyphLayerTest, ReversesAsCairoDoes) {
  const Case& c = GetParam();
  Raster byCairo, byLayer;
  for (Raster* raster : {&byCairo, &byLayer}) InkBelowText(raster->cr, 11);
  GlyphLayer layer;
  ReverseCase(byCairo.cr, c, nullptr);
  ReverseCase(byLayer.cr, c, &layer);
  EXPECT_EQ(byCairo.Bytes(), byLayer.Bytes());
}

// The layer is blank again after every run: text drawn later is not touched
// by what an earlier run left, even one whose dots crossed the surface's
// right edge (a row's overflow lands at the left of the next row).
TEST(GlyphLayer, IsBlankAfterEachRun) {
  const Case across{"AcrossTheRightEdge", "Roboto Condensed Bold 60", "WM", 1.0, 0, {}, false, 0,
                    kWidth - 120};
  const Case atTheLeft{
      "AtTheLeftEdge", "Roboto Condensed Bold 40", "MWM", 1.0, 0, {}, false, 0, -20};
  Raster raster;
  GlyphLayer layer;
  DrawCase(raster.cr, across, &layer);
  Raster again;
  cairo_surface_mark_dirty(again.surface);
  Raster reference;
  cairo_surface_mark_dirty(reference.surface);
  DrawCase(again.cr, atTheLeft, &layer);
  DrawCase(reference.cr, atTheLeft, nullptr);
  EXPECT_EQ(again.Bytes(), reference.Bytes());
}

// Drawing that the layer cannot reproduce goes to cairo unchanged: another
// operator, a translucent source, a group, a clip between dots.
TEST(GlyphLayer, DeclinesWhatItCannotReproduce) {
  Raster raster;
  GlyphLayer layer;
  LayMode mode = LayMode::kXor;
  EXPECT_TRUE(layer.Accepts(raster.cr, mode));
  EXPECT_EQ(mode, LayMode::kOver);
  cairo_set_operator(raster.cr, CAIRO_OPERATOR_DEST_OUT);
  EXPECT_TRUE(layer.Accepts(raster.cr, mode));
  EXPECT_EQ(mode, LayMode::kErase);
  cairo_set_operator(raster.cr, CAIRO_OPERATOR_XOR);
  EXPECT_FALSE(layer.Accepts(raster.cr, mode));
  cairo_set_operator(raster.cr, CAIRO_OPERATOR_OVER);
  cairo_set_source_rgba(raster.cr, 0, 0, 0, 0.5);
  EXPECT_FALSE(layer.Accepts(raster.cr, mode));
  cairo_set_source_rgba(raster.cr, 0, 0, 0, 1);
  cairo_push_group_with_content(raster.cr, CAIRO_CONTENT_ALPHA);
  EXPECT_FALSE(layer.Accepts(raster.cr, mode));
  cairo_pattern_destroy(cairo_pop_group(raster.cr));
  cairo_rectangle(raster.cr, 10.5, 10, 100, 100);
  cairo_clip(raster.cr);
  EXPECT_FALSE(layer.Accepts(raster.cr, mode));
}

// Bars filled straight onto the raster leave what cairo's fill of the same
// path leaves: on grey ink, overlapping, clipped, inked and erased; and a
// matrix that does not keep them on whole dots is left to cairo.
TEST(GlyphLayer, LaysBarsAsCairoFillsThem) {
  const std::vector<BarRect> bars = {{0, 0, 3, 90},    {5, 0, 2, 90},    {6, 10, 4, 70},
                                     {30, 40, 50, 9},  {-20, 5, 8, 8},   {600, 400, 90, 90},
                                     {12, 0, 0, 50},   {100, 0, 1, 30},  {104, 0, 7, 30},
                                     {113, 0, 15, 30}, {130, 0, 16, 30}, {150, 0, 31, 30}};
  struct Way {
    const char* name;
    cairo_operator_t op;
    double clip[4];
  };
  const Way ways[] = {{"ink", CAIRO_OPERATOR_OVER, {0, 0, 0, 0}},
                      {"paper", CAIRO_OPERATOR_DEST_OUT, {0, 0, 0, 0}},
                      {"clipped", CAIRO_OPERATOR_OVER, {8, 20, 40, 30}}};
  for (const Way& way : ways) {
    Raster byCairo, byLayer;
    GlyphLayer layer;
    for (Raster* raster : {&byCairo, &byLayer}) {
      InkBelowText(raster->cr, 3);
      cairo_t* cr = raster->cr;
      if (way.clip[2] > 0) {
        cairo_rectangle(cr, way.clip[0], way.clip[1], way.clip[2], way.clip[3]);
        cairo_clip(cr);
      }
      cairo_set_operator(cr, way.op);
      cairo_set_source_rgba(cr, 0, 0, 0, 1);
      for (int at = 0; at < 5; ++at) {
        cairo_save(cr);
        cairo_translate(cr, 17 + at * 97, 11 + at * 53);
        LayMode mode = LayMode::kOver;
        if (raster == &byCairo || !layer.Accepts(cr, mode) || !layer.LayBars(cr, bars, mode)) {
          for (const BarRect& bar : bars) cairo_rectangle(cr, bar.x, bar.y, bar.width, bar.height);
          cairo_fill(cr);
        }
        cairo_restore(cr);
      }
    }
    EXPECT_EQ(byCairo.Bytes(), byLayer.Bytes()) << way.name;
  }
  Raster raster;
  GlyphLayer layer;
  LayMode mode = LayMode::kOver;
  cairo_translate(raster.cr, 0.5, 3);
  ASSERT_TRUE(layer.Accepts(raster.cr, mode));
  EXPECT_FALSE(layer.LayBars(raster.cr, bars, mode));
  cairo_identity_matrix(raster.cr);
  cairo_scale(raster.cr, 2, 2);
  EXPECT_FALSE(layer.LayBars(raster.cr, bars, mode));
}

// One layer draws runs of very different sizes in turn, as a label does: its
// scratch grows with the largest, lays larger runs band by band, and must be
// blank again for the next run whatever that one's shape. Each sequence is
// drawn the three ways text meets the raster (ink, paper on ink, reversed),
// by cairo and through one layer, and the rasters compared.
struct Sequence {
  const char* name;
  std::vector<Case> runs;
};

void PrintTo(const Sequence& s, std::ostream* out) { *out << s.name; }

// Texts whose glyphs overlap (kerned pairs, slanted outlines), so that
// each run is added on the scratch first, as cairo adds it into a mask. The
// layer takes only runs whose glyph origins lie within the clip: glyphs cross
// the surface's edges or the clip with their outlines.
const Sequence kSequences[] = {
    {"GrowingAndAlternating",
     {{.name = "Small", .font = "DejaVu Sans Oblique 12", .text = "AVAW ffj"},
      {.name = "Large", .font = "Roboto Condensed Bold 150", .text = "AVA"},
      {.name = "Small", .font = "DejaVu Sans Oblique 12", .text = "AVAW ffj"},
      {.name = "Wide", .font = "Liberation Sans Bold 26", .text = "WAVATAV AVAWAVA TAVAWAV VAVAV"},
      // Taller than the surface, across its top, right and bottom edges.
      {.name = "Huge", .font = "Roboto Condensed Bold 320", .text = "AVg", .shiftY = 200},
      {.name = "Narrow", .font = "Liberation Sans Bold 40", .text = "AV"},
      {.name = "TurnedLarge",
       .font = "Liberation Sans Bold 90",
       .text = "WAVA",
       .turnDegrees = 90,
       .shiftX = 300}}},
    {"AcrossTheEdges",
     // Turned so that the glyphs lie left of their origins.
     {{.name = "Left",
       .font = "Roboto Condensed Bold 80",
       .text = "AVAW",
       .turnDegrees = 270,
       .shiftY = 250},
      {.name = "Top",
       .font = "Roboto Condensed Bold 60",
       .text = "ÅVÅ",
       .shiftX = 200,
       .shiftY = -70},
      {.name = "Bottom",
       .font = "DejaVu Sans Oblique 60",
       .text = "gjffy",
       .shiftX = 100,
       .shiftY = 90},
      {.name = "Right", .font = "Roboto Condensed Bold 150", .text = "AV", .shiftX = kWidth - 260},
      {.name = "LeftLarge",
       .font = "Roboto Condensed Bold 150",
       .text = "WAV",
       .turnDegrees = 270,
       .shiftY = 380}}},
    // Clips that cut through the runs' outlines, and through their bands.
    {"ClippedThrough",
     {{.name = "Large",
       .font = "Roboto Condensed Bold 150",
       .text = "AVg",
       .clip = {20, -20, 360, 83}},
      {.name = "Small",
       .font = "DejaVu Sans Oblique 12",
       .text = "AVAW ffj",
       .clip = {18, 53, 120, 9}},
      {.name = "Wide",
       .font = "Liberation Sans Bold 26",
       .text = "WAVATAV AVAWAVA",
       .clip = {3, 40, 500, 21}},
      {.name = "TurnedLarge",
       .font = "Liberation Sans Bold 90",
       .text = "WAVA",
       .turnDegrees = 90,
       .clip = {250, -20, 80, 380},
       .shiftX = 250}}},
};

// Where two rasters first differ, and in how many dots; empty when alike.
std::string FirstDifference(Raster& a, Raster& b) {
  const std::string x = a.Bytes(), y = b.Bytes();
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    if (x[i] != y[i] && differing++ == 0) first = i;
  }
  if (differing == 0) return "";
  const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(a.surface));
  return std::to_string(differing) + " dots, the first at " + std::to_string(first % stride) + "," +
         std::to_string(first / stride);
}

class GlyphLayerSequenceTest : public ::testing::TestWithParam<Sequence> {};

TEST_P(GlyphLayerSequenceTest, LeavesTheBytesCairoLeaves) {
  struct Way {
    const char* name;
    cairo_operator_t op;
    bool reversed;
  };
  const Way ways[] = {{"ink", CAIRO_OPERATOR_OVER, false},
                      {"paper", CAIRO_OPERATOR_DEST_OUT, false},
                      {"reversed", CAIRO_OPERATOR_OVER, true}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    Raster byCairo, byLayer;
    for (Raster* raster : {&byCairo, &byLayer}) {
      InkBelowText(raster->cr, 13);
      if (way.op == CAIRO_OPERATOR_DEST_OUT) {
        cairo_set_source_rgba(raster->cr, 0, 0, 0, 1);
        cairo_rectangle(raster->cr, kWidth / 3, 0, kWidth / 3, kHeight);
        cairo_fill(raster->cr);
      }
    }
    GlyphLayer layer;
    for (const Case& run : GetParam().runs) {
      SCOPED_TRACE(run.name);
      if (way.reversed) {
        ReverseCase(byCairo.cr, run, nullptr, true);
        ReverseCase(byLayer.cr, run, &layer, true);
      } else {
        DrawCase(byCairo.cr, run, nullptr, way.op);
        DrawCase(byLayer.cr, run, &layer, way.op);
      }
      // Compared after every run: a fault shows at the run that made it.
      ASSERT_EQ(FirstDifference(byCairo, byLayer), "");
    }
    // Runs were laid in bands, and the scratch kept to its bound.
    EXPECT_EQ(layer.scratchBytes(), GlyphLayer::kMaxScratchBytes);
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, GlyphLayerSequenceTest, ::testing::ValuesIn(kSequences),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
