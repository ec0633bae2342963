// What the process learns from its catalog must be what the system's font
// configuration itself answers: the family list the host hands the session
// and whether a family is installed.
#include <gtest/gtest.h>

#include <set>

#include "vellum/SystemFonts.h"

namespace vellum {
namespace {

bool ListsFamily(FcConfig* config, const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(config, pattern, objects);
  const bool found = fonts != nullptr && fonts->nfont > 0;
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

TEST(SystemFonts, AnswersAsTheConfigurationDoes) {
  SystemFonts& fonts = SystemFonts::Process();
  FcConfig* config = fonts.Load();
  ASSERT_NE(config, nullptr);
  EXPECT_TRUE(fonts.Describes(config));

  std::set<std::string> firstNames;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* all = FcFontList(config, pattern, objects);
  for (int i = 0; all != nullptr && i < all->nfont; ++i) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(all->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch) {
      firstNames.insert(reinterpret_cast<const char*>(family));
    }
  }
  if (all != nullptr) FcFontSetDestroy(all);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  EXPECT_EQ(fonts.FamilyNames(), std::vector<std::string>(firstNames.begin(), firstNames.end()));

  const char* names[] = {
      "Liberation Sans",  "liberation sans", "LIBERATION SANS NARROW", "LiberationSans",
      "Liberation  Sans", "DejaVu Sans",     "Liberation Sanz",        "Arial",
      "Helvetica"};
  for (const char* name : names) {
    EXPECT_EQ(fonts.HasFamily(name), ListsFamily(config, name)) << name;
  }

  std::vector<std::string> cacheDirs;
  FcStrList* dirs = FcConfigGetCacheDirs(config);
  while (FcChar8* dir = FcStrListNext(dirs)) cacheDirs.push_back(reinterpret_cast<char*>(dir));
  FcStrListDone(dirs);
  EXPECT_EQ(fonts.CacheDirs(), cacheDirs);
}

}  // namespace
}  // namespace vellum
