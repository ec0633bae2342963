#include "vellum/BarcodeRenderer.h"

#include "vellum/LabelObject.h"

namespace vellum {

void UnrenderedBarcodes::Draw(cairo_t*, const ObjectData& object, const std::wstring&,
                              const DotBox&, int, const TextShaper&, GlyphLayer*,
                              Diagnostics& diagnostics) const {
  diagnostics.Add(object.id, L"barcode not drawn: no barcode renderer is installed");
}

}  // namespace vellum
