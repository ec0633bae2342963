#pragma once
// What the network printer tells printing software about itself: one table
// of facts, each with the name `! U1 getvar` knows it by, the title the
// configuration listing (^HH, ^HZA) gives it, and its value, taken from the
// printer's setup (--dpi, --media, --ribbon, --max-job-bytes). The status
// answers (HostAnswers) read their numbers from here, so each value is
// decided in one place. Built once per raw port.

#include <string>
#include <vector>

#include "host/printer/Options.h"

namespace host {

struct PrinterFact {
  std::string variable;  // as `! U1 getvar` asks for it
  std::string title;     // its line in the configuration listing
  std::string value;
};

class PrinterFacts {
 public:
  explicit PrinterFacts(const HostOptions& options);

  const std::vector<PrinterFact>& all() const { return facts_; }
  // The value of `variable`; null when the printer has no such fact.
  const std::string* Find(const std::string& variable) const;
  // The value of `variable`, which must be in the table.
  const std::string& Get(const std::string& variable) const;
  int Number(const std::string& variable) const { return std::stoi(Get(variable)); }

  int dotsPerMm() const { return dotsPerMm_; }
  bool continuous() const { return continuous_; }
  bool thermalTransfer() const { return thermalTransfer_; }

 private:
  std::vector<PrinterFact> facts_;
  int dotsPerMm_ = 0;
  bool continuous_ = false;
  bool thermalTransfer_ = false;
};

}  // namespace host
