// "^ID" deletes stored objects by name and wildcard, and nothing outside the
// store's Graphics and Formats folders: no path escapes, no links followed.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "parsers/zpl/ZPLStore.h"
#include "testing/ScopedStoreRoot.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class ZPLStoreDeleteTest : public ::testing::Test {
 protected:
  void Put(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
  }
  void Fill() {
    fs::remove_all(root_);
    for (const char* name :
         {"LOGO.GRF", "LOGO2.GRF", "LPRINT.GRF", "GF0123456789ABCDEF.PNG", "PARCEL.PNG"}) {
      Put(root_ / "Graphics" / name);
    }
    Put(root_ / "Formats" / "SHIP.ZPL");
    Put(root_ / "Logging" / "ZPL_ERROR_LOG.TXT");
  }
  Names Left() const {
    Names names;
    for (const char* folder : {"Graphics", "Formats", "Logging"}) {
      std::error_code ec;
      for (const auto& entry : fs::directory_iterator(root_ / folder, ec)) {
        names.push_back(std::string(folder) + "/" + entry.path().filename().string());
      }
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  ScopedStoreRoot store_{"zpl-delete-tests"};
  const fs::path& root_ = store_.Root();
};

TEST_F(ZPLStoreDeleteTest, NamesAndWildcardsDeleteTheObjectsTheyMatch) {
  const Names all = {"Formats/SHIP.ZPL",         "Graphics/GF0123456789ABCDEF.PNG",
                     "Graphics/LOGO.GRF",        "Graphics/LOGO2.GRF",
                     "Graphics/LPRINT.GRF",      "Graphics/PARCEL.PNG",
                     "Logging/ZPL_ERROR_LOG.TXT"};
  auto without = [&all](Names gone) {
    Names left;
    for (const std::string& name : all) {
      if (std::find(gone.begin(), gone.end(), name) == gone.end()) left.push_back(name);
    }
    return left;
  };
  const struct {
    const wchar_t* object;
    size_t deleted;
    Names gone;
  } cases[] = {
      {L"R:LPRINT.GRF", 1, {"Graphics/LPRINT.GRF"}},
      {L"r:lprint.grf", 1, {"Graphics/LPRINT.GRF"}},
      {L"LPRINT", 1, {"Graphics/LPRINT.GRF"}},  // no extension: a graphic
      {L"R:LOGO?.GRF", 1, {"Graphics/LOGO2.GRF"}},
      {L"R:LOGO*.GRF", 2, {"Graphics/LOGO.GRF", "Graphics/LOGO2.GRF"}},
      {L"R:*.GRF", 3, {"Graphics/LOGO.GRF", "Graphics/LOGO2.GRF", "Graphics/LPRINT.GRF"}},
      {L"E:SHIP.ZPL", 1, {"Formats/SHIP.ZPL"}},
      {L"R:GF*.PNG", 1, {"Graphics/GF0123456789ABCDEF.PNG"}},
      {L"R:*.*",
       6,
       {"Formats/SHIP.ZPL", "Graphics/GF0123456789ABCDEF.PNG", "Graphics/LOGO.GRF",
        "Graphics/LOGO2.GRF", "Graphics/LPRINT.GRF", "Graphics/PARCEL.PNG"}},
      {L"R:MISSING.GRF", 0, {}},
      {L"R:*LOG*.TXT", 0, {}},  // the error logs are no stored objects
  };
  for (const auto& c : cases) {
    Fill();
    const std::optional<size_t> deleted = DeleteZplObjects(c.object);
    ASSERT_TRUE(deleted.has_value()) << c.object;
    EXPECT_EQ(*deleted, c.deleted) << c.object;
    EXPECT_EQ(Left(), without(c.gone)) << c.object;
  }
}

TEST_F(ZPLStoreDeleteTest, NothingOutsideTheFoldersIsReached) {
  const fs::path outside = root_.parent_path() / (root_.filename().string() + "-outside");
  fs::remove_all(outside);
  Put(outside / "SECRET.GRF");
  // Names that would leave the folder are refused whole.
  for (const wchar_t* object : {L"R:../SECRET.GRF", L"R:..\\*.GRF", L"R:/tmp/*.GRF", L"R:A B.GRF",
                                L"R:SEVENTEENCHARSXXX.GRF", L"R:LOGO.GRAF", L"R:.GRF"}) {
    Fill();
    EXPECT_FALSE(DeleteZplObjects(object).has_value()) << object;
    EXPECT_EQ(Left().size(), 7u) << object;
  }
  // A link in the folder is neither followed nor removed.
  Fill();
  fs::create_symlink(outside / "SECRET.GRF", root_ / "Graphics" / "LINK.GRF");
  EXPECT_EQ(DeleteZplObjects(L"R:*.GRF"), std::optional<size_t>(3));
  EXPECT_TRUE(fs::exists(outside / "SECRET.GRF"));
  EXPECT_TRUE(fs::is_symlink(root_ / "Graphics" / "LINK.GRF"));
  // A Graphics folder that is a link out of the store is not searched.
  fs::remove_all(root_ / "Graphics");
  fs::create_directory_symlink(outside, root_ / "Graphics");
  EXPECT_EQ(DeleteZplObjects(L"R:*.GRF"), std::optional<size_t>(0));
  EXPECT_TRUE(fs::exists(outside / "SECRET.GRF"));
  fs::remove(root_ / "Graphics");
  fs::remove_all(outside);
}

}  // namespace
