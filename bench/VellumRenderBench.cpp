// Renders a dense 4 x 6 in label (20 text fields, 10 shapes, a picture) to a
// 1-bit PNG in memory, the way every printed label is made.
#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <filesystem>

#include "platform/StorageCard.h"
#include "vellum/OutputSink.h"
#include "vellum/VellumEngine.h"

namespace {

namespace fs = std::filesystem;

// A 120 x 80 picture with a black frame and a diagonal, in a store of its own.
fs::path MakeStore() {
  const fs::path root = fs::temp_directory_path() / "vellum-bench-store";
  fs::create_directories(root / "Graphics");
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 120, 80);
  gdk_pixbuf_fill(pixbuf, 0xffffffff);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 120; ++x) {
      if (x < 4 || y < 4 || x > 115 || y > 75 || std::abs(x * 2 / 3 - y) < 2) {
        guchar* p = gdk_pixbuf_get_pixels(pixbuf) + y * gdk_pixbuf_get_rowstride(pixbuf) + x * 3;
        p[0] = p[1] = p[2] = 0;
      }
    }
  }
  gdk_pixbuf_save(pixbuf, (root / "Graphics" / "logo.png").c_str(), "png", nullptr, nullptr);
  g_object_unref(pixbuf);
  return root;
}

void BuildDenseLabel(vellum::VellumEngine& engine) {
  const int32_t u = 1000;  // units per inch
  engine.CreateLabel(L"", 0, 0, 0, 0, 1);
  VLabelData data;
  engine.GetLabelData(data, 0, nullptr);
  data.lengthInches = 6.0;
  data.lengthFixed = 1;
  engine.SetLabelData(data);
  platform::LOGFONTW face;
  face.lfFaceName = L"Liberation Sans";
  for (int i = 0; i < 20; ++i) {
    const int32_t top = 100 + i * 280;
    VDrawObj* text = engine.CreateNewObject(kVObjText, VRect{100, top, 3 * u, top + 250},
                                            engine.GetNextFreeObjectId());
    engine.SetSelectByObject(text);
    engine.SetTextFromObject(text, L"Field " + std::to_wstring(i) + L": Lot 4711-B, 12.5 kg", true);
    engine.GetVInterfaceTextProperties()->SetTextFontName(kVTextSelected, 0, face, 0);
    engine.GetVInterfaceTextProperties()->SetTextFontSize(kVTextSelected, 0, 8 + i % 6, 0, 0.0,
                                                          true);
    engine.GetVInterfaceTextProperties()->SetTextFontBold(kVTextSelected, 0, i % 3 == 0, 0);
    VTextAlignment alignment;
    engine.GetTextAlignment(alignment);
    alignment.justification = i % 3;
    engine.SetTextAlignment(alignment);
  }
  const int32_t types[] = {kVObjRectangle,     kVObjCircle,         kVObjStar,    kVObjSeal,
                           kVObjTriangle,      kVObjCross,          kVObjDiamond, kVObjNotSign,
                           kVObjStraightArrow, kVObjRotationalArrow};
  for (int i = 0; i < 10; ++i) {
    const int32_t top = 100 + i * 500;
    engine.SetSelectByObject(engine.CreateNewObject(types[i], VRect{3100, top, 3900, top + 450},
                                                    engine.GetNextFreeObjectId()));
    engine.SetHatchPattern(i % 2 == 0 ? kVHatchSolid : kVHatchNone, 1);
    engine.SetPenWidth(2.0f);
  }
  VDrawObj* picture = engine.CreateNewGraphic(VPoint{2000, 5600}, VPoint{3000, 5950},
                                              L"\\SD\\Store\\Graphics\\logo.png", kVObjPicture,
                                              engine.GetNextFreeObjectId(), false, false);
  engine.SetSelectByObject(picture);
  engine.OpenSelected();
}

void RenderDenseLabel(benchmark::State& state) {
  const fs::path saved = platform::StoreRoot();
  platform::SetStoreRoot(MakeStore());
  vellum::MemorySink sink(vellum::MemorySink::Options{false, false, true});
  vellum::VellumSettings settings;
  settings.dpi = static_cast<int>(state.range(0));
  settings.sink = &sink;
  vellum::VellumEngine engine(settings);
  BuildDenseLabel(engine);
  for (auto _ : state) {
    engine.InitPrintData();
    engine.AddPrintData(VPrintData{L"bench", 1, 1, 1, 0});
    engine.StartPrint(kVPrintDevice, 0, 1, 1);
    benchmark::DoNotOptimize(sink.entries().back().png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(sink.entries().back().png.size());
  state.counters["diagnostics"] = static_cast<double>(engine.LastPrintDiagnostics().size());
  platform::SetStoreRoot(saved);
}

BENCHMARK(RenderDenseLabel)->Arg(203)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
