// Labels rendered on several threads while the session runs the next jobs
// must leave exactly what one thread leaves: the same files under the same
// names with the same bytes, the same reports in the same order, the same
// limits and exit status.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "host/HostTestSupport.h"
#include "host/printer/Printer.h"
#include "host/render/RenderCommands.h"
#include "testing/ScopedStoreRoot.h"

namespace host {
namespace {

using testing::ScratchDir;

struct RunOutput {
  int status = -1;
  std::string reports;
  std::map<std::string, std::string> files;  // name -> bytes
};

RunOutput Render(const ScratchDir& dir, HostOptions options, int threads, const std::string& name) {
  ScopedStoreRoot store("pipeline-test");
  options.command = "render";
  options.store = store.Root().string();
  options.outDir = (dir / name).string();
  options.clock = platform::LocalTime{2026, 12, 7, 8, 15, 0};
  options.renderThreads = threads;
  RunOutput out;
  std::string error;
  std::unique_ptr<Printer> printer = Printer::Open(options, error);
  EXPECT_TRUE(printer) << error;
  if (!printer) return out;
  std::ostringstream reports;
  std::unique_ptr<ReportWriter> writer = MakeReportWriter(ReportFormat::kJson, reports);
  out.status = RenderFiles(*printer, options.inputs, writer.get(), false);
  printer.reset();
  // Reports name the output folder; the runs' folders differ only in name.
  out.reports = reports.str();
  for (size_t at; (at = out.reports.find(name + "/")) != std::string::npos;) {
    out.reports.replace(at, name.size(), "OUT");
  }
  for (const std::string& file : testing::FileNames(dir / name)) {
    std::string bytes = testing::ReadFile(dir / name / file);
    // A PDF says when it was made.
    if (const size_t at = bytes.find("/CreationDate ("); at != std::string::npos) {
      bytes.erase(at, bytes.find(')', at) - at);
    }
    out.files[file] = std::move(bytes);
  }
  return out;
}

// Jobs of one label, of several, with variable data, with script errors,
// with none, and one left open at the end.
std::string Jobs() {
  std::string zpl;
  for (int i = 0; i < 9; ++i) {
    zpl += "^XA^FO40,40^A0N,40,40^FDLabel " + std::to_string(i) + "^FS^FO40,100^BCN,80,Y,N^FD" +
           std::to_string(123456 + i) + "^FS^FO40,240^BQN,2,4^FDQA,parcel " + std::to_string(i) +
           "^FS^XZ\n";
  }
  zpl += "^XA^FO40,40^A0N,30,30^FDCopies^FS^PQ4^XZ\n";
  zpl += "^XA^FO40,40^A0N,30,30^FDSerial ^SN001,1,Y^FS^PQ3^XZ\n";
  zpl += "^XA^FO40,40^XYZ^A0N,30,30^FDWith an error^FS^XZ\n";
  zpl += "^XA^FX nothing printed^XZ\n";
  for (int i = 0; i < 5; ++i) zpl += "^XA^FO40,40^GB300,100,8^FS^PQ2^XZ\n";
  return zpl + "^XA^FO40,40^FDunfinished";
}

TEST(PipelineTest, EveryThreadCountLeavesTheSameFilesReportsAndLimits) {
  ScratchDir dir;
  const std::string input = dir.Write("batch.zpl", Jobs()).string();
  struct Case {
    const char* name;
    OutputFormats formats;
    OutputLimits limits;
  } cases[] = {
      {"png and json", {true, false, true}, {}},
      {"json only", {false, false, true}, {}},
      {"png and pdf", {true, true, false}, {}},
      {"labels per job", {true, false, true}, {2, 0, 0, 0}},
      {"labels per run", {true, false, false}, {0, 0, 14, 0}},
      {"bytes per run", {true, false, true}, {0, 0, 0, 60000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostOptions options;
    options.dpi = 203;
    options.inputs = {input};
    options.formats = c.formats;
    options.limits = c.limits;
    const RunOutput one = Render(dir, options, 1, std::string(c.name) + "-1");
    ASSERT_FALSE(one.files.empty());
    for (int threads : {2, 5}) {
      const RunOutput many =
          Render(dir, options, threads, c.name + ("-" + std::to_string(threads)));
      EXPECT_EQ(many.status, one.status);
      EXPECT_EQ(many.reports, one.reports);
      EXPECT_EQ(many.files.size(), one.files.size());
      EXPECT_TRUE(many.files == one.files) << threads << " threads";
    }
    if (!c.formats.png) {
      for (const auto& [file, bytes] : one.files) EXPECT_EQ(file.find(".png"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace host
