// Parsing speed of TPL jobs of 1 KiB, 1 MiB and 16 MiB, made by repeating a
// shipping label and a price tag. Bytes per second should hold steady as the
// job grows: the parser is linear in the job's size.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/ParserBenchSupport.h"
#include "intake/Languages.h"

namespace {

constexpr char kShippingLabel[] =
    "STARTLABEL\r\n"
    "LABELHEIGHT 4\r\n"
    "STARTTEXT\r\n"
    "TEXT Ship to: Harbour Street 12, Dock 4\r\n"
    "POSITION 0.2,0.2\r\n"
    "FONTNAME Arial\r\n"
    "FONTTYPE MANUAL 0.4,3.5,14\r\n"
    "STYLES B\r\n"
    "JUSTIFICATION L\r\n"
    "ENDTEXT\r\n"
    "STARTBARCODE\r\n"
    "BARCODETYPE Code 128\r\n"
    "DATA PKG0004711\r\n"
    "POSITION 0.2,1.0\r\n"
    "HEIGHT 0.8\r\n"
    "HUMANREADABLE T,BOTTOM\r\n"
    "ENDBARCODE\r\n"
    "STARTSHAPE\r\n"
    "SHAPETYPE RECTANGLE\r\n"
    "POSITION 0.1,0.1\r\n"
    "WIDTH 3.8\r\n"
    "HEIGHT 3.8\r\n"
    "LINETHICKNESS 2\r\n"
    "ENDSHAPE\r\n"
    "ENDLABEL 1\r\n";

constexpr char kPriceTag[] =
    "// price tag with a running serial number\r\n"
    "STARTLABEL\r\n"
    "STARTTEXT\r\n"
    "GETSERIAL 1000,1,50,SN-,\r\n"
    "POSITION 0.1,0.1\r\n"
    "FONTTYPE FREEFORM 10\r\n"
    "ENDTEXT\r\n"
    "STARTTEXT\r\n"
    "GETDATETIME 5\r\n"
    "POSITION 0.1,0.5\r\n"
    "ENDTEXT\r\n"
    "STARTLINE\r\n"
    "STARTPOINT 0,0.9\r\n"
    "ENDPOINT 2,0.9\r\n"
    "ENDLINE\r\n"
    "ENDLABEL 50\r\n";

std::string MakeJob(size_t bytes) {
  std::string job = "STARTTPL 1.0\r\nSETUNITS INCHES\r\n";
  while (job.size() < bytes) {
    job += kShippingLabel;
    job += kPriceTag;
  }
  // Cut at a line break so that every statement is whole.
  job.resize(job.rfind("\r\n", bytes - 8) + 2);
  job += "ENDTPL\r\n";
  return job;
}

void BM_ParseTPL(benchmark::State& state) {
  bench::ParseJobLoop(state, LANGUAGE_TPL, 300, MakeJob(static_cast<size_t>(state.range(0))));
}

BENCHMARK(BM_ParseTPL)->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
