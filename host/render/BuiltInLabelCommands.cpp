// labelhost config-label, font-label and graphics-label: the printer's own
// labels, built by the session from what this host knows.
#include <algorithm>
#include <filesystem>

#include "host/printer/ConfigurationLabel.h"
#include "host/printer/ExitStatus.h"
#include "host/printer/Printer.h"
#include "host/printer/ProcessEnd.h"
#include "host/render/RenderCommands.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"

namespace host {
namespace {

// The names of the pictures in the store's Graphics folder, sorted.
std::vector<std::wstring> PictureNames() {
  std::vector<std::wstring> names;
  std::error_code ec;
  const std::filesystem::path folder = platform::StoreRoot() / "Graphics";
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError))
      names.push_back(platform::BytesToWide(it->path().filename().string()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::wstring> Wide(const std::vector<std::string>& lines) {
  std::vector<std::wstring> wide;
  for (const std::string& line : lines) wide.push_back(platform::BytesToWide(line));
  return wide;
}

// Opens the printer, prints one built-in label through `print` and reports
// it, with the remark `print` returns ("" for none).
using BuiltInPrint = std::function<std::string(Printer&, CSessionManager&)>;
int RunBuiltInLabel(const HostOptions& options, const char* name, const BuiltInPrint& print) {
  std::unique_ptr<Printer> printer = Printer::OpenForCommand(options);
  if (!printer) return kExitFailure;
  Printer& p = *printer;
  std::string note;
  JobReport report = p.RunBuiltIn(name, [&](CSessionManager& s) { note = print(p, s); });
  if (!note.empty()) report.notes.push_back(note);
  if (std::unique_ptr<ReportWriter> reports = MakeReportWriter(options)) reports->Write(report);
  p.Close();
  const bool failed = p.failed();
  if (failed) PrintError(p.failure());
  LeaveToExit(std::move(printer));
  return failed ? kExitFailure : kExitOk;
}

}  // namespace

int RunConfigLabel(const HostOptions& options) {
  return RunBuiltInLabel(options, "config-label", [](Printer& p, CSessionManager& s) {
    PrintConfigurationLabel(s, ConfigurationLines(p.options(), p.fontNames().size()));
    return std::string();
  });
}

int RunFontLabel(const HostOptions& options) {
  return RunBuiltInLabel(options, "font-label", [](Printer& p, CSessionManager& s) {
    s.PrintFontLabel(Wide(p.fontNames()));
    return std::string();
  });
}

int RunGraphicsLabel(const HostOptions& options) {
  return RunBuiltInLabel(options, "graphics-label", [](Printer&, CSessionManager& s) {
    const std::vector<std::wstring> names = PictureNames();
    s.PrintGraphicsLabel(names);
    // With nothing to list the session prints nothing at all.
    return names.empty() ? "no pictures in " + (platform::StoreRoot() / "Graphics").string()
                         : std::string();
  });
}

}  // namespace host
