// The barcodes of the examples, read back from the printed PNG by a
// barcode reader (zbarimg), so that what prints is what a scanner sees.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

bool HaveReader() { return std::system("command -v zbarimg >/dev/null 2>&1") == 0; }

TEST(PrintedBarcodeTest, ExampleBarcodesScanAsTheirData) {
  struct Case {
    std::string job;  // under examples/
    std::string expected;
  };
  const Case cases[] = {
      {"zpl/shipping-label.zpl", "PKG0004711"},
      {"zpl/product-label.zpl", "5901234123457"},                   // the check digit added
      {"zpl/product-label.zpl", "https://example.invalid/p/4711"},  // the QR code
      {"tpl/shipping_label.tpl", "PKG-2024-004711"},
  };
  if (!HaveReader()) GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.job);
    ScratchDir dir;
    RunSettings settings;
    settings.workDir = dir.path();
    const RunResult r = RunHost({"render", "--store", "store", "--out", "out", "--report", "json",
                                 (ExamplesDir() / c.job).string()},
                                settings);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    if (r.out.find("no barcode renderer is installed") != std::string::npos) {
      GTEST_SKIP() << "the drawing engine does not draw barcodes yet (no symbology back end); "
                      "nothing to decode in "
                   << c.job;
    }
    const auto pngs = FilesEndingIn(dir / "out", ".png");
    ASSERT_FALSE(pngs.empty());
    const std::string decoded =
        Capture("zbarimg --quiet --raw '" + pngs[0].string() + "' 2>/dev/null");
    EXPECT_NE(decoded.find(c.expected), std::string::npos) << decoded;
  }
}

}  // namespace
}  // namespace host::testing
