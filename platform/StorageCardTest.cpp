#include <gtest/gtest.h>
#include <unistd.h>

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

// Links are followed to where they really lead; only the store root's own
// folders may be reached, whatever the links inside it say.
TEST(StorageCardTest, LinksInTheStoreMayNotLeadOutOfIt) {
  namespace fs = std::filesystem;
  auto previous = StoreRoot();
  const fs::path base =
      fs::temp_directory_path() / ("card-link-test-" + std::to_string(::getpid()));
  fs::remove_all(base);
  const fs::path root = base / "store", outside = base / "outside";
  fs::create_directories(root / "Graphics");
  fs::create_directories(root / "Other");
  fs::create_directories(outside);
  std::ofstream(outside / "secret.png") << "x";
  std::ofstream(root / "Other" / "shared.png") << "x";
  fs::create_symlink(outside / "secret.png", root / "Graphics" / "out.png");
  fs::create_symlink("../../outside/secret.png", root / "Graphics" / "relative.png");
  fs::create_symlink(outside, root / "Graphics" / "outdir");
  fs::create_symlink(outside / "absent.png", root / "Graphics" / "dangling.png");
  // A name that exists exactly is that entry, even when another differs
  // from it only in case.
  fs::create_symlink(outside / "absent.png", root / "Graphics" / "gone.png");
  std::ofstream(root / "Graphics" / "GONE.PNG") << "x";
  fs::create_symlink("loop.png", root / "Graphics" / "loop.png");
  fs::create_symlink("../Other/shared.png", root / "Graphics" / "shared.png");
  fs::create_symlink(root / "Other", root / "Graphics" / "otherdir");
  fs::create_symlink(outside, root / "Logging");
  // A store root reached through a link of its own is still the store.
  fs::create_symlink(root, base / "alias");

  struct Case {
    fs::path storeRoot;
    const wchar_t* path;
    bool reachable;
  } cases[] = {
      {root, L"\\SD\\Store\\Graphics\\out.png", false},
      {root, L"\\SD\\Store\\Graphics\\relative.png", false},
      {root, L"\\SD\\Store\\Graphics\\outdir\\secret.png", false},
      {root, L"\\SD\\Store\\Graphics\\OUTDIR\\new.png", false},
      {root, L"\\SD\\Store\\Graphics\\dangling.png", false},
      {root, L"\\SD\\Store\\Graphics\\gone.png", false},
      {root, L"\\SD\\Store\\Graphics\\loop.png", false},
      {root, L"\\SD\\Store\\Logging\\ZPL_ERROR_LOG.TXT", false},
      {root, L"\\SD\\Store\\Graphics\\shared.png", true},
      {root, L"\\SD\\Store\\Graphics\\otherdir\\shared.png", true},
      {root, L"\\SD\\Store\\Graphics\\absent.png", true},
      {base / "alias", L"\\SD\\Store\\Graphics\\shared.png", true},
      {base / "alias", L"\\SD\\Store\\Graphics\\out.png", false},
  };
  for (const Case& c : cases) {
    SetStoreRoot(c.storeRoot);
    EXPECT_EQ(CardPathToHost(c.path).has_value(), c.reachable)
        << c.storeRoot << " " << fs::path(c.path).string();
  }
  SetStoreRoot(previous);
  fs::remove_all(base);
}

}  // namespace
}  // namespace platform
