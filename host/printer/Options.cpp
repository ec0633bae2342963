#include "host/printer/Options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/Text.h"

namespace host {
namespace {

using Setter = std::function<bool(HostOptions&, const std::string& value, std::string& error)>;

// One option: its long name, an optional one-letter name, whether it takes a
// value, and what it does with it.
struct OptionRule {
  const char* name;
  char shortName;
  bool takesValue;
  Setter set;
};

bool ParseLong(const std::string& text, long long low, long long high, long long& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 0);
  if (errno != 0 || end == nullptr || *end != '\0') return false;
  if (value < low || value > high) return false;
  out = value;
  return true;
}

bool ParseReal(const std::string& text, double low, double high, double& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || end == nullptr || *end != '\0' || !std::isfinite(value)) return false;
  if (value < low || value > high) return false;
  out = value;
  return true;
}

// A decimal count (no sign, no base prefix), at most `high`.
bool ParseCount(const std::string& text, long long high, long long& out) {
  if (text.empty() || text.size() > 18) return false;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > high) return false;
  out = value;
  return true;
}

// A count of bytes, optionally followed by K, M or G (binary multiples).
bool ParseByteSize(const std::string& text, long long low, long long high, long long& out) {
  static constexpr std::pair<char, int> kSuffixes[] = {{'K', 10}, {'M', 20}, {'G', 30}};
  std::string digits = text;
  int shift = 0;
  for (const auto& [suffix, bits] : kSuffixes) {
    if (!digits.empty() && (digits.back() == suffix || digits.back() == suffix + 32)) {
      digits.pop_back();
      shift = bits;
      break;
    }
  }
  long long value = 0;
  if (!ParseCount(digits, high >> shift, value) || (value << shift) < low) return false;
  out = value << shift;
  return true;
}

// A size: inches, or millimetres with "mm" ("100mm"); "in" may be written.
bool ParseSize(const std::string& text, double lowInches, double highInches, double& inches) {
  static constexpr struct {
    const char* suffix;
    double perInch;
  } kUnits[] = {{"mm", 25.4}, {"in", 1.0}};
  std::string number = text;
  double perInch = 1.0;
  for (const auto& unit : kUnits) {
    const size_t n = std::strlen(unit.suffix);
    if (text.size() > n && text.compare(text.size() - n, n, unit.suffix) == 0) {
      number = text.substr(0, text.size() - n);
      perInch = unit.perInch;
      break;
    }
  }
  double value = 0;
  if (!ParseReal(number, 0.0, 1e6, value)) return false;
  value /= perInch;
  if (value < lowInches - 1e-9 || value > highInches + 1e-9) return false;
  inches = value;
  return true;
}

// "WIDTHxLENGTH" with one unit for both: "4x6in", "100x150mm", "2x1".
bool ParseMedia(const std::string& text, HostOptions& o) {
  const size_t x = text.find('x');
  if (x == std::string::npos || x == 0) return false;
  std::string unit;
  for (const char* suffix : {"mm", "in"}) {
    if (text.size() > 2 && text.compare(text.size() - 2, 2, suffix) == 0) unit = suffix;
  }
  double width = 0, length = 0;
  if (!ParseSize(text.substr(0, x) + unit, kMinWidthInches, kMaxWidthInches, width) ||
      !ParseSize(text.substr(x + 1), kMinLengthInches, kMaxLengthInches, length)) {
    return false;
  }
  o.widthInches = width;
  o.lengthInches = length;
  return true;
}

// Dots per millimetre as printers are sold, and the resolution they print at.
bool ParseDotsPerMm(const std::string& text, int& dpi) {
  static constexpr struct {
    const char* dpmm;
    int dpi;
  } kHeads[] = {{"8", 203}, {"12", 300}, {"24", 600}};
  for (const auto& head : kHeads) {
    if (text == head.dpmm) return (dpi = head.dpi), true;
  }
  return false;
}

bool ParseDecision(const std::string& text, PrintDecision& out) {
  if (text == "print") {
    out = PrintDecision::kPrint;
    return true;
  }
  if (text == "skip") {
    out = PrintDecision::kSkip;
    return true;
  }
  return false;
}

