// The repository's examples, rendered by the script the README gives users:
// every job prints in its folder's language, every printed label is a 1-bit
// PNG at the resolution its folder's jobs were written for (render.args),
// across the full media width, with ink on it; the report accounts for every
// file written, the full-dialect examples match our expected pictures, and the
// barcodes scan as their data (zbarimg).
#include <gtest/gtest.h>
#include <strings.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

// The example jobs, as "language/name"; pictures and notes are not jobs.
std::set<std::string> ExampleJobs() {
  std::set<std::string> jobs;
  for (const auto& entry : fs::recursive_directory_iterator(ExamplesDir())) {
    const fs::path name = fs::relative(entry.path(), ExamplesDir());
    if (entry.is_regular_file() && *name.begin() != "graphics" && name.extension() != ".md" &&
        name.filename() != "render.args") {
      jobs.insert(name.string());
    }
  }
  return jobs;
}

// The resolution a folder's jobs are written for: its render.args' --dpi, else 300.
int FolderDpi(const std::string& language) {
  for (const std::string& line : SplitLines(ReadFile(ExamplesDir() / language / "render.args"))) {
    if (line.rfind("--dpi ", 0) == 0) return std::stoi(line.substr(6));
  }
  return 300;
}

// Dots inked in one picture with no ink within one dot in the other.
uint64_t Unmatched(const PngInfo& a, const PngInfo& b) {
  uint64_t count = 0;
  const int w = static_cast<int>(a.width), h = static_cast<int>(a.height);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!a.ink[static_cast<size_t>(y) * w + x]) continue;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy) {
        for (int dx = -1; dx <= 1 && !near; ++dx) {
          const int nx = x + dx, ny = y + dy;
          near = nx >= 0 && ny >= 0 && nx < w && ny < h && b.ink[static_cast<size_t>(ny) * w + nx];
        }
      }
      count += near ? 0 : 1;
    }
  }
  return count;
}

// The full-dialect examples print as our expected pictures
// (host/testdata/zpl-full) within a small tolerance, with no script errors,
// and their barcodes scan.
void CheckFullDialectExamples(const std::string& report, const fs::path& out, bool scan) {
  for (const std::string& line : SplitLines(report)) {
    if (line.starts_with("examples/zpl-full/")) {
      EXPECT_NE(line.find(" 0 log lines, 0 script errors, 0 diagnostics"), std::string::npos)
          << line;
    }
  }
  const fs::path expected = fs::path(LABELHOST_SOURCE_DIR) / "host" / "testdata" / "zpl-full";
  const std::vector<std::string> names = FileNames(expected);
  ASSERT_EQ(names.size(), 5u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const PngInfo want = ReadPng(expected / name);
    const PngInfo got = ReadPng(out / name);
    ASSERT_TRUE(want.valid && got.valid);
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    // Within a dot of the expected ink, but for a sliver of it.
    const uint64_t allowed = want.inkDots / 200 + 20;
    EXPECT_LE(Unmatched(got, want), allowed);
    EXPECT_LE(Unmatched(want, got), allowed);
  }

  if (!scan) return;
  const std::pair<std::string, std::string> barcodes[] = {
      {"parcel-carrier-zpl-0001.png", "JJD0001234567890"},
      {"retail-shelf-zpl-0001.png", "5901234123457"},
      {"warehouse-pick-zpl-0002.png", "https://example.invalid/pick/42-3317"},
  };
  for (const auto& [png, data] : barcodes) {
    const std::string read =
        Capture("zbarimg --quiet --raw '" + (out / png).string() + "' 2>/dev/null").first;
    EXPECT_NE(read.find(data), std::string::npos) << png << " read as " << read;
  }
}

