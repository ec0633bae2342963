#pragma once
// Helpers shared by Vellum's tests: an engine printing into memory at a chosen
// resolution, and measurements of the ink on a printed label.

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <memory>
#include <string>

#include "vellum/OutputSink.h"
#include "vellum/VellumEngine.h"

namespace vellum::testing {

// The file fontconfig prints `pattern` from in `config`, as the text library
// would look it up; empty when nothing matches. Takes `pattern`.
std::string MatchedFile(FcConfig* config, FcPattern* pattern);

// Everything pango laid out (lines, runs, glyphs and their positions), as
// text: two layouts with equal fingerprints print the same.
std::string LayoutFingerprint(PangoLayout* layout);

// Inclusive ink bounds; empty when no dot is inked.
struct InkBox {
  int left = 0, top = 0, right = -1, bottom = -1;
  long dots = 0;
  bool empty() const { return dots == 0; }
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

InkBox InkBounds(const MonoBitmap& bitmap, int x0 = 0, int y0 = 0, int x1 = 1 << 30,
                 int y1 = 1 << 30);

// An engine with 1000 units per inch on 4 in media, printing into `sink`.
struct TestPrinter {
  explicit TestPrinter(int dpi = 300, VellumSettings extra = {});
  // Prints the current label once (quantity 1) and returns the sink's entries.
  const MonoBitmap& PrintOnce();
  // Makes and selects an object over the rectangle given in dots.
  VDrawObj* Add(int32_t type, int x, int y, int w, int h);
  // A text object in dots with font size in points.
  VDrawObj* AddText(const std::wstring& text, int x, int y, int w, int h, int points,
                    int justification = kVJustifyLeft, bool boxBound = true);
  int32_t Units(int dots) const { return dots * 1000 / dpi; }

  int dpi;
  MemorySink sink;
  std::unique_ptr<VellumEngine> engine;
};

}  // namespace vellum::testing
