// A catalog read back must say what was written, and must refuse itself as
// soon as anything it was made from changed: a stale catalog would print
// with a font the configuration no longer picks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "vellum/FontCatalog.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

struct Folder {
  Folder() : path(fs::temp_directory_path() / ("font-catalog-" + std::to_string(::getpid()))) {
    fs::remove_all(path);
    fs::create_directories(path / "conf.d");
    Put("fonts.conf", "<fontconfig/>");
    // Long ago, so that any change made by a test moves a time.
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
    fs::last_write_time(path / "fonts.conf", past);
    fs::last_write_time(path / "conf.d", past);
  }
  ~Folder() { fs::remove_all(path); }
  void Put(const std::string& name, const std::string& text) const {
    std::ofstream(path / name) << text;
  }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
  fs::path path;
};

FontCatalog Made(const Folder& folder) {
  FontCatalog catalog;
  catalog.SetKey("fontconfig 21401 lang en");
  catalog.Watch(folder / "fonts.conf");
  catalog.Watch(folder / "conf.d");
  catalog.Watch(folder / "user.conf");  // missing
  catalog.AddFamily("DejaVu Sans", true);
  catalog.AddFamily("Liberation Sans", true);
  catalog.AddFamily("Liberation Sans Narrow", false);
  catalog.AddFace({"Liberation Sans", true, false}, {"/fonts/LiberationSans-Bold.ttf", 0});
  catalog.AddFace({"Some Face", false, true}, {});
  catalog.AddCacheDir("/var/cache/fontconfig");
  catalog.AddCacheDir("/home/someone/.cache/fontconfig");
  return catalog;
}

TEST(FontCatalog, ReadsBackWhatItWrote) {
  Folder folder;
  ASSERT_TRUE(Made(folder).Write(folder / "cache/catalog"));
  FontCatalog read;
  ASSERT_TRUE(read.Read(folder / "cache/catalog", "fontconfig 21401 lang en"));
  EXPECT_EQ(read.FirstFamilies(), (std::vector<std::string>{"DejaVu Sans", "Liberation Sans"}));
  EXPECT_EQ(read.watched(), 3u);
  struct Row {
    const char* name;
    bool has;
  };
  const Row names[] = {{"Liberation Sans", true},   {"liberation sans", true},
                       {"LIBERATIONSANS", true},    {"Liberation Sans Narrow", true},
                       {"Liberation Serif", false}, {"", false}};
  for (const Row& row : names) EXPECT_EQ(read.HasFamily(row.name), row.has) << row.name;
  const FontCatalog::Face* bold = read.FindFace({"Liberation Sans", true, false});
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(bold->file, "/fonts/LiberationSans-Bold.ttf");
  const FontCatalog::Face* none = read.FindFace({"Some Face", false, true});
  ASSERT_NE(none, nullptr);
  EXPECT_TRUE(none->file.empty());
  EXPECT_EQ(read.FindFace({"Liberation Sans", false, false}), nullptr);
  EXPECT_EQ(read.cacheDirs(),
            (std::vector<std::string>{"/var/cache/fontconfig", "/home/someone/.cache/fontconfig"}));
}

// Measurements are kept per face and resolution, each with its lanes.
TEST(FontCatalog, ReadsBackMeasurementsPerFaceAndResolution) {
  struct Row {
    FaceKey face;
    int dpi;
    FontCatalog::Metrics metrics;
  };
  const Row rows[] = {
      {{"Liberation Sans", false, false}, 203, {210471, 183687, true, true}},
      {{"Liberation Sans", false, false}, 300, {311042, 271459, true, true}},
      {{"Liberation Sans", true, false}, 300, {311042, 256875, true, false}},
      {{"Roboto Condensed", true, true}, 600, {606668, 431668, false, true}},
      {{"Some Face", false, true}, 300, {0, -5, false, false}},
  };
  Folder folder;
  FontCatalog made = Made(folder);
  for (const Row& row : rows) made.AddMetrics(row.face, row.dpi, row.metrics);
  ASSERT_TRUE(made.Write(folder / "catalog"));
  FontCatalog read;
  ASSERT_TRUE(read.Read(folder / "catalog", "fontconfig 21401 lang en"));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.face.family + " " + std::to_string(row.dpi));
    const FontCatalog::Metrics* metrics = read.FindMetrics(row.face, row.dpi);
    ASSERT_NE(metrics, nullptr);
    EXPECT_EQ(*metrics, row.metrics);
  }
  // Another resolution, another face: not measured.
  EXPECT_EQ(read.FindMetrics({"Liberation Sans", false, false}, 600), nullptr);
  EXPECT_EQ(read.FindMetrics({"Liberation Serif", false, false}, 300), nullptr);
}

