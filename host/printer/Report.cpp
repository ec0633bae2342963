#include "host/printer/Report.h"

#include <iostream>

#include "host/printer/ReportText.h"
#include "intake/Languages.h"

namespace host {
namespace {

std::string Plural(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Job text as a terminal should see it.
std::string Shown(const std::string& text) { return EscapeForTerminal(Shorten(text)); }

// Human-readable: a summary line, then one indented line per detail.
class TextReportWriter : public ReportWriter {
 public:
  explicit TextReportWriter(std::ostream& out) : out_(out) {}

  void Write(const JobReport& r) override {
    out_ << Shown(r.source) << ": ";
    if (r.jobNumber == 0) {
      out_ << "no job\n";
    } else {
      out_ << "job " << r.jobNumber << ", " << r.language << ", "
           << Plural(static_cast<size_t>(r.labelsPrinted), "label", "labels") << ", "
           << Plural(r.files.size(), "file", "files") << ", "
           << Plural(r.logLines.size(), "log line", "log lines") << ", "
           << Plural(r.scriptErrors.size() + static_cast<size_t>(r.scriptErrorsUnlisted),
                     "script error", "script errors")
           << ", " << Plural(r.diagnostics.size(), "diagnostic", "diagnostics") << "\n";
    }
    WriteFiles(r.files);
    for (const std::string& why : r.refusals) out_ << "  not printed: " << Shown(why) << "\n";
    for (const ScriptError& e : r.scriptErrors) {
      WritePlace(r.source, e.line, e.column);
      out_ << "script error";
      if (!e.logFile.empty()) out_ << " (" << Shown(e.logFile) << ")";
      out_ << ": " << Shown(e.message) << "\n";
    }
    for (const LogLine& line : r.logLines) {
      WritePlace(r.source, line.at.line, line.at.column);
      out_ << "log " << Shown(line.file) << ": " << Shown(line.text) << "\n";
    }
    for (const EngineDiagnostic& d : r.diagnostics) {
      out_ << "  engine: ";
      if (d.objectId != 0) out_ << "object " << d.objectId << ": ";
      out_ << Shown(d.message) << "\n";
    }
    for (const Warning& w : r.warnings) {
      WritePlace(r.source, w.line, w.column);
      out_ << "warning: " << Shown(w.message) << "\n";
    }
    for (const std::string& note : r.notes) out_ << "  note: " << Shown(note) << "\n";
    out_.flush();
  }

 private:
  // A line about a place in the source starts with it, as compilers write
  // it ("label.zpl:12:5: "), so that editors and terminals can jump there;
  // other detail lines are indented.
  void WritePlace(const std::string& source, int line, int column) {
    if (line <= 0) {
      out_ << "  ";
      return;
    }
    out_ << Shown(source) << ':' << line << ':' << column << ": ";
  }

  // A long run of numbered files is shown by its first and last name.
  void WriteFiles(const std::vector<std::string>& files) {
    constexpr size_t kListed = 4;
    if (files.size() <= kListed) {
      for (const std::string& file : files) out_ << "  wrote " << Shown(file) << "\n";
      return;
    }
    out_ << "  wrote " << Shown(files.front()) << " ... " << Shown(files.back()) << " ("
         << files.size() << " files)\n";
  }

  std::ostream& out_;
};

std::string Quote(const std::string& text) { return "\"" + EscapeForJson(Shorten(text)) + "\""; }

std::string StringArray(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ',';
    out += Quote(items[i]);
  }
  return out + "]";
}

// A log line's place: the "line" of a log entry is its text.
std::string Place(const SourceSpan& at) {
  if (!at.known()) return "null";
  return "{\"line\":" + std::to_string(at.line) + ",\"column\":" + std::to_string(at.column) +
         ",\"offset\":" + std::to_string(at.offset) + ",\"length\":" + std::to_string(at.length) +
         "}";
}

std::string ScriptErrors(const std::vector<ScriptError>& errors) {
  std::string out = "[";
  for (size_t i = 0; i < errors.size(); ++i) {
    const ScriptError& e = errors[i];
    out += (i ? ",{" : "{") + std::string("\"message\":") + Quote(e.message) +
           ",\"log\":" + (e.logFile.empty() ? "null" : Quote(e.logFile)) +
           ",\"line\":" + std::to_string(e.line) + ",\"column\":" + std::to_string(e.column) +
           ",\"offset\":" + std::to_string(e.offset) + ",\"length\":" + std::to_string(e.length) +
           "}";
  }
  return out + "]";
}

// One JSON object per job and line, so long runs can be read as they go.
class JsonReportWriter : public ReportWriter {
 public:
  explicit JsonReportWriter(std::ostream& out) : out_(out) {}

  void Write(const JobReport& r) override {
    std::string line =
        "{\"source\":" + Quote(r.source) + ",\"job\":" + std::to_string(r.jobNumber) +
        ",\"language\":" + Quote(r.language) +
        ",\"prints_requested\":" + std::to_string(r.printsRequested) +
        ",\"prints_refused\":" + std::to_string(r.printsRefused) +
        ",\"refusals\":" + StringArray(r.refusals) +
        ",\"labels\":" + std::to_string(r.labelsPrinted) + ",\"files\":" + StringArray(r.files) +
        ",\"script_errors\":" + ScriptErrors(r.scriptErrors) + ",\"log\":[";
    for (size_t i = 0; i < r.logLines.size(); ++i) {
      line += i > 0 ? ",{" : "{";
      line += "\"file\":" + Quote(r.logLines[i].file) + ",\"line\":" + Quote(r.logLines[i].text) +
              ",\"at\":" + Place(r.logLines[i].at) + "}";
    }
    line += "],\"diagnostics\":[";
    for (size_t i = 0; i < r.diagnostics.size(); ++i) {
      line += i > 0 ? ",{" : "{";
      line += "\"object\":" + std::to_string(r.diagnostics[i].objectId) +
              ",\"message\":" + Quote(r.diagnostics[i].message) + "}";
    }
    line += "],\"warnings\":[";
    for (size_t i = 0; i < r.warnings.size(); ++i) {
      const Warning& w = r.warnings[i];
      line += (i > 0 ? ",{" : "{") + std::string("\"message\":") + Quote(w.message) +
              ",\"line\":" + std::to_string(w.line) + ",\"column\":" + std::to_string(w.column) +
              ",\"offset\":" + std::to_string(w.offset) +
              ",\"length\":" + std::to_string(w.length) + "}";
    }
    line += "],\"notes\":" + StringArray(r.notes) +
            ",\"incomplete\":" + (r.incomplete ? "true" : "false") + "}\n";
    out_ << line;
    out_.flush();
  }

 private:
  std::ostream& out_;
};

}  // namespace

std::unique_ptr<ReportWriter> MakeReportWriter(const HostOptions& options) {
  return options.quiet ? nullptr : MakeReportWriter(options.report, std::cout);
}

std::unique_ptr<ReportWriter> MakeReportWriter(ReportFormat format, std::ostream& out) {
  if (format == ReportFormat::kJson) return std::make_unique<JsonReportWriter>(out);
  return std::make_unique<TextReportWriter>(out);
}

const char* LanguageName(int32_t code) {
  const Language* language = FindLanguage(code);
  return language != nullptr ? language->name : "none";
}

}  // namespace host
