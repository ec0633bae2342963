// Renders a 4 x 6 in label with six linear barcodes, a QR code and a PDF417
// at 300 dpi through the engine, the way every printed label is made. The
// first variant prints the same data again (symbols come from the cache); the
// second makes every barcode a sequence that starts elsewhere each time, so
// each symbol is encoded while the label prints.
#include <benchmark/benchmark.h>

#include <string>

#include "vellum/OutputSink.h"
#include "vellum/VellumEngine.h"

namespace {

struct Symbol {
  const wchar_t* type;
  int32_t code;
  const wchar_t* data;
  int32_t human;
};

constexpr Symbol kSymbols[] = {
    {L"Code 128 Auto", kVSymCode128, L"PKG-0004711", kVHumanBelow},
    {L"Code 39", kVSymCode39, L"LOT-42", kVHumanBelow},
    {L"EAN/JAN-13", kVSymEan13, L"590123412345", kVHumanBelow},
    {L"UPCA", kVSymUpcA, L"01234567890", kVHumanBelow},
    {L"Interleaved 2-of-5", kVSymInterleaved2Of5, L"1234567890", kVHumanBelow},
    {L"UCC128", kVSymUcc128, L"00123456789012345675", kVHumanBelow},
    {L"QRCode", kVSymQrCode, L"HTTPS://EXAMPLE.INVALID/TRACK/0004711", kVHumanNone},
    {L"PDF 417", kVSymPdf417, L"SHIP TO: 42 HARBOUR ROAD, PORT TOWN 1234", kVHumanNone},
};

void BuildLabel(vellum::VellumEngine& engine, int serial) {
  engine.CreateLabel(L"", 0, 0, 0, 0, 1);
  int32_t top = 100;
  for (const Symbol& s : kSymbols) {
    VDrawObj* object = engine.CreateNewObject(kVObjBarcode, VRect{200, top, 3200, top + 400},
                                              engine.GetNextFreeObjectId());
    engine.SetSelectByObject(object);
    VBarcodeFormat format;
    engine.GetBarcodeFormat(format);
    format.typeName = s.type;
    format.heightInches = 0.4f;
    format.densityMils = 10;
    format.humanReadable = s.human;
    format.data = s.data;
    engine.SetBarcodeFormat(format);
    if (serial > 0) {
      const std::wstring data = s.data;
      engine.SetDataSource(kVSourceSequence);
      engine.SetSequence(std::to_wstring(100 + serial % 900), 1, 1, 1,
                         data.substr(0, data.size() - 3), L"", L"");
    }
    engine.SetObjectAutoSize(object, 1);
    VBarcodeLayout layout;
    engine.GetBarcodeLayout(layout);
    layout.symbology = s.code;
    layout.humanReadable = s.human;
    engine.SetBarcodeLayout(layout);
    top += 650;
  }
}

void RenderBarcodeLabel(benchmark::State& state) {
  vellum::MemorySink sink(vellum::MemorySink::Options{false, false, true});
  vellum::VellumSettings settings;
  settings.dpi = 300;
  settings.sink = &sink;
  vellum::VellumEngine engine(settings);
  const bool freshData = state.range(0) == 1;
  int serial = 0;
  BuildLabel(engine, 0);
  for (auto _ : state) {
    if (freshData) {
      state.PauseTiming();
      BuildLabel(engine, ++serial);
      state.ResumeTiming();
    }
    engine.InitPrintData();
    engine.AddPrintData(VPrintData{L"bench", 1, 1, 1, 0});
    engine.StartPrint(kVPrintDevice, 0, 1, 1);
    benchmark::DoNotOptimize(sink.entries().back().png.data());
  }
  state.counters["diagnostics"] = static_cast<double>(engine.LastPrintDiagnostics().size());
}

BENCHMARK(RenderBarcodeLabel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