TEST(FontCatalog, RefusesItselfWhenWhatItWatchesChanged) {
  struct Row {
    const char* name;
    std::function<void(const Folder&)> change;
    std::string key = "fontconfig 21401 lang en";
  };
  const Row rows[] = {
      {"Unchanged", [](const Folder&) {}},
      {"ConfigurationEdited",
       [](const Folder& f) { f.Put("fonts.conf", "<fontconfig> </fontconfig>"); }},
      {"FileAddedToAFolder", [](const Folder& f) { f.Put("conf.d/10-new.conf", "<fontconfig/>"); }},
      {"MissingFileAppeared", [](const Folder& f) { f.Put("user.conf", "<fontconfig/>"); }},
      {"WatchedFileRemoved", [](const Folder& f) { fs::remove(f.path / "fonts.conf"); }},
      {"OtherLanguage", [](const Folder&) {}, "fontconfig 21401 lang de"},
      {"OtherVersion", [](const Folder&) {}, "fontconfig 21500 lang en"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Folder folder;
    ASSERT_TRUE(Made(folder).Write(folder / "catalog"));
    row.change(folder);
    FontCatalog read;
    const bool fresh = std::string(row.name) == "Unchanged";
    EXPECT_EQ(read.Read(folder / "catalog", row.key), fresh);
    EXPECT_EQ(read.FirstFamilies().empty(), !fresh);
  }
}

TEST(FontCatalog, RefusesMalformedMeasurements) {
  const std::string head = "labelhost font catalog 2\nkey\tfontconfig 21401 lang en\n";
  const char* lines[] = {
      "metrics\t--\tLiberation Sans\t300\tff\t311042",             // a field short
      "metrics\t--\tLiberation Sans\t300\tff\t311042\t271459\t1",  // a field over
      "metrics\t--\tLiberation Sans\t0\tff\t311042\t271459",       // no resolution
      "metrics\t--\tLiberation Sans\t-300\tff\t311042\t271459",
      "metrics\t--\tLiberation Sans\t300dpi\tff\t311042\t271459",
      "metrics\t--\tLiberation Sans\t300\tfx\t311042\t271459",  // no such lane
      "metrics\t--\tLiberation Sans\t300\tf\t311042\t271459",
      "metrics\t--\tLiberation Sans\t300\tff\t3.5\t271459",
      "metrics\t--\tLiberation Sans\t300\tff\t311042\t",
      "metrics\t--\tLiberation Sans\t300\tff\t99999999999\t271459",  // past an int
      "metrics\t-\tLiberation Sans\t300\tff\t311042\t271459",
  };
  Folder folder;
  folder.Put("catalog", head + "metrics\t--\tLiberation Sans\t300\tff\t311042\t271459\n");
  FontCatalog good;
  ASSERT_TRUE(good.Read(folder / "catalog", "fontconfig 21401 lang en"));
  for (const char* line : lines) {
    folder.Put("catalog", head + line + "\n");
    FontCatalog read;
    EXPECT_FALSE(read.Read(folder / "catalog", "fontconfig 21401 lang en")) << line;
    EXPECT_EQ(read.FindMetrics({"Liberation Sans", false, false}, 300), nullptr);
  }
}

TEST(FontCatalog, RefusesFilesItDidNotWrite) {
  Folder folder;
  const char* texts[] = {
      "",
      "labelhost font catalog 2\n",
      "labelhost font catalog 0\nkey\tfontconfig 21401 lang en\n",
      "labelhost font catalog 2\nkey\tfontconfig 21401 lang en\nwatch\tnow\t0\t/etc\n",
      "labelhost font catalog 2\nkey\tfontconfig 21401 lang en\nface\tbi\n",
      // Version 1 had no cache folders: one must not stand for a configuration.
      "labelhost font catalog 1\nkey\tfontconfig 21401 lang en\n",
      "labelhost font catalog 2\nkey\tfontconfig 21401 lang en",  // cut short
      "labelhost font catalog 2\nkey\tfontconfig 21401 lang en\ncachedir\n",
  };
  for (const char* text : texts) {
    folder.Put("catalog", text);
    FontCatalog read;
    EXPECT_FALSE(read.Read(folder / "catalog", "fontconfig 21401 lang en")) << text;
  }
  FontCatalog read;
  EXPECT_FALSE(read.Read(folder / "no-such-catalog", "fontconfig 21401 lang en"));
}

}  // namespace
}  // namespace vellum