bool ParseFormats(const std::string& text, OutputFormats& formats) {
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string name = text.substr(start, comma - start);
    if (name == "png") {
      formats.png = true;
    } else if (name == "pdf") {
      formats.pdf = true;
    } else if (name == "json") {
      formats.json = true;
    } else {
      return false;
    }
    start = comma + 1;
  }
  return true;
}

// "YYYY-MM-DD HH:MM:SS" (or with a 'T'), local time.
bool ParseClock(const std::string& text, platform::LocalTime& out) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char sep = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%c", &year, &month, &day, &sep, &hour,
                  &minute, &second, &tail) != 7) {
    return false;
  }
  if ((sep != ' ' && sep != 'T') || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 ||
      minute > 59 || second > 59 || year < 1900 || hour < 0 || minute < 0 || second < 0) {
    return false;
  }
  // Day of the week by Sakamoto's rule, so date pictures with weekday names work.
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int y = month < 3 ? year - 1 : year;
  out = platform::LocalTime{
      year,   month,  day, hour,
      minute, second, 0,   (y + y / 4 - y / 100 + y / 400 + kOffsets[month - 1] + day) % 7};
  return true;
}

bool Fail(std::string& error, const std::string& option, const std::string& value,
          const char* expected) {
  error = "invalid value '" + value + "' for --" + option + " (expected " + expected + ")";
  return false;
}

// A limit of output: a count, or with `bytes` a size; 0 lifts it.
Setter Limit(int64_t OutputLimits::*field, const char* name, bool bytes) {
  return [field, name, bytes](HostOptions& o, const std::string& v, std::string& e) {
    long long value = 0;
    const bool ok = bytes ? ParseByteSize(v, 0, 1LL << 50, value) : ParseCount(v, 1LL << 50, value);
    if (!ok) return Fail(e, name, v, bytes ? "a size such as 512M, or 0" : "a count, or 0");
    o.limits.*field = value;
    return true;
  };
}

template <typename Field>
Setter Decision(Field field, const char* name) {
  return [field, name](HostOptions& o, const std::string& v, std::string& e) {
    return ParseDecision(v, o.*field) || Fail(e, name, v, "print or skip");
  };
}

// A port number, 0 for any free port, or "off".
bool ParsePort(const std::string& text, int& out) {
  if (text == "off") return (out = -1), true;
  long long port = 0;
  if (!ParseLong(text, 0, 65535, port)) return false;
  out = static_cast<int>(port);
  return true;
}

template <typename Field>
Setter Port(Field field, const char* name) {
  return [field, name](HostOptions& o, const std::string& v, std::string& e) {
    return ParsePort(v, o.*field) || Fail(e, name, v, "a port, 0 to 65535, or off");
  };
}

template <typename Field>
Setter Millis(Field field, const char* name) {
  return [field, name](HostOptions& o, const std::string& v, std::string& e) {
    long long ms = 0;
    if (!ParseLong(v, 1, 3600000, ms)) return Fail(e, name, v, "1 to 3600000 milliseconds");
    o.*field = static_cast<int>(ms);
    return true;
  };
}

template <typename Field>
Setter Count(Field field, const char* name, long long most) {
  return [field, name, most](HostOptions& o, const std::string& v, std::string& e) {
    long long count = 0;
    if (!ParseLong(v, 1, most, count))
      return Fail(e, name, v, ("1 to " + std::to_string(most)).c_str());
    o.*field = static_cast<size_t>(count);
    return true;
  };
}

