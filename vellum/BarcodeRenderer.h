#pragma once
// The one place barcodes are drawn. The engine keeps barcode objects in its
// model (format, layout, data) and hands each one to its BarcodeRenderer at
// print time; the renderer draws the symbol with the context's current
// source into the object's frame (unrotated; the caller has applied the
// object's rotation). Until a symbology back end is installed, the engine
// uses UnrenderedBarcodes, which draws nothing and says so.

#include <cairo.h>

#include <string>

#include "engine/VInterface.h"
#include "vellum/Diagnostics.h"
#include "vellum/ShapePaths.h"

namespace vellum {

class GlyphLayer;
struct ObjectData;
class TextShaper;

class BarcodeRenderer {
 public:
  virtual ~BarcodeRenderer() = default;

  // False, with the reason, when `format.data` cannot be encoded in the
  // layout's symbology (SetBarcodeFormat then refuses the data).
  virtual bool Validate(const VBarcodeFormat& format, const VBarcodeLayout& layout,
                        std::wstring* reason) const = 0;

  // The frame `object` takes in dots when it carries `data`, given its own
  // rectangle `box`: an auto-sized barcode takes its symbol's size. `text`
  // is the caller's shaper at `dpi`, for the human-readable line: a
  // renderer shared by threads keeps no font map of its own.
  virtual DotBox Frame(const ObjectData& object, const std::wstring& data, const DotBox& box,
                       int dpi, const TextShaper& text) const {
    (void)object, (void)data, (void)dpi, (void)text;
    return box;
  }

  // The clear space a reader needs around `object`'s symbol, dots: a label
  // whose length follows its content leaves at least this much below it.
  virtual double QuietZoneDots(const ObjectData& object, int dpi) const {
    (void)object, (void)dpi;
    return 0.0;
  }

  // Draws `object` carrying `data` into `frame` at `dpi`, its text with
  // `text` (through `glyphs`, the raster's glyph layer, if given); problems
  // go to `diagnostics` under the object's id.
  virtual void Draw(cairo_t* cr, const ObjectData& object, const std::wstring& data,
                    const DotBox& frame, int dpi, const TextShaper& text, GlyphLayer* glyphs,
                    Diagnostics& diagnostics) const = 0;
};

class UnrenderedBarcodes : public BarcodeRenderer {
 public:
  bool Validate(const VBarcodeFormat&, const VBarcodeLayout&, std::wstring*) const override {
    return true;
  }
  void Draw(cairo_t* cr, const ObjectData& object, const std::wstring& data, const DotBox& frame,
            int dpi, const TextShaper& text, GlyphLayer* glyphs,
            Diagnostics& diagnostics) const override;
};

}  // namespace vellum
