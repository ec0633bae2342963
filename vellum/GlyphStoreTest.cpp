// A glyph read from the store must be exactly the glyph cairo draws for the
// same font and matrix: a key that forgets anything the dots depend on, a
// file that is damaged, foreign or half written, would print wrong dots.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <thread>

#include "vellum/GlyphRasters.h"
#include "vellum/GlyphStore.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

struct Folder {
  Folder() : path(fs::temp_directory_path() / ("glyph-store-" + std::to_string(::getpid()))) {
    fs::remove_all(path);
  }
  ~Folder() { fs::remove_all(path); }
  std::string File(const std::string& key) const {
    return (path / GlyphStore::FileName(key)).string();
  }
  fs::path path;
};

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A pango font on a blank alpha surface, as the renderer draws text.
struct Text {
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 64, 64);
  cairo_t* cr = cairo_create(surface);
  PangoFont* font = nullptr;

  explicit Text(const char* description, cairo_antialias_t antialias = CAIRO_ANTIALIAS_DEFAULT,
                cairo_hint_style_t hints = CAIRO_HINT_STYLE_DEFAULT) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias);
    cairo_font_options_set_hint_style(options, hints);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    PangoFontDescription* d = pango_font_description_from_string(description);
    font = pango_font_map_load_font(map, context, d);
    pango_font_description_free(d);
  }
  ~Text() {
    g_clear_object(&font);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(context);
    g_object_unref(map);
  }
  cairo_scaled_font_t* Scaled() const {
    return pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
  }
  cairo_matrix_t Matrix() const {
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    return m;
  }
  std::string Key() const { return GlyphStore::FontKey(font, Scaled()); }
  // The glyph as cairo draws it, kept by no store.
  GlyphRaster Drawn(unsigned long index) const {
    GlyphRasters alone;
    const GlyphRaster* raster = alone.Find(cr, Matrix(), Scaled(), index);
    return raster != nullptr ? *raster : GlyphRaster{};
  }
};

bool Same(const GlyphRaster& a, const GlyphRaster& b) {
  bool same = a.empty == b.empty && a.x == b.x && a.y == b.y && a.width == b.width &&
              a.height == b.height && std::memcmp(&a.box, &b.box, sizeof a.box) == 0;
  for (int y = 0; same && y < a.height; ++y) {
    same = std::memcmp(a.dots.data() + y * a.stride, b.dots.data() + y * b.stride, a.width) == 0;
  }
  return same;
}

// Glyphs of DejaVu Sans: letters, digits and a space.
constexpr unsigned long kGlyphs[] = {3, 19, 20, 36, 37, 50, 68, 81};

// A strike's file holding kGlyphs, written by a store of its own.
void Write(const std::string& folder, const std::string& key, const Text& text) {
  GlyphStore store(folder);
  auto strike = store.Open(key);
  for (unsigned long glyph : kGlyphs) store.Add(*strike, glyph, text.Drawn(glyph));
  store.Save();
}

size_t Found(const std::string& folder, const std::string& key) {
  GlyphStore store(folder);
  auto strike = store.Open(key);
  GlyphRaster out;
  size_t found = 0;
  for (unsigned long glyph : kGlyphs) found += store.Find(*strike, glyph, out);
  return found;
}

TEST(GlyphStore, ANewProcessReadsTheDotsCairoDrew) {
  Folder folder;
  Text text("DejaVu Sans 20");
  const std::string key = GlyphStore::StrikeKey(text.Key(), text.Matrix());
  ASSERT_FALSE(text.Key().empty());
  {
    GlyphStore store(folder.path.string());
    GlyphRasters rasters;
    rasters.SetStore(&store);
    for (unsigned long glyph : kGlyphs) {
      ASSERT_NE(rasters.Find(text.cr, text.Matrix(), text.Scaled(), glyph, text.font), nullptr);
    }
    rasters.Save();
  }
  ASSERT_TRUE(fs::exists(folder.File(key)));
  const auto written = fs::last_write_time(folder.File(key));

  GlyphStore store(folder.path.string());
  auto strike = store.Open(key);
  GlyphRasters rasters;
  rasters.SetStore(&store);
  for (unsigned long glyph : kGlyphs) {
    GlyphRaster read;
    ASSERT_TRUE(store.Find(*strike, glyph, read)) << glyph;
    EXPECT_TRUE(Same(read, text.Drawn(glyph))) << glyph;
    const GlyphRaster* found =
        rasters.Find(text.cr, text.Matrix(), text.Scaled(), glyph, text.font);
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(Same(*found, read)) << glyph;
  }
  // Nothing new was drawn: nothing is written.
  rasters.Save();
  EXPECT_EQ(fs::last_write_time(folder.File(key)), written);
}

