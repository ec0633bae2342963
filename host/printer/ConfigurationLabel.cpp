#include "host/printer/ConfigurationLabel.h"

#include <cstdio>

#include "platform/StorageCard.h"
#include "platform/Text.h"

namespace host {
namespace {

const char* DecisionName(PrintDecision decision) {
  return decision == PrintDecision::kPrint ? "print" : "skip";
}

std::string Real(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

}  // namespace

std::vector<std::string> ConfigurationLines(const HostOptions& o, size_t fontCount) {
  return {
      std::string("Printer: labelhost ") + LABELHOST_VERSION,
      "Resolution: " + std::to_string(o.dpi) + " dpi",
      "Media width: " + Real(o.widthInches) + " in",
      "Media length: " +
          (o.lengthInches > 0 ? Real(o.lengthInches) + " in" : std::string("continuous")),
      "Media rotation: " + (o.rotationFlags ? Hex(*o.rotationFlags) : std::string("default")),
      "Tape: " + (o.tape.empty() ? std::string("(none)") : o.tape),
      "Ribbon: " + (o.ribbon.empty() ? std::string("(none)") : o.ribbon),
      "Label offsets: " + Real(o.xOffset) + " in, " + Real(o.yOffset) + " in",
      "Store: " + platform::StoreRoot().string(),
      "Fonts: " + std::to_string(fontCount),
      std::string("On script errors: ") + DecisionName(o.onScriptError),
      std::string("On tape mismatch: ") + DecisionName(o.onTapeMismatch),
      std::string("On ribbon mismatch: ") + DecisionName(o.onRibbonMismatch),
  };
}

void PrintConfigurationLabel(CSessionManager& session, const std::vector<std::string>& lines) {
  std::wstring text;
  for (const std::string& line : lines) {
    text += (text.empty() ? L"" : L"\n") + platform::BytesToWide(line);
  }
  session.PrintConfigLabel(text, static_cast<int32_t>(lines.size()));
}

}  // namespace host
