// The full dialect's barcode commands: each is read by its row of the
// barcode table (ZPLBarcodeTable.h), the full way where the row says how and
// as the device reads it otherwise; "^BY" sets the module, ratio and height
// every 1-D symbology defaults to. The field's record is written when it is
// separated (EmitBarcode).

#include <algorithm>
#include <cmath>

#include "parsers/zpl/ZPLBarcodeTable.h"
#include "parsers/zpl/ZPLOrientation.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "parsers/zpl/full/ZPLPlacement.h"
#include "platform/Text.h"

using zpl::LetterAt;
using zpl::NumberAt;
using zpl::ParameterAt;

namespace {

using B = ZPLFullBarcode;
using Params = std::vector<std::wstring>;

bool IsYes(const Params& p, size_t i, bool fallback) {
  return ParameterAt(p, i).empty() ? fallback : platform::ToUpperChar(ParameterAt(p, i)[0]) == L'Y';
}

void ReadLayout(std::wstring_view layout, const Params& p, B& b) {
  for (size_t i = 0; i < layout.size(); ++i) {
    const wchar_t letter = layout[i];
    if (letter == L'o') b.orientation = LetterAt(p, i, b.orientation);
    if (letter == L'h') b.height = NumberAt(p, i, b.height, 1, 32000);
    if (letter == L'f') b.line = IsYes(p, i, true);
    if (letter == L'g') b.lineAbove = IsYes(p, i, false);
    if (letter == L'e' || letter == L'E') b.check = IsYes(p, i, letter == L'E');
    if (letter == L'c') b.check = LetterAt(p, i, L'B') != L'A';
    if (letter == L'm') b.code128Mode = LetterAt(p, i, L'N');
    if (letter == L's') b.startStop[0] = LetterAt(p, i, L'A');
    if (letter == L't') b.startStop[1] = LetterAt(p, i, L'A');
    if (letter == L'i') {
      b.line = LetterAt(p, i, L'N') != L'N';
      b.lineAbove = LetterAt(p, i, L'N') == L'A';
    }
  }
}

}  // namespace

bool ZPLFullParser::Barcode(const ZPLCommand& command) {
  const ZPLBarcodeRow* row = FindZplBarcode(command.text);
  if (row == nullptr || !ClaimField(command)) return true;
  if (row->full.known) {
    ReadBarcodeCommand(command, *row);
    return true;
  }
  // The extension symbols are read as the device reads them.
  fieldBarcode_ = FieldBarcode::kNone;
  if (ReadDeviceBarcode(command, *row, std::wstring(1, data_->full.orientation),
                        data_->barcodeHeight, deviceBarcode_)) {
    deviceType_ = row->type;
    fieldBarcode_ = FieldBarcode::kDevice;
  }
  return true;
}

void ZPLFullParser::ReadBarcodeCommand(const ZPLCommand& command, const ZPLBarcodeRow& row) {
  const ZPLFullSettings& full = data_->full;
  B b;
  b.type = row.type;
  b.data = row.full.data;
  if (b.data == B::Data::kDigits) b.digits = GetBarcodeVocabularyRow(row.type).digits;
  b.orientation = full.orientation;
  b.height = full.barcodeHeight;
  b.moduleDots = full.barcodeModule;
  b.ratio = full.barcodeRatio;
  Params p;
  zpl::SplitParameters(command.parameters, p);
  ReadLayout(row.full.layout, p, b);
  if (!IsZplOrientation(b.orientation)) b.orientation = full.orientation;
  if (row.full.reader != nullptr) {
    row.full.reader(p, std::max<int64_t>(1, GetParserDPI() / 100), b);
    if (b.data != B::Data::kMaxiCode) b.line = false;
  }
  barcode_ = std::move(b);
  fieldBarcode_ = FieldBarcode::kFull;
}

// "^BY" module width 1-10 dots, wide-to-narrow ratio 2.0-3.0, bar height.
bool ZPLFullParser::BarcodeDefault(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  if (!Numbers(command, 3, L"BARCODE FIELD DEFAULT", p)) return true;
  ZPLFullSettings& full = data_->full;
  full.barcodeModule = NumberAt(p, 0, full.barcodeModule, 1, 10);
  if (!ParameterAt(p, 1).empty()) {
    const double ratio = platform::LeadingNumber(ParameterAt(p, 1));
    const int64_t tenths = std::lround(std::clamp(ratio, 2.0, 3.0) * 10.0);
    full.barcodeRatio = platform::IntToWide(tenths / 10) + L"." + platform::IntToWide(tenths % 10);
  }
  full.barcodeHeight = NumberAt(p, 2, full.barcodeHeight, 1, 32000);
  return true;
}

// The field's barcode with its data; a device-read one is placed like the
// full dialect's linear symbols, its height being its second parameter.
void ZPLFullParser::EmitBarcode() {
  const std::wstring data = DecodedData();
  formatPrints_ = true;
  if (fieldBarcode_ == FieldBarcode::kFull) {
    Append(BarcodeRecord(data));
    return;
  }
  const int64_t height = deviceBarcode_.size() > 1 ? platform::LeadingInt(deviceBarcode_[1]) : 0;
  const ZPLPlacement at = PlaceZplObject(field_, ZPLObjectKind::kLinearBarcode, height);
  Append(DeviceBarcodeRecord(deviceType_, deviceBarcode_, data, platform::IntToWide(at.x),
                             platform::IntToWide(at.y)));
}