// The same font asked again, by another font map, names the same key; each
// way the dots could differ names another.
TEST(GlyphStore, KeysDifferInEachPartTheDotsDependOn) {
  Text base("DejaVu Sans 20");
  EXPECT_EQ(Text("DejaVu Sans 20").Key(), base.Key());
  std::set<std::string> keys{base.Key()};
  const struct {
    const char* name;
    std::function<std::string()> key;
  } others[] = {
      {"size", [] { return Text("DejaVu Sans 21").Key(); }},
      {"face", [] { return Text("DejaVu Sans Bold 20").Key(); }},
      {"family", [] { return Text("DejaVu Serif 20").Key(); }},
      {"antialias", [] { return Text("DejaVu Sans 20", CAIRO_ANTIALIAS_NONE).Key(); }},
      {"hinting",
       [] { return Text("DejaVu Sans 20", CAIRO_ANTIALIAS_DEFAULT, CAIRO_HINT_STYLE_FULL).Key(); }},
  };
  for (const auto& other : others) {
    const std::string key = other.key();
    EXPECT_FALSE(key.empty()) << other.name;
    EXPECT_TRUE(keys.insert(key).second) << other.name;
  }
  const cairo_matrix_t plain{1, 0, 0, 1, 0, 0};
  std::set<std::string> strikes;
  for (const cairo_matrix_t& m :
       {plain, cairo_matrix_t{2, 0, 0, 1, 0, 0}, cairo_matrix_t{1, 0.5, 0, 1, 0, 0},
        cairo_matrix_t{1, 0, 0.5, 1, 0, 0}, cairo_matrix_t{1, 0, 0, 2, 0, 0}}) {
    EXPECT_TRUE(strikes.insert(GlyphStore::StrikeKey(base.Key(), m)).second);
  }
  // Where the glyph lands is not part of the strike; a negative zero draws as zero.
  EXPECT_EQ(GlyphStore::StrikeKey(base.Key(), {1, 0, -0.0, 1, 5.5, 7}),
            GlyphStore::StrikeKey(base.Key(), plain));
}

TEST(GlyphStore, FontsThatCannotBeNamedAreNotStored) {
  Text base("DejaVu Sans 20");
  EXPECT_EQ(GlyphStore::FontKey(nullptr, base.Scaled()), "");
  EXPECT_EQ(GlyphStore::FontKey(base.font, nullptr), "");
  // Only a regular face: fontconfig thickens it for bold.
  EXPECT_EQ(Text("DejaVu Math TeX Gyre Bold 20").Key(), "");
}

// A file under the strike's name that holds another key (a hash collision,
// or a file copied in) is a miss.
TEST(GlyphStore, AnotherKeysFileIsAMiss) {
  Folder folder;
  Text text("DejaVu Sans 20");
  Write(folder.path.string(), "strike a", text);
  ASSERT_EQ(Found(folder.path.string(), "strike a"), std::size(kGlyphs));
  fs::copy_file(folder.File("strike a"), folder.File("strike b"));
  EXPECT_EQ(Found(folder.path.string(), "strike b"), 0u);
}

