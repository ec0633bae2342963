#include "vellum/ZintSymbol.h"

#include <zint.h>

#include "platform/Text.h"
#include "vellum/AztecSize.h"
#include "vellum/QrMask.h"
#include "vellum/ZintModule.h"

namespace vellum {
namespace {

struct ZintDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using ZintPtr = std::unique_ptr<zint_symbol, ZintDeleter>;

ModuleRow RunsOf(const zint_symbol& s, int row) {
  ModuleRow out;
  out.weight = s.row_height[row] > 0.0f ? s.row_height[row] : 1.0;
  // Counted first, so the runs take one allocation rather than one per doubling.
  size_t runs =
      s.width > 0 && ZintModuleDark(s, row, 0) ? 2 : 1;  // a dark start follows an empty light run
  for (int c = 1; c < s.width; ++c)
    runs += ZintModuleDark(s, row, c) != ZintModuleDark(s, row, c - 1);
  out.runs.reserve(runs);
  bool dark = false;
  int run = 0;
  for (int c = 0; c < s.width; ++c) {
    if (ZintModuleDark(s, row, c) != dark) {
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

// The zint symbology a mode asks for instead of the row's own.
int SymbologyFor(const SymbologyRow& row, const SymbolOptions& o) {
  struct Variant {
    int from;
    const wchar_t* mode;
    int to;
  };
  static constexpr Variant kVariants[] = {
      {BARCODE_CODE128, L"SUBSET B", BARCODE_CODE128B},
      {BARCODE_CODE128, L"GS1", BARCODE_GS1_128},
      {BARCODE_AZTEC, L"RUNE", BARCODE_AZRUNE},
      {BARCODE_PDF417, L"TRUNCATED", BARCODE_PDF417COMP},
  };
  for (const Variant& v : kVariants) {
    if (row.zintSymbology == v.from && o.mode == v.mode) return v.to;
  }
  return row.zintSymbology;
}

// "STRUCTURED n/m": symbol n of m.
void SetStructuredAppend(zint_symbol& s, const std::wstring& mode) {
  constexpr std::wstring_view kPrefix = L"STRUCTURED ";
  if (!mode.starts_with(kPrefix)) return;
  const std::wstring rest = mode.substr(kPrefix.size());
  const size_t slash = rest.find(L'/');
  if (slash == std::wstring::npos) return;
  const int64_t index = platform::LeadingInt(rest.substr(0, slash));
  const int64_t count = platform::LeadingInt(rest.substr(slash + 1));
  if (count < 2 || count > 26 || index < 1 || index > count) return;
  s.structapp.index = static_cast<int>(index);
  s.structapp.count = static_cast<int>(count);
}

void ApplyOptions(zint_symbol& s, const SymbologyRow& row, const SymbolOptions& o) {
  s.symbology = SymbologyFor(row, o);
  if (o.check && row.checkOption != 0) s.option_2 = row.checkOption;
  if (!o.symbologyRule) return;
  // An Aztec level is a least share of check codewords, met by the size
  // (EncodeSymbol).
  if (o.errorLevel >= 0 && s.symbology != BARCODE_AZTEC) s.option_1 = o.errorLevel;
  if (o.symbolSize > 0) s.option_2 = o.symbolSize;
  if (o.rows > 0) s.option_3 = o.rows;
  if (o.mode == L"GS1") s.input_mode = GS1_MODE | GS1NOCHECK_MODE;
  if (s.symbology == BARCODE_DATAMATRIX && o.symbolSize == 0) {
    s.option_3 = o.mode == L"RECTANGLE" ? 0 : DM_SQUARE;
  }
  if (s.symbology == BARCODE_MAXICODE && !o.primary.empty()) {
    const std::string primary = platform::WideToUtf8(o.primary);
    primary.copy(s.primary, sizeof(s.primary) - 1);
  }
  SetStructuredAppend(s, o.mode);
}

// Under the symbology's own rule the data goes to zint as the job gives it;
// only the rows that need a fixed form (UPC/EAN digits, Codabar's frame) keep
// their rule.
ZintInput InputFor(const SymbologyRow& row, const std::wstring& data, const SymbolOptions& o) {
  if (!o.symbologyRule) return MapBarcodeData(row, data);
  if (o.mode == L"GS1" || row.rule == DataRule::kAsGiven || row.rule == DataRule::kGs1) {
    if (data.empty()) return MapBarcodeData(row, data);
    ZintInput input;
    input.ok = true;
    input.bytes = platform::WideToUtf8(data);
    input.inputMode = UNICODE_MODE;
    input.text = data;
    return input;
  }
  return MapBarcodeData(row, data);
}

// The least percent of an Aztec symbol's codewords that must be check
// codewords, when the options ask for one and leave the size free; else 0.
int AztecCheckPercent(const SymbologyRow& row, const SymbolOptions& o) {
  if (row.zintSymbology != BARCODE_AZTEC || !o.symbologyRule || o.symbolSize > 0) return 0;
  if (o.mode == L"RUNE" || o.errorLevel < 1 || o.errorLevel > 99) return 0;
  return o.errorLevel;
}

constexpr int kAztecHighestLevel = 4;

}  // namespace

EncodeResult EncodeSymbol(const SymbologyRow& row, const std::wstring& data,
                          const SymbolOptions& options) {
  EncodeResult result;
  const ZintInput input = InputFor(row, data, options);
  if (!input.ok) {
    result.reason = input.reason;
    return result;
  }
  if (input.bytes.size() > ZINT_MAX_DATA_LEN) {
    result.reason = L"data longer than " + platform::IntToWide(ZINT_MAX_DATA_LEN) + L" bytes";
    return result;
  }
  // `mask`: a QR code's mask forced (unless the options force one), or -1
  // for the library's choice. `aztecSize`: an Aztec size forced, or
  // -1 for the library's size at its highest level.
  int rc = 0;
  bool maskForced = false;
  auto encode = [&](int mask, int aztecSize = 0) {
    ZintPtr s(ZBarcode_Create());
    if (!s) return s;
    s->input_mode = input.inputMode;
    ApplyOptions(*s, row, options);
    if (aztecSize > 0) s->option_2 = aztecSize;
    if (aztecSize < 0) s->option_1 = kAztecHighestLevel;
    maskForced = mask >= 0 && (s->option_3 & kQrMaskOptionBits) == 0;
    if (maskForced) s->option_3 |= QrMaskOption(mask);
    rc = ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(input.bytes.data()),
                         static_cast<int>(input.bytes.size()));
    return s;
  };
  ZintPtr s;
  if (row.zintSymbology == BARCODE_QRCODE) {
    // Encoded with mask 0, the library's choice worked out from that (see
    // QrMask), and encoded again when it is another.
    s = encode(0);
    if (s && rc < ZINT_ERROR && maskForced) {
      const std::optional<int> mask = ChooseQrMask(*s, 0);
      if (!mask || *mask != 0) s = encode(mask ? *mask : -1);
    }
  } else if (const int percent = AztecCheckPercent(row, options); percent > 0) {
    // The smallest size whose check codewords reach the share; when none
    // does, the library's own size at its highest level.
    for (int size : AztecSizesBySide()) {
      s = encode(-1, size);
      if (!s || (rc < ZINT_ERROR && AztecMeetsCheckShare(*s, percent))) break;
      s.reset();
    }
    if (!s) s = encode(-1, -1);
  } else {
    s = encode(-1);
  }
  if (!s) {
    result.reason = L"out of memory";
    return result;
  }
  if (rc >= ZINT_ERROR) {  // warnings below ZINT_ERROR still make a symbol
    result.reason = platform::BytesToWide(s->errtxt);
    return result;
  }
  auto symbol = std::make_shared<EncodedSymbol>();
  symbol->widthModules = s->width;
  symbol->rows.reserve(static_cast<size_t>(s->rows));
  for (int r = 0; r < s->rows; ++r) symbol->rows.push_back(RunsOf(*s, r));
  const bool zintText = !row.textFromData || options.mode == L"GS1";
  symbol->text = zintText ? Utf8Text(s->text) : input.text;
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
