#include <gtest/gtest.h>

#include <fstream>

#include "platform/StorageCard.h"

namespace platform {
namespace {

TEST(StorageCardTest, CardPathsStayOnTheCard) {
  struct Case {
    const wchar_t* path;
    const wchar_t* normalised;  // nullptr: outside the card
  } cases[] = {
      {L"\\SD\\Store\\Logging\\TPL_ERROR_LOG.TXT", L"\\SD\\Store\\Logging\\TPL_ERROR_LOG.TXT"},
      {L"\\sd\\store\\Graphics\\a.png", L"\\SD\\Store\\Graphics\\a.png"},
      {L"/SD/Store/Graphics//./b.bmp", L"\\SD\\Store\\Graphics\\b.bmp"},
      {L"\\SD\\Store\\Graphics\\..\\x.txt", L"\\SD\\Store\\x.txt"},
      {L"\\SD\\Store", L"\\SD\\Store"},
      {L"\\SD\\Store\\Graphics\\..\\..\\secret.png", nullptr},
      {L"\\SD\\Store\\..\\Store\\a", nullptr},
      {L"\\SD\\Storage\\a", nullptr},
      {L"SD\\Store\\a", nullptr},
      {L"\\SD\\Store\\Graphics\\C:\\Windows\\x", nullptr},
      {L"", nullptr},
  };
  for (const auto& c : cases) {
    auto n = NormaliseCardPath(c.path);
    if (c.normalised == nullptr) {
      EXPECT_FALSE(n.has_value()) << c.path;
    } else {
      ASSERT_TRUE(n.has_value()) << c.path;
      EXPECT_EQ(*n, c.normalised);
    }
  }
}

TEST(StorageCardTest, FolderMembershipAndHostMapping) {
  const wchar_t* graphics = L"\\SD\\Store\\Graphics";
  EXPECT_TRUE(IsInsideCardFolder(L"\\SD\\Store\\Graphics\\logo.png", graphics));
  EXPECT_TRUE(IsInsideCardFolder(L"\\SD\\Store\\graphics\\sub\\..\\logo.png", graphics));
  EXPECT_FALSE(IsInsideCardFolder(L"\\SD\\Store\\Graphics\\..\\logo.png", graphics));
  EXPECT_FALSE(IsInsideCardFolder(L"\\SD\\Store\\GraphicsX\\logo.png", graphics));

  auto previous = StoreRoot();
  SetStoreRoot("/tmp/card");
  EXPECT_EQ(CardPathToHost(L"\\SD\\Store\\Graphics\\logo.png")->string(),
            "/tmp/card/Graphics/logo.png");
  EXPECT_EQ(CardPathToHost(L"\\SD\\Store")->string(), "/tmp/card");
  EXPECT_FALSE(CardPathToHost(L"\\SD\\Store\\..\\etc\\passwd").has_value());
  SetStoreRoot(previous);
}

TEST(StorageCardTest, NamesMatchExistingFilesWithoutRegardToCase) {
  auto previous = StoreRoot();
  auto root = std::filesystem::temp_directory_path() / "card-case-test";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "Graphics");
  std::ofstream(root / "Graphics" / "logo.png") << "x";
  SetStoreRoot(root);
  EXPECT_EQ(*CardPathToHost(L"\\SD\\Store\\GRAPHICS\\LOGO.PNG"), root / "Graphics" / "logo.png");
  // A name nothing matches keeps its spelling, so it can be created.
  EXPECT_EQ(*CardPathToHost(L"\\SD\\Store\\Graphics\\New.png"), root / "Graphics" / "New.png");
  SetStoreRoot(previous);
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace platform
