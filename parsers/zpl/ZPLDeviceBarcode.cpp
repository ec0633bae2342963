// Barcode commands read by the device's rules (ZPLBarcodeTable.h): the
// parameters rearranged so that "^FD" finds orientation, height and the three
// flags at positions 0-4, and the BARCODE record the field data completes.
// The device reads every barcode this way; the full dialect reads the two it
// has no reading of its own for ("^B9", "^BS").

#include <algorithm>

#include "parsers/zpl/ZPLBarcodeTable.h"
#include "parsers/zpl/ZPLOrientation.h"
#include "parsers/zpl/ZPLParserCore.h"
#include "platform/Text.h"

using zpl::ParameterAt;

namespace {

using Rule = ZPLDeviceBarcodeRule;
constexpr size_t kCanonicalPositions = 5;

// A QR field's data opens with its switches: the error correction level
// (H, Q, M or L), an optional input mode, and a comma ("QA,https://..."). They
// are not part of the symbol's content; kept, they made every such field
// fail the data check (the comma) or encode the wrong text.
std::wstring QrContent(const std::wstring& data) {
  const size_t comma = data.find(L',');
  if (comma == std::wstring::npos || comma == 0 || comma > 3) return data;
  if (std::wstring(L"HQML").find(platform::ToUpperChar(data[0])) == std::wstring::npos) {
    return data;
  }
  return data.substr(comma + 1);
}

}  // namespace

bool ZPLParserCore::ReadDeviceBarcode(const ZPLCommand& command, const ZPLBarcodeRow& row,
                                      const std::wstring& orientation, const std::wstring& height,
                                      std::vector<std::wstring>& params) {
  const Rule& rule = row.device;
  if (!rule.checked) {
    // Taken as written; the positions "^FD" reads are made to exist.
    zpl::SplitParameters(command.parameters, params);
    if (params.size() < kCanonicalPositions) params.resize(kCanonicalPositions);
    return true;
  }
  zpl::ParameterRule checks{rule.most, {}, {}, rule.countMessage};
  for (const Rule::Default& d : rule.defaults) {
    checks.defaults.push_back(d.source == Rule::Default::ORIENTATION ? orientation
                              : d.source == Rule::Default::HEIGHT    ? height
                                                                     : std::wstring(d.text));
  }
  for (size_t position : rule.integers) checks.numeric.push_back({position});
  if (!ReadParameters(command.parameters, checks, params)) {
    params.clear();
    return false;
  }
  if (rule.layout == Rule::MOVED && params.size() > 1) {
    std::wstring moved = std::move(params[1]);
    params.erase(params.begin() + 1);
    params.push_back(std::move(moved));
  } else if (rule.layout == Rule::PADDED) {
    params.emplace_back();
  }
  return true;
}

LabelCommand ZPLParserCore::DeviceBarcodeRecord(BarcodeId type, const std::vector<std::wstring>& p,
                                                const std::wstring& fieldData,
                                                const std::wstring& x,
                                                const std::wstring& y) const {
  const std::wstring data = type == BarcodeId::kQRCode ? QrContent(fieldData) : fieldData;
  if (type == BarcodeId::kUPCE2 && data.size() > 13) type = BarcodeId::kUPCE5;
  std::wstring size = ParameterAt(p, 1);
  if (type == BarcodeId::kAztec) {
    size = L"600";
  } else if (type == BarcodeId::kCodeMSI) {
    size = ParameterAt(p, 2);
  } else if (type == BarcodeId::kQRCode) {
    size = L"300";
  }
  const std::wstring& orientation = ParameterAt(p, 0);
  using P = record::BarcodeParam;
  record::RecordWriter barcode(BARCODE, P::kRequired);
  barcode.Set(P::kType, std::wstring(BarcodeName(type)))
      .Set(P::kData, data)
      .Set(P::kX, x)
      .Set(P::kY, y)
      .Set(P::kHeight, size)
      .Set(P::kRotation, ZplOrientationDegrees(orientation.size() == 1 ? orientation[0] : L'\0'))
      .SetFlag(P::kHumanReadable, ParameterAt(p, 2) == L"Y")
      .Set(P::kHumanReadableTop, ParameterAt(p, 3) == L"Y" ? L"TOP" : L"BOTTOM")
      .Set(P::kDensity, DensityInMils(data_->density))
      .Set(P::kRatio, data_->ratio)
      .SetFlag(P::kCheckCharacter, ParameterAt(p, 4) == L"Y");
  // A module of n dots prints n dots: the density alone, rounded to the
  // session's steps, printed "^BY1", "^BY3" and "^BY5" two, four and six wide.
  const int64_t module = platform::LeadingInt(data_->density);
  if (module > 0) barcode.Set(P::kModuleDots, std::min<int64_t>(module, 1000));
  return barcode.Take();
}
