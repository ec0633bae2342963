#pragma once
// Draws one printed label: a snapshot of the label plus the values its
// variable objects print, onto a cairo context whose user space is the page in
// dots (the raster directly, or a PDF page scaled to dots). Preparing and
// drawing are separate so that the page size is known before a surface is
// made, and one preparation can be drawn onto both the raster and a PDF page.
// The engine owns one LabelRenderer per printer set-up.

#include <cairo.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "vellum/BarcodeRenderer.h"
#include "vellum/Diagnostics.h"
#include "vellum/FontResolver.h"
#include "vellum/LabelModel.h"
#include "vellum/PageLayout.h"
#include "vellum/Painter.h"
#include "vellum/TextObject.h"

namespace vellum {

struct PreparedObject {
  const ObjectData* object = nullptr;
  std::wstring value;   // what a text or barcode prints
  DotBox box;           // the object's rectangle, design dots, unturned
  cairo_matrix_t turn;  // the object's own rotation, design dots
  std::optional<PreparedText> text;
};

// Valid while the snapshot it was prepared from lives.
struct PreparedLabel {
  PageGeometry page;
  bool negative = false;
  bool outlinesOnly = false;  // test shape print
  std::vector<PreparedObject> objects;
};

class LabelRenderer {
 public:
  LabelRenderer(const PrinterGeometry& printer, const BarcodeRenderer* barcodes);

  // `values[i]` is what object i prints (ignored for objects that print no
  // text). Problems go to `diagnostics`.
  PreparedLabel Prepare(const LabelSnapshot& label, const std::vector<std::wstring>& values,
                        bool outlinesOnly, Diagnostics& diagnostics);

  // Barcode problems found while drawing go to `diagnostics`. `glyphs`, on
  // the raster only, lays text faster with the same dots.
  void Draw(cairo_t* cr, const PreparedLabel& label, bool vectorTarget, Diagnostics& diagnostics,
            GlyphLayer* glyphs = nullptr) const;

  const PrinterGeometry& printer() const { return printer_; }
  const BarcodeRenderer* barcodes() const { return barcodes_; }

 private:
  // `follow` is where the previous typeset text ended, if any.
  PreparedObject PrepareObject(const ObjectData& object, const std::wstring& value,
                               Diagnostics& diagnostics, std::set<std::wstring>& reportedFaces,
                               const std::optional<DotPoint>& follow = std::nullopt);
  void DrawObject(cairo_t* cr, const PreparedObject& prepared, const PreparedLabel& label,
                  const Painter& painter, Diagnostics& diagnostics) const;
  // A shape in its ink (black, white or reversing what lies below).
  void DrawShape(cairo_t* cr, const PreparedObject& prepared, bool outlinesOnly,
                 const Painter& painter) const;
  void PaintShape(cairo_t* cr, const PreparedObject& prepared, bool outlinesOnly) const;
  void PaintPicture(cairo_t* cr, const PreparedObject& prepared, const Painter& painter) const;
  void DrawLine(cairo_t* cr, const ObjectData& object, const Painter& painter) const;
  void DrawPicture(cairo_t* cr, const PreparedObject& prepared, const Painter& painter) const;
  double PenDots(float points) const;
  DotBox ToDots(const VRect& rect) const;

  PrinterGeometry printer_;
  const BarcodeRenderer* barcodes_;
  FontResolver fonts_;
  TextShaper shaper_;
};

}  // namespace vellum