const std::vector<OptionRule>& Rules() {
  static const std::vector<OptionRule> rules = {
      {"help", 'h', false,
       [](HostOptions& o, const std::string&, std::string&) { return o.help = true; }},
      {"version", 'V', false,
       [](HostOptions& o, const std::string&, std::string&) { return o.version = true; }},
      {"out", 'o', true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         o.outDir = v;
         return !v.empty() || Fail(e, "out", v, "a folder");
       }},
      {"format", 'f', true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         return ParseFormats(v, o.formats) || Fail(e, "format", v, "png, pdf or json");
       }},
      {"report", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         if (v == "text") return (o.report = ReportFormat::kText), true;
         if (v == "json") return (o.report = ReportFormat::kJson), true;
         return Fail(e, "report", v, "text or json");
       }},
      {"zpl", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         if (v == "device") return (o.zpl = ZplDialect::kDevice), true;
         if (v == "full") return (o.zpl = ZplDialect::kFull), true;
         return Fail(e, "zpl", v, "device or full");
       }},
      {"progress", 0, false,
       [](HostOptions& o, const std::string&, std::string&) { return o.progress = true; }},
      {"quiet", 'q', false,
       [](HostOptions& o, const std::string&, std::string&) { return o.quiet = true; }},
      {"dpi", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         long long dpi = 0;
         if (!ParseLong(v, 72, 1200, dpi)) return Fail(e, "dpi", v, "72 to 1200");
         o.dpi = static_cast<int>(dpi);
         return true;
       }},
      {"dpmm", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         return ParseDotsPerMm(v, o.dpi) || Fail(e, "dpmm", v, "8, 12 or 24");
       }},
      {"width", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         return ParseSize(v, kMinWidthInches, kMaxWidthInches, o.widthInches) ||
                Fail(e, "width", v, "0.25 to 20 inches, or millimetres such as 100mm");
       }},
      {"length", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         return ParseSize(v, kMinLengthInches, kMaxLengthInches, o.lengthInches) ||
                Fail(e, "length", v, "0.25 to 50 inches, or millimetres such as 150mm");
       }},
      {"media", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         return ParseMedia(v, o) || Fail(e, "media", v, "WIDTHxLENGTH such as 4x6in or 100x150mm");
       }},
      {"store", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         o.store = v;
         return !v.empty() || Fail(e, "store", v, "a folder");
       }},
      {"tape", 0, true,
       [](HostOptions& o, const std::string& v, std::string&) { return o.tape = v, true; }},
      {"ribbon", 0, true,
       [](HostOptions& o, const std::string& v, std::string&) { return o.ribbon = v, true; }},
      {"media-rotation", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         long long flags = 0;
         if (!ParseLong(v, 0, 0xFFFFFFFFLL, flags))
           return Fail(e, "media-rotation", v, "flags such as 0x40");
         o.rotationFlags = static_cast<uint32_t>(flags);
         return true;
       }},
      {"x-offset", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         double inches = 0;
         if (!ParseReal(v, -20.0, 20.0, inches)) return Fail(e, "x-offset", v, "inches, -20 to 20");
         o.xOffset = static_cast<float>(inches);
         return true;
       }},
      {"y-offset", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         double inches = 0;
         if (!ParseReal(v, -20.0, 20.0, inches)) return Fail(e, "y-offset", v, "inches, -20 to 20");
         o.yOffset = static_cast<float>(inches);
         return true;
       }},
      {"font", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         o.fonts.push_back(v);
         return !v.empty() || Fail(e, "font", v, "a face name");
       }},
      {"no-system-fonts", 0, false,
       [](HostOptions& o, const std::string&, std::string&) { return o.noSystemFonts = true; }},
      {"answer", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         const size_t eq = v.find('=');
         if (eq == std::string::npos || eq == 0) return Fail(e, "answer", v, "PROMPT=VALUE");
         o.answers[platform::BytesToWide(v.substr(0, eq))] =
             platform::BytesToWide(v.substr(eq + 1));
         return true;
       }},
      {"clock", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         platform::LocalTime time;
         if (!ParseClock(v, time)) return Fail(e, "clock", v, "YYYY-MM-DD HH:MM:SS");
         o.clock = time;
         return true;
       }},
      {"on-script-error", 0, true, Decision(&HostOptions::onScriptError, "on-script-error")},
      {"on-tape-mismatch", 0, true, Decision(&HostOptions::onTapeMismatch, "on-tape-mismatch")},
      {"on-ribbon-mismatch", 0, true,
       Decision(&HostOptions::onRibbonMismatch, "on-ribbon-mismatch")},
      {"chunk", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         long long bytes = 0;
         if (!ParseLong(v, 1, 1LL << 30, bytes))
           return Fail(e, "chunk", v, "1 to 1073741824 bytes");
         o.chunkBytes = static_cast<size_t>(bytes);
         return true;
       }},
      {"threads", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         long long threads = 0;
         if (!ParseLong(v, 0, 256, threads))
           return Fail(e, "threads", v, "0 (one per core) to 256");
         o.renderThreads = static_cast<int>(threads);
         return true;
       }},
      {"bind", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         o.bind = v;
         return !v.empty() || Fail(e, "bind", v, "an address");
       }},
      {"port", 0, true, Port(&HostOptions::rawPort, "port")},
      {"http", 0, true, Port(&HostOptions::httpPort, "http")},
      {"idle-ms", 0, true, Millis(&HostOptions::idleMs, "idle-ms")},
      {"timeout-ms", 0, true, Millis(&HostOptions::timeoutMs, "timeout-ms")},
      {"max-job-bytes", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         long long bytes = 0;
         if (!ParseLong(v, 1, 1LL << 30, bytes))
           return Fail(e, "max-job-bytes", v, "1 to 1073741824 bytes");
         o.maxJobBytes = static_cast<size_t>(bytes);
         return true;
       }},
      {"header-ms", 0, true, Millis(&HostOptions::headerMs, "header-ms")},
      {"http-per-address", 0, true, Count(&HostOptions::httpPerAddress, "http-per-address", 65535)},
      {"max-streams", 0, true, Count(&HostOptions::maxStreams, "max-streams", 65535)},
      {"grace-ms", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         long long ms = 0;
         if (!ParseLong(v, 0, 3600000, ms))
           return Fail(e, "grace-ms", v, "0 to 3600000 milliseconds");
         o.graceMs = static_cast<int>(ms);
         return true;
       }},
      {"forward", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         const size_t colon = v.rfind(':');
         long long port = 0;
         if (colon == std::string::npos || colon == 0 ||
             !ParseLong(v.substr(colon + 1), 1, 65535, port))
           return Fail(e, "forward", v, "HOST:PORT");
         o.forward = v;
         return true;
       }},
      {"max-job-input", 0, true,
       [](HostOptions& o, const std::string& v, std::string& e) {
         long long bytes = 0;
         if (!ParseByteSize(v, 1024, 1LL << 30, bytes))
           return Fail(e, "max-job-input", v, "a size from 1K to 1G");
         o.maxJobInput = static_cast<size_t>(bytes);
         return true;
       }},
      {"max-labels-per-job", 0, true,
       Limit(&OutputLimits::labelsPerJob, "max-labels-per-job", false)},
      {"max-labels-per-run", 0, true,
       Limit(&OutputLimits::labelsPerRun, "max-labels-per-run", false)},
      {"max-output-per-job", 0, true,
       Limit(&OutputLimits::bytesPerJob, "max-output-per-job", true)},
      {"max-output-per-run", 0, true,
       Limit(&OutputLimits::bytesPerRun, "max-output-per-run", true)},
      {"max-log-lines-per-job", 0, true,
       Limit(&OutputLimits::logLinesPerJob, "max-log-lines-per-job", false)},
      {"max-log-size", 0, true, Limit(&OutputLimits::logBytes, "max-log-size", true)},
      {"max-picture-memory", 0, true,
       Limit(&OutputLimits::pictureBytesPerLabel, "max-picture-memory", true)},
      {"strict", 0, false,
       [](HostOptions& o, const std::string&, std::string&) { return o.strict = true; }},
      {"warnings-as-errors", 0, false,
       [](HostOptions& o, const std::string&, std::string&) { return o.warningsAsErrors = true; }},
  };
  return rules;
}

