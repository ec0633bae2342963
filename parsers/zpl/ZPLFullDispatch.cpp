// The full dialect's rows of the command table. They come before the shared
// rows, so a keyword listed here is read the full printer's way; every other
// keyword (the barcode default, date and time, mirror, rotation, comments...)
// is read as the device reads it.

#include "parsers/zpl/ZPLParser.h"

std::vector<CZPLParser::DispatchEntry> CZPLParser::FullDialectRows() {
  using P = CZPLParser;
  constexpr uint8_t F = kFullRow;
  return {
      // Formats and fields.
      {L"^XA", &P::FullStartLabel, F},
      {L"^XZ", &P::FullEndLabel, F},
      {L"^FO", &P::FullFieldOrigin, F},
      {L"^FT", &P::FullFieldTypeset, F},
      {L"^A", &P::FullFont, F},
      {L"^CF", &P::FullDefaultFont, F},
      {L"^FD", &P::FullFieldData, F},
      {L"^FV", &P::FullFieldData, F},
      {L"^FS", &P::FullFieldSeparator, F},
      {L"^FH", &P::FullFieldHex, F},
      {L"^FR", &P::FullFieldReverse, F},
      {L"^FB", &P::FullFieldBlock, F},
      {L"^SN", &P::FullSerialNumber, F},
      {L"^FW", &P::FullFieldOrientation, F},
      // Graphics: the shared commands, placed the full way (the barcode
      // commands are too: RunFullCommand sends them to FullObject).
      {L"^GB", &P::FullObject, F},
      {L"^GC", &P::FullObject, F},
      {L"^GE", &P::FullObject, F},
      {L"^GD", &P::FullObject, F},
      // Graphics and stored things: graphic fields, downloaded graphics and
      // images, stored formats and their numbered fields.
      {L"^GF", &P::FullGraphicField, F},
      {L"~DG", &P::FullDownloadGraphic, F},
      {L"^XG", &P::FullRecallGraphic, F},
      {L"^IM", &P::FullRecallImage, F},
      {L"^DF", &P::FullDownloadFormat, F},
      {L"^XF", &P::FullRecallFormat, F},
      {L"^FN", &P::FullFieldNumber, F},
      {L"^LR", &P::FullLabelReverse, F},
      // Label settings.
      {L"^LH", &P::FullLabelHome, F},
      {L"^LS", &P::FullLabelShift, F},
      {L"^LT", &P::FullLabelTop, F},
      {L"^PW", &P::FullPrintWidth, F},
      {L"^LL", &P::FullLabelLength, F},
      {L"^PQ", &P::FullPrintQuantity, F},
      {L"^CI", &P::FullEncoding, F},
      {L"^CW", &P::FullFontAlias, F},
      {L"^GS", &P::FullSymbolFont, F},
      {L"^CC", &P::FullPrefixChange, F},  // the reader has acted on these
      {L"~CC", &P::FullPrefixChange, F},
      {L"^CT", &P::FullPrefixChange, F},
      {L"~CT", &P::FullPrefixChange, F},
      // Printer settings that change nothing on the printed picture.
      {L"^MM", &P::FullIgnored, F},
      {L"^MN", &P::FullIgnored, F},
      {L"^MT", &P::FullIgnored, F},
      {L"^MD", &P::FullIgnored, F},
      {L"~SD", &P::FullIgnored, F},
      {L"^PR", &P::FullIgnored, F},
      {L"^JU", &P::FullIgnored, F},
      {L"^JM", &P::FullIgnored, F},
      {L"^MF", &P::FullIgnored, F},
      {L"^JZ", &P::FullIgnored, F},
      {L"^XB", &P::FullIgnored, F},
      {L"^SZ", &P::FullIgnored, F},
      {L"~JS", &P::FullIgnored, F},
      {L"^PF", &P::FullIgnored, F},
      // Barcodes: each symbology as a full ZPL printer reads its options and
      // data; "^BY" gives the module, ratio and height they default to.
      {L"^BY", &P::FullBarcodeDefault, F},
      {L"^B3", &P::FullBarcode, F},
      {L"^BC", &P::FullBarcode, F},
      {L"^B2", &P::FullBarcode, F},
      {L"^BE", &P::FullBarcode, F},
      {L"^B8", &P::FullBarcode, F},
      {L"^BU", &P::FullBarcode, F},
      {L"^BA", &P::FullBarcode, F},
      {L"^BK", &P::FullBarcode, F},
      {L"^BM", &P::FullBarcode, F},
      {L"^BP", &P::FullBarcode, F},
      {L"^B4", &P::FullBarcode, F},
      {L"^BZ", &P::FullBarcode, F},
      {L"^BQ", &P::FullBarcode, F},
      {L"^BX", &P::FullBarcode, F},
      {L"^B0", &P::FullBarcode, F},
      {L"^BO", &P::FullBarcode, F},
      {L"^B7", &P::FullBarcode, F},
      {L"^BF", &P::FullBarcode, F},
      {L"^BD", &P::FullBarcode, F},
  };
}

bool CZPLParser::FullIgnored(const std::wstring&) { return true; }
