// A face laid out on its own file must come out exactly as on the system's
// whole font configuration: the same file as fontconfig picks, the same
// layout (pango's serialisation: runs, fonts, glyphs, positions) and the same
// pixels, for text the file has and, through the fallback, text it has not.
// Faces from the install script only.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <optional>
#include <string>
#include <vector>

#include "vellum/FaceFiles.h"
#include "vellum/SystemFonts.h"
#include "vellum/TextLayout.h"
#include "vellum/VellumTestSupport.h"

namespace vellum {
namespace {

constexpr int kDpi = 300;

// A context made as TextShaper makes its own, on the system configuration
// unless given another.
struct Context {
  explicit Context(FcConfig* config = SystemFonts::Process().Load(), int dpi = kDpi) {
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), config);
    pango_cairo_context_set_resolution(context, dpi);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
  }
  ~Context() {
    g_object_unref(context);
    g_object_unref(map);
  }
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
};

// The file fontconfig itself matches for the face.
std::string FontconfigFile(FcConfig* config, const FaceKey& key) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(key.family.c_str()));
  FcPatternAddDouble(pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(key.bold ? 700 : 400));
  FcPatternAddInteger(pattern, FC_SLANT, key.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  return testing::MatchedFile(config, pattern);
}

// The layout drawn in grey on white: every byte of its pixels.
std::vector<unsigned char> Pixels(PangoLayout* layout) {
  constexpr int kWidth = 1600, kHeight = 240;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_move_to(cr, 4, 4);
  pango_cairo_show_layout(cr, layout);
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<unsigned char> out(data, data + cairo_image_surface_get_stride(surface) * kHeight);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return out;
}

const FaceKey kFaces[] = {
    {"Liberation Sans", false, false}, {"Liberation Sans", true, false},
    {"Liberation Sans", false, true},  {"Liberation Serif", true, true},
    {"Liberation Mono", false, false}, {"DejaVu Sans", false, false},
    {"DejaVu Sans", true, false},      {"Liberation Sans Narrow", false, false},
};

TEST(FaceFiles, ResolvesEachFaceToTheFileFontconfigMatches) {
  Context system;
  FaceFiles faces;
  for (const FaceKey& key : kFaces) {
    SCOPED_TRACE(key.family + (key.bold ? " bold" : "") + (key.italic ? " italic" : ""));
    FaceFilePtr face = faces.Resolve(key, [&] { return system.context; });
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->file(), FontconfigFile(SystemFonts::Process().Load(), key));
    EXPECT_EQ(faces.Resolve(key, [&] { return system.context; }), face) << "looked up again";
  }
  EXPECT_EQ(faces.size(), std::size(kFaces));
}

TEST(FaceFiles, ClaimsOnlyTextItsFilePrintsWhole) {
  Context system;
  FaceFiles faces;
  FaceFilePtr sans =
      faces.Resolve({"Liberation Sans", false, false}, [&] { return system.context; });
  ASSERT_NE(sans, nullptr);
  struct Row {
    const char* text;
    bool covered;
  };
  const Row rows[] = {
      {"", true},
      {"SHIP TO: 0123", true},
      {"Z\xc3\xbcrich \xe2\x82\xac 5", true},  // Latin-1 and the euro sign
      {"two\nlines\tand tab", true},           // control characters choose no font
      {"\xe6\x97\xa5\xe6\x9c\xac", false},     // CJK: fallback
      {"arrow \xe2\x87\xa8", false},           // a symbol the file lacks
      {"watch \xe2\x8c\x9a", false},           // emoji presentation by default
      {"1\xe2\x83\xa3", false},                // keycap sequence
      {"A\xef\xb8\x8f", false},                // emoji variation selector
      {"broken \xc3", false},                  // not UTF-8
  };
  for (const Row& row : rows) {
    EXPECT_EQ(sans->Covers(row.text), row.covered) << row.text;
  }
}

TEST(FaceFiles, FollowsTheCurrentConfiguration) {
  FcConfig* original = FcConfigReference(SystemFonts::Process().Load());
  FaceFiles faces;
  const FaceKey sans{"Liberation Sans", false, false};
  FaceFilePtr before;
  {
    Context system;
    before = faces.Resolve(sans, [&] { return system.context; });
    ASSERT_NE(before, nullptr);
  }
  // A configuration of DejaVu Sans alone: every face resolves to it.
  const std::string dejavu = FontconfigFile(original, {"DejaVu Sans", false, false});
  FcConfig* other = FcConfigCreate();
  ASSERT_TRUE(FcConfigAppFontAddFile(other, reinterpret_cast<const FcChar8*>(dejavu.c_str())));
  ASSERT_TRUE(FcConfigSetCurrent(other));
  {
    Context system(other);
    FaceFilePtr after = faces.Resolve(sans, [&] { return system.context; });
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->file(), dejavu);
    EXPECT_EQ(faces.size(), 1u);
  }
  FcConfigSetCurrent(original);
  {
    Context system;
    FaceFilePtr again = faces.Resolve(sans, [&] { return system.context; });
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->file(), before->file());
  }
  FcConfigDestroy(other);
  FcConfigDestroy(original);
}

