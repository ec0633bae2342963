#include "host/serve/PrinterFacts.h"

#include <cmath>
#include <stdexcept>

namespace host {
namespace {

int Dots(double inches, int dpi) { return static_cast<int>(std::lround(inches * dpi)); }

}  // namespace

PrinterFacts::PrinterFacts(const HostOptions& options)
    : dotsPerMm_(static_cast<int>(std::lround(options.dpi / 25.4))),
      continuous_(options.lengthInches <= 0),
      thermalTransfer_(!options.ribbon.empty()) {
  const int width = Dots(options.widthInches, options.dpi);
  // Continuous media has no label length: labels are as long as their
  // content. Zero says so.
  const int length = continuous_ ? 0 : Dots(options.lengthInches, options.dpi);
  facts_ = {
      {"device.product_name", "PRODUCT NAME", "labelhost"},
      {"appl.name", "FIRMWARE", std::string("V") + LABELHOST_VERSION},
      {"device.languages", "LANGUAGES", "zpl"},
      {"head.resolution.in_dpi", "RESOLUTION", std::to_string(options.dpi)},
      {"ezpl.print_width", "PRINT WIDTH", std::to_string(width)},
      {"media.width", "MEDIA WIDTH", std::to_string(width)},
      {"zpl.label_length", "LABEL LENGTH", std::to_string(length)},
      {"ezpl.media_type", "MEDIA TYPE", continuous_ ? "continuous" : "gap/notch"},
      {"ezpl.print_method", "PRINT METHOD",
       thermalTransfer_ ? "thermal transfer" : "direct thermal"},
      {"media.printmode", "PRINT MODE", "tear off"},
      {"print.tone", "DARKNESS", "10.0"},
      {"device.memory_kb", "JOB MEMORY", std::to_string(options.maxJobBytes / 1024)},
  };
}

const std::string* PrinterFacts::Find(const std::string& variable) const {
  for (const PrinterFact& fact : facts_)
    if (fact.variable == variable) return &fact.value;
  return nullptr;
}

const std::string& PrinterFacts::Get(const std::string& variable) const {
  const std::string* value = Find(variable);
  if (value == nullptr) throw std::logic_error("no printer fact " + variable);
  return *value;
}

}  // namespace host