const OptionRule* FindLong(const std::string& name) {
  for (const OptionRule& rule : Rules()) {
    if (name == rule.name) return &rule;
  }
  return nullptr;
}

const OptionRule* FindShort(char name) {
  for (const OptionRule& rule : Rules()) {
    if (rule.shortName != 0 && name == rule.shortName) return &rule;
  }
  return nullptr;
}

// Reads one option at args[i] (and its value); advances i past what it used.
bool TakeOption(const std::vector<std::string>& args, size_t& i, HostOptions& options,
                std::string& error) {
  const std::string& arg = args[i];
  const OptionRule* rule = nullptr;
  std::optional<std::string> inlineValue;
  std::string shown = arg;
  if (arg.rfind("--", 0) == 0) {
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    if (eq != std::string::npos) inlineValue = arg.substr(eq + 1);
    rule = FindLong(name);
    shown = "--" + name;
  } else {
    rule = arg.size() >= 2 ? FindShort(arg[1]) : nullptr;
    if (rule != nullptr && arg.size() > 2) inlineValue = arg.substr(2);
  }
  if (rule == nullptr) {
    error = "unknown option '" + shown + "'";
    return false;
  }
  if (!rule->takesValue) {
    if (inlineValue) {
      error = "option '" + shown + "' takes no value";
      return false;
    }
    ++i;
    return rule->set(options, "", error);
  }
  if (!inlineValue) {
    if (i + 1 >= args.size()) {
      error = "option '" + shown + "' needs a value";
      return false;
    }
    inlineValue = args[++i];
  }
  ++i;
  return rule->set(options, *inlineValue, error);
}

