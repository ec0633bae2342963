// A face taken from its folder's scan must be the face read from its file:
// the same pattern to the last property, so that the text library prints
// alike. Where the scan cannot answer (none, stale, several faces in the
// file) the file is read as before, and what that refuses stays refused.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "vellum/FaceFiles.h"
#include "vellum/SystemFonts.h"
#include "vellum/VellumTestSupport.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

// The file the system's configuration prints `family` from.
std::string SystemFile(const char* family) {
  return testing::MatchedFile(SystemFonts::Process().Load(),
                              FcNameParse(reinterpret_cast<const FcChar8*>(family)));
}

// The face's pattern, as fontconfig writes it out.
std::string Unparsed(const FaceFile& face) {
  FcFontSet* fonts = FcConfigGetFonts(face.config(), FcSetApplication);
  if (fonts == nullptr || fonts->nfont != 1) return "";
  FcChar8* text = FcNameUnparse(fonts->fonts[0]);
  std::string out = reinterpret_cast<const char*>(text);
  FcStrFree(text);
  return out;
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Append32(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

uint32_t Read32(const std::string& in, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(in[at + i]);
  return value;
}

// A collection of `fonts` (TrueType files): each font's own table directory,
// its offsets moved to where its file lands in the collection.
std::string Collection(const std::vector<std::string>& fonts) {
  std::string directories, bodies;
  const size_t head = 12 + 4 * fonts.size();
  size_t directoryBytes = 0;
  for (const std::string& font : fonts) directoryBytes += 12 + 16 * (Read32(font, 4) >> 16);
  std::string out = "ttcf";
  Append32(out, 0x00010000);
  Append32(out, static_cast<uint32_t>(fonts.size()));
  for (const std::string& font : fonts) {
    Append32(out, static_cast<uint32_t>(head + directories.size()));
    const size_t tables = Read32(font, 4) >> 16;
    const size_t body = head + directoryBytes + bodies.size();
    std::string directory = font.substr(0, 12);
    for (size_t i = 0; i < tables; ++i) {
      const size_t record = 12 + 16 * i;
      directory += font.substr(record, 8);
      Append32(directory, static_cast<uint32_t>(Read32(font, record + 8) + body));
      directory += font.substr(record + 12, 4);
    }
    directories += directory;
    bodies += font;
    bodies.resize((bodies.size() + 3) / 4 * 4, '\0');
  }
  return out + directories + bodies;
}

// A font folder of our own and a folder for fontconfig's scans of it.
struct Fonts {
  Fonts() : root(fs::temp_directory_path() / ("face-scan-" + std::to_string(::getpid()))) {
    fs::remove_all(root);
    fs::create_directories(root / "fonts");
    fs::create_directories(root / "cache");
  }
  ~Fonts() { fs::remove_all(root); }
  std::string Put(const std::string& name, const std::string& bytes) const {
    const fs::path path = root / "fonts" / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  // Scans the folder as fc-cache does, into the cache folder. The folder's
  // time is put an hour back first, so that any file added later moves it.
  void Scan() const {
    fs::last_write_time(root / "fonts", fs::file_time_type::clock::now() - std::chrono::hours(1));
    FcConfig* config = FcConfigCreate();
    const std::string xml = "<fontconfig><cachedir>" + cache() + "</cachedir></fontconfig>";
    ASSERT_TRUE(
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), 1));
    const std::string folder = (root / "fonts").string();
    FcCache* scan = FcDirCacheRead(reinterpret_cast<const FcChar8*>(folder.c_str()), 1, config);
    ASSERT_NE(scan, nullptr);
    FcDirCacheUnload(scan);
    FcConfigDestroy(config);
    ASSERT_FALSE(fs::is_empty(root / "cache"));
  }
  std::string cache() const { return (root / "cache").string(); }
  fs::path root;
};

TEST(FaceFileScan, TakesTheFaceFromAValidScanOnly) {
  const std::string sans = Bytes(SystemFile("DejaVu Sans"));
  const std::string bold = Bytes(SystemFile("DejaVu Sans:bold"));
  ASSERT_FALSE(sans.empty());
  ASSERT_FALSE(bold.empty());
  struct Row {
    const char* name;
    bool scanned;       // the folder's scan is made
    bool addAfterScan;  // a file added afterwards makes it stale
    bool collection;    // the file holds two faces
    int index;
    bool cacheDirs;  // the cache folders are known
    bool made;       // a configuration with the face
    bool fromScan;
  };
  const Row rows[] = {
      {"ValidScan", true, false, false, 0, true, true, true},
      {"NoScan", false, false, false, 0, true, true, false},
      {"StaleScan", true, true, false, 0, true, true, false},
      {"NoCacheFolders", true, false, false, 0, false, true, false},
      {"OtherIndex", true, false, false, 1, true, false, false},
      {"CollectionScanned", true, false, true, 0, true, false, false},
      {"CollectionNotScanned", false, false, true, 1, true, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Fonts fonts;
    // A neighbour and one in a sub-folder, which the face's configuration
    // must leave out.
    fonts.Put("Neighbour.ttf", bold);
    fonts.Put("sub/Below.ttf", bold);
    const std::string file =
        fonts.Put("Face.ttf", row.collection ? Collection({sans, bold}) : sans);
    if (row.scanned) fonts.Scan();
    if (row.addAfterScan) fonts.Put("Late.ttf", bold);
    const std::vector<std::string> dirs =
        row.cacheDirs ? std::vector<std::string>{"/nonexistent/cache", fonts.cache()}
                      : std::vector<std::string>{};
    const FaceFile face(file, row.index, dirs);
    EXPECT_EQ(face.config() != nullptr, row.made);
    EXPECT_EQ(face.fromScan(), row.fromScan);
    if (face.config() == nullptr) continue;
    const FaceFile read(file, row.index);
    ASSERT_NE(read.config(), nullptr);
    EXPECT_FALSE(read.fromScan());
    EXPECT_EQ(Unparsed(face), Unparsed(read));
    FcCharSet* charset = nullptr;
    FcFontSet* set = FcConfigGetFonts(read.config(), FcSetApplication);
    ASSERT_EQ(FcPatternGetCharSet(set->fonts[0], FC_CHARSET, 0, &charset), FcResultMatch);
    EXPECT_TRUE(face.SameCharacters(charset));
    EXPECT_TRUE(face.Covers("Hello 0123"));
  }
}

// The system's own scans, through the cache folders the process keeps.
TEST(FaceFileScan, SystemFacesFromTheirScansAreTheFacesOfTheirFiles) {
  SystemFonts::Process().Load();
  const std::vector<std::string> dirs = SystemFonts::Process().CacheDirs();
  ASSERT_FALSE(dirs.empty());
  for (const char* family :
       {"Liberation Sans", "Liberation Sans:bold", "Liberation Serif:bold:italic",
        "Liberation Mono", "DejaVu Sans", "DejaVu Sans Mono:bold", "Liberation Sans Narrow"}) {
    SCOPED_TRACE(family);
    const std::string file = SystemFile(family);
    const FaceFile scanned(file, 0, dirs);
    const FaceFile read(file, 0);
    ASSERT_NE(scanned.config(), nullptr);
    ASSERT_NE(read.config(), nullptr);
    const std::string folder = fs::path(file).parent_path().string();
    if (FcDirCacheValid(reinterpret_cast<const FcChar8*>(folder.c_str()))) {
      EXPECT_TRUE(scanned.fromScan());
    }
    EXPECT_EQ(Unparsed(scanned), Unparsed(read));
  }
}

}  // namespace
}  // namespace vellum
