#include "vellum/ShowText.h"

#include <pango/pangofc-font.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "vellum/GlyphLayer.h"

namespace vellum {
namespace {

// Dots: a glyph position this close to half a dot (which cairo rounds), or
// glyph edges this close to meeting (cairo compares them in 1/256 dot), leave
// the run to cairo itself. Positions are computed as pango and cairo compute
// them, edges within cairo's fixed-point rounding.
constexpr double kPositionDoubt = 1e-6;
constexpr double kEdgeDoubt = 1.0 / 128;

// A glyph as pango hands it to cairo: its dots, where cairo puts them, and
// its outline's bounds in device space at its rounded position, as cairo
// computes them.
struct PlacedGlyph {
  GlyphAt at;
  DeviceBounds box;
  bool empty = false;  // no outline (a space)
};

DeviceBounds Union(const DeviceBounds& a, const DeviceBounds& b) {
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

DeviceBounds AllBounds(const std::vector<PlacedGlyph>& glyphs) {
  DeviceBounds bounds = glyphs.front().box;
  for (const PlacedGlyph& g : glyphs) bounds = Union(bounds, g.box);
  return bounds;
}

bool NearHalf(double v) { return std::abs(v - std::floor(v) - 0.5) < kPositionDoubt; }

// One run of glyphs and nothing else drawn with it (an underline is a
// rectangle of its own, and several runs are composited one after another).
const PangoGlyphItem* SingleGlyphRun(PangoLayoutLine* line) {
  if (line == nullptr || line->runs == nullptr || line->runs->next != nullptr) return nullptr;
  const auto* run = static_cast<const PangoGlyphItem*>(line->runs->data);
  // Attributes, shifted baselines and vertical runs are placed in ways the
  // layer does not repeat.
  if (run->item->analysis.extra_attrs != nullptr || run->y_offset != 0 ||
      run->start_x_offset != 0 || run->end_x_offset != 0 ||
      (run->item->analysis.flags & PANGO_ANALYSIS_FLAG_CENTERED_BASELINE) != 0) {
    return nullptr;
  }
  return run;
}

// The run's glyphs where pango's cairo renderer puts them for a run drawn
// from (`baseX`, `baseY`) in `font` (made for `source`); false when a glyph is drawn otherwise (a
// hex box), sits within doubt of a rounding edge, lies outside `visible`
// (device space; cairo drops glyphs far outside it, which would change its
// choice), or has dots the layer does not keep.
bool PlaceGlyphs(cairo_t* cr, GlyphRasters& rasters, cairo_scaled_font_t* font, PangoFont* source,
                 const PangoGlyphItem* run, double baseX, double baseY, const DeviceBounds& visible,
                 std::vector<PlacedGlyph>& out) {
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  const PangoGlyphString* glyphs = run->glyphs;
  int advance = 0;
  for (int i = 0; i < glyphs->num_glyphs; ++i) {
    const PangoGlyphInfo& info = glyphs->glyphs[i];
    const int at = advance;
    advance += info.geometry.width;
    if (info.glyph == PANGO_GLYPH_EMPTY) continue;
    if (info.glyph & PANGO_GLYPH_UNKNOWN_FLAG) return false;
    double x = baseX + static_cast<double>(at + info.geometry.x_offset) / PANGO_SCALE;
    double y = info.geometry.y_offset == 0
                   ? baseY
                   : baseY + static_cast<double>(info.geometry.y_offset) / PANGO_SCALE;
    cairo_user_to_device(cr, &x, &y);
    if (NearHalf(x) || NearHalf(y) || x < visible.x0 || x >= visible.x1 || y < visible.y0 ||
        y >= visible.y1) {
      return false;
    }
    const GlyphRaster* raster = rasters.Find(cr, matrix, font, info.glyph, source);
    if (raster == nullptr) return false;
    const DeviceBounds& box = raster->box;
    if (!raster->empty && (box.x1 - box.x0 < kEdgeDoubt || box.y1 - box.y0 < kEdgeDoubt))
      return false;
    PlacedGlyph placed;
    placed.empty = raster->empty;
    const double ox = std::round(x), oy = std::round(y);
    placed.at = {raster, static_cast<int>(ox), static_cast<int>(oy)};
    placed.box = {ox + box.x0, oy + box.y0, ox + box.x1, oy + box.y1};
    out.push_back(placed);
  }
  return !out.empty();
}

// Bold made by thickening the outlines: their rasters may reach past the
// glyph bounds cairo reports, so such runs are left to cairo.
bool Emboldened(PangoFont* font) {
  if (!PANGO_IS_FC_FONT(font)) return true;
  FcBool embolden = FcFalse;
  FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(font));
  return pattern == nullptr ||
         (FcPatternGetBool(pattern, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden);
}

enum class Overlap { kNo, kYes, kUnsure };

// Cairo's own test of whether a run's glyphs overlap: a glyph's bounds
// meeting the bounds of all glyphs before it. When they do, cairo adds the
// glyphs into a mask before compositing it; otherwise it composites them one
// by one, and glyphs whose rasters share a dot are combined by OVER there.
Overlap CairoOverlap(const std::vector<PlacedGlyph>& glyphs) {
  if (glyphs.size() == 1) return Overlap::kNo;
  DeviceBounds all{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (const PlacedGlyph& g : glyphs) {
    if (!g.empty) {
      const double gaps[4] = {g.box.x1 - all.x0, all.x1 - g.box.x0, g.box.y1 - all.y0,
                              all.y1 - g.box.y0};
      bool meets = true;
      for (double gap : gaps) {
        if (std::abs(gap) < kEdgeDoubt) return Overlap::kUnsure;
        meets = meets && gap > 0.0;
      }
      if (meets) return Overlap::kYes;
    }
    all = Union(all, g.box);
  }
  return Overlap::kNo;
}

// The run's glyphs on `cr` (see PlaceGlyphs); false when the run is left to
// cairo.
bool PlaceRun(cairo_t* cr, GlyphLayer& layer, const PangoGlyphItem* run, double baseX, double baseY,
              std::vector<PlacedGlyph>& glyphs) {
  if (Emboldened(run->item->analysis.font)) return false;
  cairo_scaled_font_t* font =
      pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(run->item->analysis.font));
  if (font == nullptr) return false;
  double x0, y0, x1, y1;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
  cairo_restore(cr);
  return PlaceGlyphs(cr, layer.rasters(), font, run->item->analysis.font, run, baseX, baseY,
                     {x0, y0, x1, y1}, glyphs);
}

// The glyphs' dots, in order.
std::vector<GlyphAt> DotsOf(const std::vector<PlacedGlyph>& glyphs) {
  std::vector<GlyphAt> dots;
  dots.reserve(glyphs.size());
  for (const PlacedGlyph& glyph : glyphs) {
    if (!glyph.empty) dots.push_back(glyph.at);
  }
  return dots;
}

// A run's glyphs placed for the layer, and cairo's way of drawing them.
struct PlacedRun {
  std::vector<PlacedGlyph> glyphs;
  Overlap overlap = Overlap::kUnsure;
};

// `run`, drawn by pango from (`baseX`, `baseY`) in user space, placed for
// the layer; false when the layer cannot give the dots cairo would.
bool PlaceForLayer(cairo_t* cr, GlyphLayer& layer, const PangoGlyphItem* run, double baseX,
                   double baseY, PlacedRun& out) {
  if (!PlaceRun(cr, layer, run, baseX, baseY, out.glyphs)) return false;
  out.overlap = CairoOverlap(out.glyphs);
  return out.overlap != Overlap::kUnsure;
}

void LayRun(cairo_t* cr, GlyphLayer& layer, const PlacedRun& run, LayMode mode) {
  if (run.overlap == Overlap::kYes) {
    // Added into one mask by cairo too.
    layer.Draw(cr, AllBounds(run.glyphs), DotsOf(run.glyphs), mode);
  } else {
    // One by one, as cairo composites them.
    layer.LayEach(cr, DotsOf(run.glyphs), mode);
  }
}

// The layout's lines placed for the layer, in the order pango's renderer
// draws them, each from the current point plus the line's offset and
// baseline; false when any line is more than one plain run or the layer
// cannot give its dots (nothing is drawn then).
bool PlaceLayout(cairo_t* cr, GlyphLayer& layer, PangoLayout* layout,
                 std::vector<PlacedRun>& lines) {
  double x, y;
  cairo_get_current_point(cr, &x, &y);
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  bool ok = true;
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    if (line == nullptr || line->runs == nullptr) continue;  // nothing drawn
    const PangoGlyphItem* run = SingleGlyphRun(line);
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    const int baseline = pango_layout_iter_get_baseline(iter);
    lines.emplace_back();
    ok = run != nullptr &&
         PlaceForLayer(cr, layer, run, x + static_cast<double>(logical.x) / PANGO_SCALE,
                       y + static_cast<double>(baseline) / PANGO_SCALE, lines.back());
  } while (ok && pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return ok && !lines.empty();
}

}  // namespace

bool ShowLineReversing(cairo_t* cr, PangoLayoutLine* line, const Painter& painter) {
  // A fresh group is blank, and cairo adds (not composites) opaque ink on a
  // surface it knows to be blank: the run's glyphs are added, in one pass.
  const PangoGlyphItem* run = nullptr;
  if (painter.glyphs == nullptr || painter.vector || !cairo_has_current_point(cr) ||
      (run = SingleGlyphRun(line)) == nullptr || !painter.glyphs->AcceptsTarget(cr)) {
    return false;
  }
  double x, y;
  cairo_get_current_point(cr, &x, &y);
  std::vector<PlacedGlyph> glyphs;
  if (!PlaceRun(cr, *painter.glyphs, run, x, y, glyphs)) return false;
  painter.glyphs->Draw(cr, AllBounds(glyphs), DotsOf(glyphs), LayMode::kXor);
  return true;
}

void ShowLayout(cairo_t* cr, PangoLayout* layout, const Painter& painter) {
  LayMode mode = LayMode::kOver;
  std::vector<PlacedRun> lines;
  if (painter.glyphs != nullptr && cairo_has_current_point(cr) &&
      painter.glyphs->Accepts(cr, mode) && PlaceLayout(cr, *painter.glyphs, layout, lines)) {
    for (const PlacedRun& line : lines) LayRun(cr, *painter.glyphs, line, mode);
    return;
  }
  pango_cairo_show_layout(cr, layout);
}

void ShowLayoutLine(cairo_t* cr, PangoLayoutLine* line, const Painter& painter) {
  LayMode mode = LayMode::kOver;
  const PangoGlyphItem* run = nullptr;
  PlacedRun placed;
  if (painter.glyphs != nullptr && cairo_has_current_point(cr) &&
      (run = SingleGlyphRun(line)) != nullptr && painter.glyphs->Accepts(cr, mode)) {
    double x, y;
    cairo_get_current_point(cr, &x, &y);
    if (PlaceForLayer(cr, *painter.glyphs, run, x, y, placed)) {
      LayRun(cr, *painter.glyphs, placed, mode);
      return;
    }
  }
  pango_cairo_show_layout_line(cr, line);
}

}  // namespace vellum
