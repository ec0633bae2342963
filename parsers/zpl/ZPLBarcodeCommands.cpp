// The barcode commands of the device dialect, each read by its row of the
// barcode table (ZPLBarcodeTable.h); "^FD" completes the record.

#include "parsers/zpl/ZPLBarcodeTable.h"
#include "parsers/zpl/ZPLParser.h"

bool CZPLParser::Barcode(const ZPLCommand& command) {
  const ZPLBarcodeRow* row = FindZplBarcode(command.text);
  if (row == nullptr) return true;  // the command table has a row for every barcode row
  const ZPLDeviceBarcodeRule& rule = row->device;
  if (fieldState_ != ORIGIN_SET) return StopForMissingOrigin(rule.originLog, rule.originRecord);
  pendingBarcode_.clear();
  if (!ReadDeviceBarcode(command, *row, data_->fieldOrientation, data_->barcodeHeight,
                         pendingBarcode_)) {
    fieldState_ = NO_ORIGIN;
    return true;
  }
  barcodeType_ = row->type;
  AcceptObject(PENDING_BARCODE);
  return true;
}
