#include "vellum/ZintSymbol.h"

#include <zint.h>

#include "platform/Text.h"

namespace vellum {
namespace {

struct ZintDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using ZintPtr = std::unique_ptr<zint_symbol, ZintDeleter>;

bool Dark(const zint_symbol& s, int row, int column) {
  return (s.encoded_data[row][column / 8] >> (column % 8)) & 1;
}

ModuleRow RunsOf(const zint_symbol& s, int row) {
  ModuleRow out;
  out.weight = s.row_height[row] > 0.0f ? s.row_height[row] : 1.0;
  bool dark = false;
  int run = 0;
  for (int c = 0; c < s.width; ++c) {
    if (Dark(s, row, c) != dark) {
      out.runs.push_back(run);
      dark = !dark;
      run = 0;
    }
    ++run;
  }
  out.runs.push_back(run);
  return out;
}

// MaxiCode is drawn from zint's vector form.
void CopyVector(zint_symbol& s, EncodedSymbol& out) {
  if (ZBarcode_Buffer_Vector(&s, 0) >= ZINT_ERROR || s.vector == nullptr) return;
  out.vectorWidth = s.vector->width;
  out.vectorHeight = s.vector->height;
  for (const zint_vector_hexagon* h = s.vector->hexagons; h != nullptr; h = h->next) {
    out.hexagons.push_back({h->x, h->y, h->diameter});
  }
  for (const zint_vector_circle* c = s.vector->circles; c != nullptr; c = c->next) {
    out.rings.push_back({c->x, c->y, c->diameter, c->width});
  }
}

std::wstring Utf8Text(const unsigned char* text) {
  // zint's text is UTF-8; our text is one character per byte below 256.
  std::wstring out;
  for (const unsigned char* p = text; *p != 0; ++p) {
    if (*p < 0x80) {
      out.push_back(*p);
    } else if ((*p & 0xE0) == 0xC0 && p[1] != 0) {
      out.push_back(static_cast<wchar_t>(((*p & 0x1F) << 6) | (p[1] & 0x3F)));
      ++p;
    }
  }
  return out;
}

}  // namespace

EncodeResult EncodeSymbol(const SymbologyRow& row, const std::wstring& data, bool check) {
  EncodeResult result;
  const ZintInput input = MapBarcodeData(row, data);
  if (!input.ok) {
    result.reason = input.reason;
    return result;
  }
  if (input.bytes.size() > ZINT_MAX_DATA_LEN) {
    result.reason = L"data longer than " + platform::IntToWide(ZINT_MAX_DATA_LEN) + L" bytes";
    return result;
  }
  ZintPtr s(ZBarcode_Create());
  if (!s) {
    result.reason = L"out of memory";
    return result;
  }
  s->symbology = row.zintSymbology;
  s->input_mode = input.inputMode;
  if (check && row.checkOption != 0) s->option_2 = row.checkOption;
  const int rc =
      ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(input.bytes.data()),
                      static_cast<int>(input.bytes.size()));
  if (rc >= ZINT_ERROR) {  // warnings below ZINT_ERROR still make a symbol
    result.reason = platform::BytesToWide(s->errtxt);
    return result;
  }
  auto symbol = std::make_shared<EncodedSymbol>();
  symbol->widthModules = s->width;
  for (int r = 0; r < s->rows; ++r) symbol->rows.push_back(RunsOf(*s, r));
  symbol->text = row.textFromData ? input.text : Utf8Text(s->text);
  if (row.shape == SymbolShape::kMaxiCode) CopyVector(*s, *symbol);
  result.symbol = std::move(symbol);
  return result;
}

bool ModuleIsDark(const ModuleRow& row, int column) {
  bool dark = false;
  for (int run : row.runs) {
    if (column < run) return dark;
    column -= run;
    dark = !dark;
  }
  return false;
}

}  // namespace vellum
