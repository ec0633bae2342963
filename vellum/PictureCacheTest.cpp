#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "vellum/PictureCache.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

class PictureCacheTest : public ::testing::Test {
 protected:
  PictureCacheTest() {
    folder_ = fs::temp_directory_path() / ("picture-cache-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  ~PictureCacheTest() override { fs::remove_all(folder_); }

  // A black PNG of `width` x `height` pixels named `name`.
  fs::path Picture(const std::string& name, int width, int height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    const fs::path file = folder_ / name;
    const fs::path part = folder_ / (name + ".part");
    cairo_surface_write_to_png(surface, part.c_str());
    cairo_surface_destroy(surface);
    fs::rename(part, file);  // a new file, as the store writes them
    return file;
  }

  fs::path folder_;
};

TEST_F(PictureCacheTest, TheSameFileIsDecodedOnceAndFreedWithItsLastUser) {
  PictureCache cache(0);
  const fs::path logo = Picture("LOGO.PNG", 40, 20);
  PictureLoad first = cache.Load(logo, kMinPicturePixels);
  PictureLoad second = cache.Load(logo, kMinPicturePixels);
  ASSERT_NE(first.mask, nullptr);
  EXPECT_EQ(first.mask, second.mask);
  EXPECT_EQ(first.mask->width, 40);

  PictureLoad other = cache.Load(Picture("OTHER.PNG", 40, 20), kMinPicturePixels);
  EXPECT_NE(other.mask, first.mask);

  std::weak_ptr<const PictureMask> held = first.mask;
  first.mask.reset();
  second.mask.reset();
  EXPECT_TRUE(held.expired());  // the cache itself holds no picture

  // A file written again under the same name is a new picture.
  Picture("OTHER.PNG", 10, 10);
  EXPECT_EQ(cache.Load(folder_ / "OTHER.PNG", kMinPicturePixels).mask->width, 10);
}

// Pictures of 100 x 100 pixels take 10,000 bytes each.
TEST_F(PictureCacheTest, ALabelHoldsDistinctPicturesUpToItsBudget) {
  struct Case {
    const char* name;
    int64_t budget;
    std::vector<std::string> loads;  // "" starts a new label
    std::string drawn;               // one letter per load: y drawn, n refused
  } cases[] = {
      {"within", 30'000, {"A", "B", "C"}, "yyy"},
      {"one past", 20'000, {"A", "B", "C"}, "yyn"},
      {"a repeat costs nothing", 20'000, {"A", "B", "A", "B", "A"}, "yyyyy"},
      {"refused ones cost nothing", 20'000, {"A", "B", "C", "C", "A"}, "yynny"},
      {"a new label counts afresh",
       20'000,
       {"A", "B", "C", "", "C", "D", "A"},
       "yyn"
       "yyn"},
      {"no budget", 0, {"A", "B", "C", "D"}, "yyyy"},
  };
  for (const char* name : {"A", "B", "C", "D"}) Picture(name, 100, 100);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PictureCache cache(c.budget);
    std::vector<std::shared_ptr<const PictureMask>> label;  // the objects showing them
    std::string drawn;
    for (const std::string& load : c.loads) {
      if (load.empty()) {
        cache.NewLabel();
        label.clear();
        continue;
      }
      PictureLoad result = cache.Load(folder_ / load, kMinPicturePixels);
      drawn += result.mask ? 'y' : 'n';
      EXPECT_EQ(result.overBudget, result.mask == nullptr);
      label.push_back(result.mask);
    }
    EXPECT_EQ(drawn, c.drawn);
    EXPECT_LE(cache.labelBytes(), c.budget == 0 ? INT64_MAX : c.budget);
  }
}

TEST_F(PictureCacheTest, FailuresAreThoseOfTheLoaderAndCostNothing) {
  PictureCache cache(15'000);
  fs::create_directories(folder_ / "DIR.PNG");
  std::ofstream(folder_ / "TEXT.PNG") << "not a picture";
  for (const char* name : {"MISSING.PNG", "DIR.PNG", "TEXT.PNG"}) {
    SCOPED_TRACE(name);
    PictureLoad load = cache.Load(folder_ / name, kMinPicturePixels);
    EXPECT_EQ(load.mask, nullptr);
    EXPECT_FALSE(load.overBudget);
    EXPECT_FALSE(load.failure.empty());
  }
  EXPECT_EQ(cache.Load(Picture("BIG.PNG", 200, 100), 100).failure.substr(0, 17),
            L"picture too large");
  EXPECT_EQ(cache.labelBytes(), 0);
  EXPECT_NE(cache.Load(Picture("FITS.PNG", 100, 100), kMinPicturePixels).mask, nullptr);
}

}  // namespace
}  // namespace vellum