// What the shaper hands back, against the same request laid out on the
// system configuration alone: text the face's file has, and text that
// needs the fallback, at several sizes each.
TEST(FaceFiles, ShaperLayoutsAreThoseOfTheWholeConfiguration) {
  struct Row {
    const char* family;
    bool bold;
    const wchar_t* text;
  };
  const Row rows[] = {
      {"Liberation Sans", false, L"SHIP TO: ACME WAREHOUSE 0123"},
      {"Liberation Sans", true, L"PRIORITY \u00c9\u00e9\u00fc 12.5 kg"},
      {"Liberation Mono", false, L"SSCC (00) 1 2345678 000000001 8"},
      {"DejaVu Sans", false, L"fallback \u65e5\u672c \u21e8 done"},
      {"Liberation Serif", false, L"arrow \u21e8 and \u2603"},
  };
  const double sizes[] = {6.0, 9.5, 14.0, 33.25};
  TextShaper shaper(kDpi);
  Context system;
  for (const Row& row : rows) {
    for (double size : sizes) {
      SCOPED_TRACE(std::string(row.family) + " at " + std::to_string(size));
      TextBlock block;
      block.text = row.text;
      block.family = row.family;
      block.bold = row.bold;
      LayoutPtr shaped = shaper.Place(block, size).layout;
      LayoutRequest request;
      request.text = pango_layout_get_text(shaped.get());
      request.family = row.family;
      request.bold = row.bold;
      request.size = static_cast<int>(size * PANGO_SCALE + 0.5);
      LayoutPtr whole = MakeLayout(system.context, request);
      EXPECT_EQ(testing::LayoutFingerprint(shaped.get()), testing::LayoutFingerprint(whole.get()));
      EXPECT_EQ(Pixels(shaped.get()), Pixels(whole.get()));
    }
  }
}

// The measurements typeset text is sized by are kept for the next runs as
// pango gives them, per resolution, and a shaper that finds them kept sizes
// text as one that measured them.
TEST(FaceFiles, KeptMeasurementsAreThoseOfTheTextLibrary) {
  const FaceKey faces[] = {{"Liberation Sans", false, false},
                           {"DejaVu Sans Mono", true, false},
                           {"Liberation Serif", false, true}};
  for (int dpi : {203, 300, 600}) {
    Context system(SystemFonts::Process().Load(), dpi);
    for (const FaceKey& key : faces) {
      SCOPED_TRACE(key.family + " at " + std::to_string(dpi));
      TextBlock block;
      block.text = L"SHIP 0123";
      block.family = key.family;
      block.bold = key.bold;
      block.italic = key.italic;
      const TextShaper measuring(dpi);
      const double advance = measuring.DigitAdvance(block, 12.0);
      const double size = measuring.SizeForCapHeight(block, 40.0);
      const std::optional<FontCatalog::Metrics> kept = FaceFiles::Process().FindMetrics(key, dpi);
      ASSERT_TRUE(kept.has_value());
      EXPECT_TRUE(kept->capOnFile);
      EXPECT_TRUE(kept->digitOnFile);
      LayoutRequest request;
      request.family = key.family;
      request.bold = key.bold;
      request.italic = key.italic;
      request.size = 100 * PANGO_SCALE;
      request.text = "H";
      PangoRectangle ink, logical;
      pango_layout_get_extents(MakeLayout(system.context, request).get(), &ink, nullptr);
      EXPECT_EQ(kept->capHeight, ink.height);
      request.text = "0";
      pango_layout_get_extents(MakeLayout(system.context, request).get(), nullptr, &logical);
      EXPECT_EQ(kept->digitAdvance, logical.width);
      const TextShaper reading(dpi);
      EXPECT_EQ(reading.DigitAdvance(block, 12.0), advance);
      EXPECT_EQ(reading.SizeForCapHeight(block, 40.0), size);
    }
  }
}

}  // namespace
}  // namespace vellum
