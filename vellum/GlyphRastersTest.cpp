// A kept glyph must be the glyph cairo draws for the font and matrix asked,
// whatever was kept before, and the keeping must stay within its bound.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "vellum/GlyphRasters.h"

namespace vellum {
namespace {

struct Context {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 64, 64);
  cairo_t* cr = cairo_create(surface);
  Context() {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 40);
  }
  ~Context() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  cairo_scaled_font_t* Font() { return cairo_get_scaled_font(cr); }
  cairo_matrix_t Matrix() {
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    return m;
  }
};

bool Same(const GlyphRaster& a, const GlyphRaster& b) {
  return a.empty == b.empty && a.x == b.x && a.y == b.y && a.width == b.width &&
         a.height == b.height && a.dots == b.dots;
}

// Each way of drawing the same glyph of the same font gives its own dots (as
// pango draws: one scaled font, the context's matrix doing the rest): a key
// that forgets the matrix's turn, stretch or slant, or the font, returns the
// first.
TEST(GlyphRasters, KeysOnFontAndMatrix) {
  struct Way {
    const char* name;
    double turn, stretch, slant, shear, size;
  };
  const Way ways[] = {{"plain", 0, 1, 0, 0, 40},       {"turned", M_PI / 2, 1, 0, 0, 40},
                      {"stretched", 0, 1.5, 0, 0, 40}, {"tall", 0, 1, 0, 0, 40},
                      {"slanted", 0, 1, 0.3, 0, 40},   {"sheared", 0, 1, 0, 0.3, 40},
                      {"larger", 0, 1, 0, 0, 44}};
  GlyphRasters kept;
  Context shared;
  for (unsigned long glyph : {36ul, 50ul}) {
    for (const Way& way : ways) {
      Context font, fresh;
      cairo_set_font_size(font.cr, way.size);
      for (Context* c : {&shared, &fresh}) {
        cairo_identity_matrix(c->cr);
        cairo_translate(c->cr, 3.25, 7.5);  // the translation is not part of the key
        cairo_rotate(c->cr, way.turn);
        cairo_scale(c->cr, way.stretch, std::string(way.name) == "tall" ? 1.5 : 1.0);
        cairo_matrix_t slant{1, way.shear, way.slant, 1, 0, 0};
        cairo_transform(c->cr, &slant);
      }
      GlyphRasters alone;
      const GlyphRaster* got = kept.Find(shared.cr, shared.Matrix(), font.Font(), glyph);
      const GlyphRaster* want = alone.Find(fresh.cr, fresh.Matrix(), font.Font(), glyph);
      ASSERT_NE(got, nullptr) << way.name;
      ASSERT_NE(want, nullptr) << way.name;
      EXPECT_TRUE(Same(*got, *want)) << way.name << " glyph " << glyph;
      EXPECT_FALSE(got->dots.empty()) << way.name;
    }
  }
}

TEST(GlyphRasters, StaysWithinItsBound) {
  constexpr size_t kBound = 24 * 1024;
  GlyphRasters kept(kBound), unbounded;
  Context c;
  for (int round = 0; round < 2; ++round) {
    for (unsigned long glyph = 30; glyph < 90; ++glyph) {
      const GlyphRaster* got = kept.Find(c.cr, c.Matrix(), c.Font(), glyph);
      ASSERT_NE(got, nullptr);
      EXPECT_LE(kept.bytes(), kBound);
      const GlyphRaster* want = unbounded.Find(c.cr, c.Matrix(), c.Font(), glyph);
      EXPECT_TRUE(Same(*got, *want)) << glyph;
    }
  }
  EXPECT_GT(unbounded.bytes(), kBound);
}

}  // namespace
}  // namespace vellum
