// Parsing speed of XTPL jobs of 1 KiB, 1 MiB and 16 MiB, made by repeating a
// shipping label and a price tag. Bytes per second should hold steady as the
// job grows: the parser is linear in the job's size.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/ParserBenchSupport.h"
#include "intake/Languages.h"

namespace {

constexpr char kShippingLabel[] =
    "<LABEL HEIGHT=\"6\" COPIES=\"1\">\r\n"
    "  <RECTANGLE POSITION-X=\"0.1\" POSITION-Y=\"0.1\" WIDTH=\"3.8\" HEIGHT=\"5.8\" "
    "LINE-THICKNESS=\"2\"/>\r\n"
    "  <TEXT POSITION-X=\"0.2\" POSITION-Y=\"0.2\" ALIGN=\"LEFT\" FONT-NAME=\"Arial\" "
    "BOLD=\"TRUE\">\r\n"
    "    <TEXT-SIZING><MANUAL HEIGHT=\"0.4\" WIDTH=\"3.5\" FONT-SIZE=\"14\"/></TEXT-SIZING>\r\n"
    "    <DATASOURCE><STATIC-TEXT VALUE=\"Ship to: Harbour Street 12, Dock 4\"/></DATASOURCE>\r\n"
    "  </TEXT>\r\n"
    "  <BARCODE POSITION-X=\"0.2\" POSITION-Y=\"1.0\" HEIGHT=\"0.8\" TYPE=\"CODE 128 B\" "
    "HUMAN-READABLE-LOCATION=\"BOTTOM\" HUMAN-READABLE=\"TRUE\">\r\n"
    "    <DATASOURCE><STATIC-TEXT VALUE=\"PKG0004711\"/></DATASOURCE>\r\n"
    "  </BARCODE>\r\n"
    "</LABEL>\r\n";

constexpr char kPriceTag[] =
    "<!-- price tag with a running serial number -->\r\n"
    "<LABEL HEIGHT=\"1.2\">\r\n"
    "  <TEXT POSITION-X=\"0.1\" POSITION-Y=\"0.1\">\r\n"
    "    <TEXT-SIZING><FREEFORM HEIGHT=\"0.2\"/></TEXT-SIZING>\r\n"
    "    <DATASOURCE><SEQUENCE START=\"1000\" INCREMENT=\"1\" NUMBER-OF-LABELS=\"50\" "
    "PREFIX=\"SN-\"/></DATASOURCE>\r\n"
    "  </TEXT>\r\n"
    "  <TEXT POSITION-X=\"0.1\" POSITION-Y=\"0.5\">\r\n"
    "    <DATASOURCE><DATE-TIME DATE-TIME-FORMAT=\"5\"/></DATASOURCE>\r\n"
    "  </TEXT>\r\n"
    "  <LINE START-X=\"0\" START-Y=\"0.9\" END-X=\"2\" END-Y=\"0.9\"/>\r\n"
    "</LABEL>\r\n";

std::string MakeJob(size_t bytes) {
  std::string job =
      "<TPL-DOCUMENT>\r\n<DEFAULTS><DOCUMENT UNITS=\"INCHES\"/></DEFAULTS>\r\n<LABELS>\r\n";
  const std::string tail = "</LABELS>\r\n</TPL-DOCUMENT>\r\n";
  while (job.size() + tail.size() < bytes) {
    job += kShippingLabel;
    job += kPriceTag;
  }
  // Cut after a whole label so that every tag is complete.
  job.resize(job.rfind("</LABEL>\r\n", bytes - tail.size()) + 10);
  return job + tail;
}

void BM_ParseXTPL(benchmark::State& state) {
  bench::ParseJobLoop(state, LANGUAGE_XTPL, 300, MakeJob(static_cast<size_t>(state.range(0))));
}

BENCHMARK(BM_ParseXTPL)->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
