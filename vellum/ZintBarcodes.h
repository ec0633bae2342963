#pragma once
// The engine's barcode renderer: every type name of the symbology table is
// encoded by zint and drawn here in whole printer dots, with the
// human-readable line set in our own fonts. Data zint refuses draws nothing
// and becomes a diagnostic naming the object, the symbology and zint's
// reason. The engine holds one instance (or the host's) for its whole life;
// encoded symbols are cached, so preparing and drawing a label encode each
// value once. Safe to share between engines on different threads.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "vellum/BarcodeRenderer.h"
#include "vellum/RetailText.h"
#include "vellum/SymbolLayout.h"
#include "vellum/TextLayout.h"
#include "vellum/ZintSymbol.h"

namespace vellum {

class ZintBarcodes : public BarcodeRenderer {
 public:
  ZintBarcodes();
  ~ZintBarcodes() override;

  bool Validate(const VBarcodeFormat& format, const VBarcodeLayout& layout,
                std::wstring* reason) const override;
  DotBox Frame(const ObjectData& object, const std::wstring& data, const DotBox& box, int dpi,
               const TextShaper& text) const override;
  double QuietZoneDots(const ObjectData& object, int dpi) const override;
  void Draw(cairo_t* cr, const ObjectData& object, const std::wstring& data, const DotBox& frame,
            int dpi, const TextShaper& text, GlyphLayer* glyphs,
            Diagnostics& diagnostics) const override;

  // Space between the bars and the human-readable line, dots.
  static int TextGap(const ModuleMetrics& metrics) { return metrics.narrow; }

 private:
  struct Laid;
  Laid LayOut(const ObjectData& object, const std::wstring& data, int dpi,
              const TextShaper& text) const;
  EncodeResult Encode(const SymbologyRow& row, const std::wstring& data,
                      const SymbolOptions& options) const;
  double TextHeight(double points, int dpi, const TextShaper& text) const;
  void DrawRetailDigits(cairo_t* cr, const RetailLayout& layout, int narrow, double x,
                        double barsBottom, int dpi, const TextShaper& text,
                        GlyphLayer* glyphs) const;
  void DrawText(cairo_t* cr, const std::wstring& line, double points, double centreX, double top,
                const TextShaper& text, GlyphLayer* glyphs) const;

  using CacheKey = std::tuple<const SymbologyRow*, std::wstring, SymbolOptions>;
  mutable std::mutex mutex_;
  mutable std::map<CacheKey, EncodeResult> cache_;
  mutable std::map<std::pair<int, double>, double> textHeights_;
};

}  // namespace vellum