// "help [COMMAND]" and "COMMAND --help" both ask for the command's help.
bool CheckHelp(HostOptions& options, std::string& error) {
  if (options.command != "help") {
    options.helpTopic = options.command;
    return true;
  }
  if (options.inputs.size() > 1) {
    error = "help takes at most one COMMAND";
    return false;
  }
  options.helpTopic = options.inputs.empty() ? "" : options.inputs[0];
  if (!options.helpTopic.empty() && !IsCommand(options.helpTopic)) {
    error = "unknown command '" + options.helpTopic + "'";
    return false;
  }
  options.help = true;
  options.inputs.clear();
  return true;
}

bool CheckCommand(HostOptions& options, std::string& error) {
  if (options.command == "help" || options.help) return CheckHelp(options, error);
  if (options.version) return true;
  if (options.command.empty()) {
    error = "no command given";
    return false;
  }
  const bool takesFiles =
      options.command == "render" || options.command == "watch" || options.command == "lint";
  if (takesFiles && options.inputs.empty()) {
    error = options.command + " needs at least one FILE" +
            (options.command != "watch" ? " (or - for standard input)" : "");
    return false;
  }
  if (!takesFiles && !options.inputs.empty()) {
    error = options.command + " takes no FILE";
    return false;
  }
  if (options.command == "watch" &&
      std::find(options.inputs.begin(), options.inputs.end(), "-") != options.inputs.end()) {
    error = "watch cannot watch standard input";
    return false;
  }
  if (!options.formats.png && !options.formats.pdf && !options.formats.json) {
    options.formats.png = true;
  }
  return true;
}

}  // namespace

const std::vector<std::string>& CommandNames() {
  static const std::vector<std::string> names = {
      "render", "serve", "watch", "lint", "config-label", "font-label", "graphics-label", "help"};
  return names;
}

bool IsCommand(const std::string& word) {
  const auto& names = CommandNames();
  return std::find(names.begin(), names.end(), word) != names.end();
}

bool ParseOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error) {
  options.arguments = args;
  bool onlyFiles = false;
  for (size_t i = 0; i < args.size();) {
    const std::string& arg = args[i];
    if (!onlyFiles && arg == "--") {
      onlyFiles = true;
      ++i;
    } else if (!onlyFiles && arg.size() > 1 && arg[0] == '-') {
      if (!TakeOption(args, i, options, error)) return false;
    } else if (options.command.empty()) {
      if (!IsCommand(arg)) {
        error = "unknown command '" + arg + "'";
        return false;
      }
      options.command = arg;
      ++i;
    } else {
      options.inputs.push_back(arg);
      ++i;
    }
  }
  return CheckCommand(options, error);
}

}  // namespace host