// One run of the README's script serves every check of the examples.
TEST(ExamplesTest, TheReadmeScriptPrintsEveryExampleAndItsBarcodesScan) {
  ScratchDir dir;
  const fs::path out = dir / "out";
  const auto [report, status] =
      Capture("LABELHOST='" + std::string(LABELHOST_BINARY) + "' '" + LABELHOST_SOURCE_DIR +
              "/tools/render-examples.sh' '" + out.string() + "' 2>&1");
  ASSERT_EQ(status, 0) << report;
  EXPECT_TRUE(fs::exists(out / "store" / "Graphics" / "PARCEL.PNG"));
  EXPECT_TRUE(fs::is_directory(out / "store" / "Logging"));

  std::set<std::string> jobs;
  size_t filesReported = 0;
  for (const std::string& line : SplitLines(report)) {
    // "examples/zpl/x.zpl: job 1, ZPL, 3 labels, 3 files, ..."
    const size_t colon = line.find(": job ");
    if (line.rfind("examples/", 0) != 0 || colon == std::string::npos) continue;
    const std::string job = line.substr(9, colon - 9);
    std::istringstream counts(line.substr(colon + 6));
    std::string number, language, labels, labelsWord;
    size_t files = 0;
    counts >> number >> language >> labels >> labelsWord >> files;
    jobs.insert(job);
    // The folder is named after its language, a dialect may follow: "zpl-full".
    EXPECT_EQ(strcasecmp(job.substr(0, job.find_first_of("-/")).c_str(),
                         language.substr(0, language.size() - 1).c_str()),
              0)
        << line;
    filesReported += files;
  }
  EXPECT_EQ(jobs, ExampleJobs()) << report;
  const std::vector<std::string> pngs = FileNames(out);  // PNG is the only format asked for
  EXPECT_EQ(pngs.size(), filesReported);
  EXPECT_EQ(FolderDpi("zpl"), 203);             // the ZPL jobs' dots are a 203-dpi printer's
  std::map<std::string, std::string> folderOf;  // "<file>-<language>" -> its folder
  for (const std::string& job : jobs) {
    const fs::path path(job);
    std::string ext = path.extension().string().substr(1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    folderOf[path.stem().string() + "-" + ext] = path.parent_path().string();
  }
  for (const std::string& name : pngs) {
    SCOPED_TRACE(name);
    // "<file>-<language>-NNNN.png"
    const size_t number = name.rfind('-');
    ASSERT_NE(number, std::string::npos);
    ASSERT_TRUE(folderOf.count(name.substr(0, number)));
    const int dpi = FolderDpi(folderOf[name.substr(0, number)]);
    const PngInfo png = ReadPng(out / name);
    ASSERT_TRUE(png.valid);
    EXPECT_EQ(png.bitDepth, 1);
    EXPECT_EQ(png.dpiX, dpi);
    EXPECT_EQ(png.width, static_cast<uint32_t>(4 * dpi));
    EXPECT_GT(png.inkDots, 0u);
  }

  const bool scan = std::system("command -v zbarimg >/dev/null 2>&1") == 0;
  CheckFullDialectExamples(report, out, scan);
  if (!scan) GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  const std::pair<std::string, std::string> barcodes[] = {
      {"shipping-label-zpl-0001.png", "PKG0004711"},
      {"product-label-zpl-0001.png", "5901234123457"},                   // the check digit added
      {"product-label-zpl-0001.png", "https://example.invalid/p/4711"},  // the QR code
      {"shipping_label-tpl-0001.png", "PKG-2024-004711"},
      {"shipping_label-xtpl-0001.png", "PKG-2024-004712"},
      {"price_tag-xtpl-0001.png", "1001"},  // the barcode counts along with the serial number
      {"price_tag-xtpl-0020.png", "1020"},
      {"shipping_label-dpl-0001.png", "DPL-2024-000815"},
      {"price_tag-dpl-0002.png", "5901234123457"},  // the check digit added
      {"shipping-label-jpl-0001.png", "PKG-2025-000815"},
      {"price-tag-jpl-0001.png", "4012345678901"},           // the check digit added
      {"price-tag-jpl-0002.png", "example.invalid/p/4711"},  // the QR code, on the copy too
  };
  for (const auto& [png, data] : barcodes) {
    const std::string read = Capture("zbarimg --quiet --raw '" + (out / png).string() + "'").first;
    EXPECT_NE(read.find(data), std::string::npos) << png << " read as " << read;
  }
}

}  // namespace
}  // namespace host::testing
