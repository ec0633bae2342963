#pragma once
// The printer's answers to the host's status queries, in the layouts of the
// printer language's manuals: "~HS" three lines of 12, 11 and 2 fields, "~HI"
// one line of 5, "~HQES" and "~HD" a block of lines, each line or block
// framed as STX ... ETX CR LF; `! U1 getvar` a quoted value ("?" for a
// variable the printer does not have); "^HH" the configuration listing as
// text, "^HZA" as XML. Every value comes from PrinterFacts; the printer is
// always idle and ready, with nothing queued and no error. The raw port
// calls it for each query it takes out of a connection's bytes.

#include <string>

#include "host/serve/HostQueryFilter.h"
#include "host/serve/PrinterFacts.h"

namespace host {

class HostAnswers {
 public:
  explicit HostAnswers(const HostOptions& options) : facts_(options) {}

  std::string Answer(const HostQuery& query) const;

 private:
  std::string HostStatus() const;
  std::string HostStatusFields(int line) const;
  std::string Identification() const;
  std::string ErrorsAndWarnings() const;
  std::string HeadDiagnostic() const;
  std::string Variable(const std::string& name) const;
  std::string ConfigurationText() const;
  std::string ConfigurationXml() const;

  PrinterFacts facts_;
};

}  // namespace host
