// The BARCODE record of a full-dialect barcode field: the shared positions,
// then the symbol positions only ZPL writes, so the session and the renderer
// print the symbol the way a full ZPL printer does.

#include "parsers/zpl/ZPLOrientation.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "parsers/zpl/full/ZPLPlacement.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

LabelCommand ZPLFullParser::BarcodeRecord(const std::wstring& fieldData) const {
  const ZPLFullBarcode& b = barcode_;
  const ZPLBarcodeData read = ReadZplBarcodeData(b, fieldData);
  if (!read.changed.empty()) {
    ScriptProblem changed;
    changed.kind = ScriptProblem::kWarning;
    changed.message = std::wstring(BarcodeName(b.type)) + L" data changed: " + read.changed;
    NoteProblem(changed);
  }
  const bool qr = b.type == BarcodeId::kQRCode;
  const ZPLPlacement at =
      PlaceZplObject(field_, qr ? ZPLObjectKind::kQrCode : ZPLObjectKind::kSymbol, b.height);
  using P = record::BarcodeParam;
  record::RecordWriter r(BARCODE, P::kSymbol);
  r.Set(P::kType, std::wstring(BarcodeName(b.type)))
      .Set(P::kData, read.data)
      .Set(P::kX, at.x)
      .Set(P::kY, at.y)
      .Set(P::kHeight, b.height)
      .Set(P::kRotation, ZplOrientationDegrees(b.orientation))
      .SetFlag(P::kHumanReadable, b.line)
      .Set(P::kHumanReadableTop, b.lineAbove ? L"TOP" : L"BOTTOM")
      .Set(P::kDensity, DensityInMils(platform::IntToWide(b.moduleDots)))
      .Set(P::kRatio, b.ratio)
      .SetFlag(P::kCheckCharacter, b.check)
      .Set(P::kModuleDots, b.moduleDots)
      .Set(P::kSymbolRule, L"SYMBOLOGY")
      .Set(P::kSymbolMode, read.mode)
      .Set(P::kPrimary, read.primary);
  if (read.errorLevel >= 0) r.Set(P::kErrorLevel, read.errorLevel);
  if (b.symbolSize > 0) r.Set(P::kSymbolSize, b.symbolSize);
  if (b.rows > 0) r.Set(P::kRows, b.rows);
  if (b.rowDots > 0) r.Set(P::kRowDots, b.rowDots);
  if (at.fromBottom) r.Set(P::kAnchor, L"BOTTOM");
  return r.Take();
}
