// A real client of the render interface, from the npm registry, against
// labelhost: the client calls the online viewer's host name on port 80, so
// the test runs it and the server in a mount and network namespace of its
// own (unshare), with a hosts file bind-mounted over /etc/hosts that points
// the name at 127.0.0.1. The machine's own hosts file and ports are never
// touched. Its pictures must be those `render` draws for the same media.
//
// tools/install-deps.sh installs the client into tools/render-client. The
// test is skipped, saying so, only when npm itself is missing; a missing
// client with npm present fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/HostTestSupport.h"

namespace host::testing {
namespace {

namespace fs = std::filesystem;

// Runs the server and the client's `run` for each format; leaves
// client.png, client.pdf and the server's output in the folder.
constexpr char kScript[] = R"SH(set -e
cd "$1"
client="$2"
labelhost="$3"
host=$(sed -n 's|.*http://\([^/$]*\)/v1/printers.*|\1|p' "$client/lib/labelary.js" | head -n 1)
test -n "$host"
printf '127.0.0.1 localhost\n127.0.0.1 %s\n' "$host" > hosts
mount --bind hosts /etc/hosts
ip link set lo up
"$labelhost" serve --port off --http 80 --bind 127.0.0.1 --store store --out out \
  > server.out 2> server.err &
server=$!
for i in $(seq 100); do grep -q listening server.err && break; sleep 0.1; done
for format in PNG PDF; do
  index=Single-page; [ $format = PDF ] && index=Multi-page
  node -e "require(process.argv[1]).run({format: '$format', index: '$index', size: '4x6',
    density: '8dpmm', zpl_filename: 'job.zpl', new_label_filename: 'client'})" \
    "$client/lib/labelary.js" > client-$format.txt 2>&1
done
kill $server
wait $server || true
)SH";

TEST(RenderClientTest, TheNpmClientGetsTheLabelRenderDraws) {
  if (Capture("command -v npm").second != 0)
    GTEST_SKIP() << "npm is not installed: the render interface's npm client was NOT tested";
  const fs::path client =
      fs::path(LABELHOST_SOURCE_DIR) / "tools/render-client/node_modules/labelary";
  ASSERT_TRUE(fs::exists(client / "lib/labelary.js"))
      << "the client is missing from " << client << ": run tools/install-deps.sh";
  if (Capture("unshare -m -n true").second != 0)
    GTEST_SKIP() << "no mount and network namespace for the client (not root?): NOT tested";

  ScratchDir dir;
  const std::string job = ReadFile(ExamplesDir() / "zpl/shipping-label.zpl");
  ASSERT_FALSE(job.empty());
  dir.Write("job.zpl", job);
  const fs::path script = dir.Write("client.sh", kScript);
  const auto [out, status] =
      Capture("unshare -m -n sh " + script.string() + " " + dir.path().string() + " " +
              client.string() + " " + LABELHOST_BINARY + " 2>&1");
  ASSERT_EQ(status, 0) << out << ReadFile(dir / "server.err");
  EXPECT_EQ(ReadFile(dir / "client-PNG.txt"), "client.png generated!\n")
      << ReadFile(dir / "server.err");
  EXPECT_EQ(ReadFile(dir / "client-PDF.txt"), "client.pdf generated!\n");
  EXPECT_TRUE(FileNames(dir / "out").empty()) << "a preview writes no label file";

  const RunResult run = RunIn(dir, "render",
                              {"--dpmm", "8", "--media", "4x6in", "--zpl", "full", "--out",
                               "rendered", (dir / "job.zpl").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadFile(dir / "client.png"), ReadFile(dir / "rendered/job-zpl-0001.png"));
  const std::string pdf = ReadFile(dir / "client.pdf");
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 288 432 ]"), std::string::npos) << "4 x 6 inches";
}

}  // namespace
}  // namespace host::testing
