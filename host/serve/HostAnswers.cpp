#include "host/serve/HostAnswers.h"

#include <cstdio>

namespace host {
namespace {

constexpr char kStx = '\x02';
constexpr char kEtx = '\x03';
constexpr const char* kCrLf = "\r\n";

// One framed line: STX text ETX CR LF.
std::string Framed(const std::string& text) { return kStx + text + kEtx + kCrLf; }

// A framed block of lines: STX CR LF, each line CR LF, ETX CR LF.
std::string Block(const std::vector<std::string>& lines) {
  std::string block = std::string(1, kStx) + kCrLf;
  for (const std::string& line : lines) block += line + kCrLf;
  return block + kEtx + kCrLf;
}

// `value` in `digits` digits, zero padded; the manuals' fields are fixed width.
std::string Padded(int value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*d", digits, value);
  return text;
}

std::string XmlEscaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string HostAnswers::Answer(const HostQuery& query) const {
  switch (query.kind) {
    case QueryKind::kHostStatus:
      return HostStatus();
    case QueryKind::kIdentification:
      return Identification();
    case QueryKind::kErrorsAndWarnings:
      return ErrorsAndWarnings();
    case QueryKind::kHeadDiagnostic:
      return HeadDiagnostic();
    case QueryKind::kGetVariable:
      return Variable(query.variable);
    case QueryKind::kConfigurationText:
      return ConfigurationText();
    case QueryKind::kConfigurationXml:
      return ConfigurationXml();
  }
  return "";
}

// The fields of ~HS line `line` (0, 1 or 2), comma separated.
std::string HostAnswers::HostStatusFields(int line) const {
  switch (line) {
    case 0:
      // Interface settings (9600 baud, 8 data bits, 1 stop bit, no parity,
      // Xon/Xoff: 000011110 = 030), paper out, pause, label length in dots,
      // formats in the receive buffer, buffer full, communications
      // diagnostics, partial format, unused (000), corrupt RAM, under and
      // over temperature.
      return "030,0,0," + Padded(facts_.Number("zpl.label_length"), 4) + ",000,0,0,0,000,0,0,0";
    case 1: {
      // Function settings (bit 7 continuous media, bit 0 thermal transfer),
      // unused, head up, ribbon out, thermal transfer mode, print mode
      // (2 tear off), print width mode (the head's dots per millimetre:
      // 0 for 6, 1 for 8, 2 for 12, 3 for 24), label waiting, labels
      // remaining in the batch, format while printing (always 1), graphics
      // stored.
      const int functions = (facts_.continuous() ? 128 : 0) + (facts_.thermalTransfer() ? 1 : 0);
      const int dpm = facts_.dotsPerMm();
      const int widthMode = dpm <= 6 ? 0 : dpm <= 8 ? 1 : dpm <= 12 ? 2 : 3;
      return Padded(functions, 3) + ",0,0,0," + (facts_.thermalTransfer() ? "1" : "0") + ",2," +
             std::to_string(widthMode) + ",0,00000000,1,000";
    }
    default:
      // Password (none set), static RAM installed.
      return "0000,0";
  }
}

std::string HostAnswers::HostStatus() const {
  return Framed(HostStatusFields(0)) + Framed(HostStatusFields(1)) + Framed(HostStatusFields(2));
}

// Model, firmware version, dots per millimetre, memory, options (none).
std::string HostAnswers::Identification() const {
  return Framed(facts_.Get("device.product_name") + "," + facts_.Get("appl.name") + "," +
                std::to_string(facts_.dotsPerMm()) + "," + facts_.Get("device.memory_kb") + "KB,");
}

// The error and warning flags, then the two groups' bits: all clear.
std::string HostAnswers::ErrorsAndWarnings() const {
  return Block({"  PRINTER STATUS", "    ERRORS:         0 00000000 00000000",
                "    WARNINGS:       0 00000000 00000000"});
}

std::string HostAnswers::HeadDiagnostic() const {
  const double tone = std::stod(facts_.Get("print.tone"));
  return Block({
      "Head Temperature = 25",
      "Ambient Temperature = 25",
      "Head Test = Passed",
      "Darkness Adjust = " + std::to_string(static_cast<int>(tone)),
      "Print Speed = 2",
      "Static_pitch_length = " + Padded(facts_.Number("zpl.label_length"), 4),
      "COMMAND PFX = ~ : FORMAT PFX = ^ : DELIMITER = ,",
  });
}

// A quoted value, without a line end. The host status is the three ~HS
// lines' fields joined by commas.
std::string HostAnswers::Variable(const std::string& name) const {
  if (name == "device.host_status")
    return "\"" + HostStatusFields(0) + "," + HostStatusFields(1) + "," + HostStatusFields(2) +
           "\"";
  const std::string* value = facts_.Find(name);
  return "\"" + (value != nullptr ? *value : std::string("?")) + "\"";
}

// One line a fact, its value in a column of 20, then its title.
std::string HostAnswers::ConfigurationText() const {
  std::vector<std::string> lines;
  for (const PrinterFact& fact : facts_.all()) {
    std::string value = "  " + fact.value;
    if (value.size() < 22) value.resize(22, ' ');
    lines.push_back(value + " " + fact.title);
  }
  return Block(lines);
}

std::string HostAnswers::ConfigurationXml() const {
  std::string xml = std::string("<?xml version=\"1.0\" standalone=\"no\"?>") + kCrLf +
                    "<PRINTER-CONFIGURATION>" + kCrLf;
  for (const PrinterFact& fact : facts_.all()) {
    xml += "<SETTING NAME=\"" + XmlEscaped(fact.variable) + "\" TITLE=\"" + XmlEscaped(fact.title) +
           "\">" + XmlEscaped(fact.value) + "</SETTING>" + kCrLf;
  }
  return xml + "</PRINTER-CONFIGURATION>" + kCrLf;
}

}  // namespace host