// Every damaged file is a miss, never a crash nor wrong dots: cut short,
// lengthened, a byte changed anywhere, and also sizes that lie under a
// checksum that holds.
TEST(GlyphStore, DamagedFilesAreMisses) {
  Folder folder;
  Text text("DejaVu Sans 20");
  const std::string key = "strike";
  Write(folder.path.string(), key, text);
  const std::string good = Bytes(folder.File(key));
  ASSERT_GT(good.size(), 100u);
  const size_t body = good.size() - 8;
  auto sealed = [](std::string bytes) {
    const uint64_t sum = GlyphStore::Checksum(bytes.data(), bytes.size());
    bytes.append(reinterpret_cast<const char*>(&sum), 8);
    return bytes;
  };
  ASSERT_EQ(sealed(good.substr(0, body)), good);
  // Fields by offset: magic 0, format 8, key size 12, key 16, count, first glyph after.
  const size_t count = 16 + key.size(), first = count + 4;
  auto with32 = [&](size_t at, uint32_t v) {
    std::string bytes = good.substr(0, body);
    std::memcpy(bytes.data() + at, &v, 4);
    return sealed(bytes);
  };
  std::vector<std::pair<std::string, std::string>> damaged = {
      {"empty", ""},
      {"magic only", good.substr(0, 8)},
      {"no checksum", good.substr(0, body)},
      {"one byte short", good.substr(0, good.size() - 1)},
      {"one byte more", good + "x"},
      {"foreign", std::string(good.size(), 'q')},
      {"format", with32(8, 2)},
      {"key size", with32(12, 0xffffffffu)},
      {"count", with32(count, 0xffffffffu)},
      {"count one more", with32(count, std::size(kGlyphs) + 1)},
      {"count one less", with32(count, std::size(kGlyphs) - 1)},
      {"index", with32(first, 1u << 20)},
      {"width", with32(first + 4 + 32 + 1 + 8, 0x7fffffffu)},
      {"height", with32(first + 4 + 32 + 1 + 12, 0x80000000u)},
      {"x of a space", with32(first + 4 + 32 + 1, 1)},
      {"x far", with32(first + 4 + 32 + 1 + 4 * 4 + 4 + 32 + 1, 0x40000000u)},
      // The first glyph is a space (no dots): the second's record follows it.
      {"index twice", with32(first + 4 + 32 + 1 + 4 * 4, kGlyphs[0])},
      {"index out of order", with32(first + 4 + 32 + 1 + 4 * 4, kGlyphs[0] - 1)},
  };
  // Cut short and changed at about a hundred places each, every field among them.
  const size_t step = good.size() / 97 + 1;
  for (size_t at = 0; at < body; at += at < first + 64 ? 1 : step) {
    damaged.emplace_back("cut at " + std::to_string(at), sealed(good.substr(0, at)));
  }
  for (size_t at = 0; at < good.size(); at += step) {
    std::string bytes = good;
    bytes[at] ^= 0x10;
    damaged.emplace_back("byte " + std::to_string(at), bytes);
  }
  for (const auto& [name, bytes] : damaged) {
    Put(folder.File(key), bytes);
    EXPECT_EQ(Found(folder.path.string(), key), 0u) << name;
  }
  // A folder, or a file past the bound, in the file's place.
  fs::remove(folder.File(key));
  fs::create_directory(folder.File(key));
  EXPECT_EQ(Found(folder.path.string(), key), 0u);
  fs::remove(folder.File(key));
  Put(folder.File(key), good);
  GlyphStore small(folder.path.string(), GlyphStore::kMaxFolderBytes, good.size() - 1);
  GlyphRaster out;
  EXPECT_FALSE(small.Find(*small.Open(key), kGlyphs[0], out));
}

// A later run adds glyphs to a strike read from its file: the file then
// holds both, in the order one run writing them all would have written.
TEST(GlyphStore, GlyphsOfTwoRunsMerge) {
  Folder folder;
  Text text("DejaVu Sans 20");
  Write(folder.path.string(), "whole", text);
  const std::string whole = Bytes(folder.File("whole"));
  struct Case {
    const char* name;
    std::function<bool(size_t)> first;  // which of kGlyphs the first run draws
  };
  const Case cases[] = {
      {"alternate", [](size_t i) { return i % 2 == 0; }},
      {"first half", [](size_t i) { return i < std::size(kGlyphs) / 2; }},
      {"last half", [](size_t i) { return i >= std::size(kGlyphs) / 2; }},
      {"none", [](size_t) { return false; }},
  };
  for (const Case& c : cases) {
    const std::string key = std::string("whole");
    fs::remove_all(folder.path);
    for (int run = 0; run < 2; ++run) {
      GlyphStore store(folder.path.string());
      auto strike = store.Open(key);
      for (size_t i = 0; i < std::size(kGlyphs); ++i) {
        if (c.first(i) == (run == 0)) store.Add(*strike, kGlyphs[i], text.Drawn(kGlyphs[i]));
      }
      store.Save();
    }
    EXPECT_EQ(Bytes(folder.File(key)), whole) << c.name;
    GlyphStore store(folder.path.string());
    auto strike = store.Open(key);
    for (unsigned long glyph : kGlyphs) {
      GlyphRaster read;
      EXPECT_TRUE(store.Find(*strike, glyph, read) && Same(read, text.Drawn(glyph)))
          << c.name << " glyph " << glyph;
    }
  }
}

// Writers in several processes (here stores of their own) and render
// threads (one store) write the same strike while others read it: a reader
// sees a whole file or none, never half of one.
TEST(GlyphStore, ConcurrentWritersLeaveWholeFiles) {
  Folder folder;
  Text text("DejaVu Sans 20");
  std::vector<GlyphRaster> drawn;
  for (unsigned long glyph : kGlyphs) drawn.push_back(text.Drawn(glyph));
  const std::string key = "shared strike";
  GlyphStore shared(folder.path.string());
  std::atomic<int> wrongs{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 30; ++round) {
        GlyphStore own(folder.path.string());
        GlyphStore& store = t % 2 == 0 ? own : shared;
        auto strike = store.Open(key);
        const size_t i = (t + round) % drawn.size();
        GlyphRaster read;
        if (store.Find(*strike, kGlyphs[i], read) && !Same(read, drawn[i])) ++wrongs;
        store.Add(*strike, kGlyphs[i], drawn[i]);
        store.Save();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrongs, 0);
  EXPECT_GT(Found(folder.path.string(), key), 0u);
  // No temporary file is left behind.
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(folder.path)) {
    ++files;
    EXPECT_EQ(entry.path().filename().string(), GlyphStore::FileName(key));
  }
  EXPECT_EQ(files, 1u);
}

// A strike takes glyphs while its file stays within its bound; the folder
// keeps the newest strikes within its own.
TEST(GlyphStore, StaysWithinItsBounds) {
  Folder folder;
  Text text("DejaVu Sans 20");
  Write(folder.path.string(), "measure", text);
  const size_t whole = fs::file_size(folder.File("measure"));
  fs::remove_all(folder.path);
  {
    GlyphStore store(folder.path.string(), GlyphStore::kMaxFolderBytes, whole - 1);
    auto strike = store.Open("measure");
    for (unsigned long glyph : kGlyphs) store.Add(*strike, glyph, text.Drawn(glyph));
    store.Save();
  }
  EXPECT_LT(fs::file_size(folder.File("measure")), whole);
  EXPECT_GT(Found(folder.path.string(), "measure"), 0u);
  EXPECT_LT(Found(folder.path.string(), "measure"), std::size(kGlyphs));
  fs::remove_all(folder.path);

  GlyphStore store(folder.path.string(), 3 * whole, GlyphStore::kMaxStrikeBytes);
  for (int i = 0; i < 6; ++i) {
    const std::string key = "strike " + std::to_string(i);
    auto strike = store.Open(key);
    for (unsigned long glyph : kGlyphs) store.Add(*strike, glyph, text.Drawn(glyph));
    store.Save();
    // Older than the next file, whatever the file system's clock grain.
    fs::last_write_time(folder.File(key),
                        fs::file_time_type::clock::now() - std::chrono::hours(10 - i));
    uintmax_t total = 0;
    for (const auto& entry : fs::directory_iterator(folder.path)) total += entry.file_size();
    EXPECT_LE(total, 3 * whole) << i;
    EXPECT_TRUE(fs::exists(folder.File(key))) << i;
  }
  EXPECT_FALSE(fs::exists(folder.File("strike 0")));
}

TEST(GlyphStore, FolderFromTheEnvironment) {
  const struct {
    const char *cache, *xdg, *home, *want;
  } cases[] = {
      {"/tmp/g", "/x", "/h", "/tmp/g"},
      {"", "/x", "/h", ""},  // set but empty: no store
      {nullptr, "/x", "/h", "/x/labelhost/glyphs"},
      {nullptr, "relative", "/h", "/h/.cache/labelhost/glyphs"},
      {nullptr, nullptr, "/h", "/h/.cache/labelhost/glyphs"},
      {nullptr, nullptr, "", ""},
      {nullptr, nullptr, nullptr, ""},
  };
  const char* names[] = {"LABELHOST_GLYPH_CACHE", "XDG_CACHE_HOME", "HOME"};
  std::vector<std::optional<std::string>> saved;
  for (const char* name : names) {
    const char* v = std::getenv(name);
    saved.push_back(v ? std::optional<std::string>(v) : std::nullopt);
  }
  for (const auto& c : cases) {
    const char* values[] = {c.cache, c.xdg, c.home};
    for (int i = 0; i < 3; ++i) {
      if (values[i] != nullptr) {
        ::setenv(names[i], values[i], 1);
      } else {
        ::unsetenv(names[i]);
      }
    }
    EXPECT_EQ(GlyphStore::DefaultFolder(), c.want);
  }
  for (int i = 0; i < 3; ++i) {
    if (saved[i]) {
      ::setenv(names[i], saved[i]->c_str(), 1);
    } else {
      ::unsetenv(names[i]);
    }
  }
}

}  // namespace
}  // namespace vellum
