#include "parsers/zpl/ZPLCommandTable.h"

#include <unordered_map>

#include "parsers/zpl/ZPLBarcodeTable.h"
#include "parsers/zpl/ZPLParser.h"
#include "parsers/zpl/full/ZPLFullParser.h"

namespace {

using Device = CZPLParser;
using Full = ZPLFullParser;
using Core = ZPLParserCore;

}  // namespace

const std::vector<ZPLCommandRow>& ZPLCommandTable::Rows() {
  static const std::vector<ZPLCommandRow> rows = [] {
    std::vector<ZPLCommandRow> r = {
        // Formats and fields.
        {L"^XA", &Device::StartLabel, &Full::StartLabel},
        {L"^XZ", &Device::EndLabel, &Full::EndLabel},
        {L"^FS", &Device::EndField, &Full::FieldSeparator},
        {L"^FO", &Device::FieldOrigin, &Full::FieldOrigin},
        {L"^FT", nullptr, &Full::FieldTypeset},
        {L"^A", &Device::Font, &Full::Font},
        {L"^FD", &Device::FieldData, &Full::FieldData},
        {L"^FV", nullptr, &Full::FieldData},
        {L"^FH", nullptr, &Full::FieldHex},
        {L"^FR", &Device::FieldReverse, &Full::FieldReverse},
        {L"^FB", nullptr, &Full::FieldBlock},
        {L"^SN", nullptr, &Full::SerialNumber},
        {L"^FN", nullptr, &Full::FieldNumber},
        {L"^FX", &Core::Ignore, &Core::Ignore},
        // Defaults of later fields.
        {L"^CF", &Device::ChangeDefaultFont, &Full::DefaultFont},
        {L"^FW", &Device::FieldOrientationDefault, &Full::FieldOrientation},
        {L"^BY", &Device::BarcodeFieldDefault, &Full::BarcodeDefault},
        {L"^CI", nullptr, &Full::Encoding},
        {L"^CW", nullptr, &Full::FontAlias},
        {L"^GS", nullptr, &Full::SymbolFont},
        // Graphics and stored things.
        {L"^GB", &Device::Box, &Full::GraphicShape},
        {L"^GC", &Device::Circle, &Full::GraphicShape},
        {L"^GE", &Device::Ellipse, &Full::GraphicShape},
        {L"^GD", &Device::DiagonalLine, &Full::DiagonalLine},
        {L"^GF", &Device::GraphicField, &Full::GraphicField},
        {L"~DG", nullptr, &Full::DownloadGraphic},
        {L"^XG", nullptr, &Full::RecallGraphic},
        {L"^IM", nullptr, &Full::RecallImage},
        {L"^DF", nullptr, &Full::DownloadFormat},
        {L"^XF", nullptr, &Full::RecallFormat},
        // Label settings.
        {L"^MU", &Core::UnitsOfMeasure, &Full::Units},
        {L"^ST", &Core::SetDateAndTime, &Core::SetDateAndTime},
        {L"^PM", &Core::PrintMirror, &Core::PrintMirror},
        {L"^PQ", &Device::PrintQuantity, &Full::PrintQuantity},
        {L"^LL", &Device::LabelLength, &Full::LabelLength},
        {L"^PO", &Core::PrintOrientation, &Core::PrintOrientation},
        {L"~TA", &Core::TearOffAdjust, &Core::TearOffAdjust},
        {L"~WC", &Core::ConfigurationLabel, &Core::ConfigurationLabel},
        {L"^LR", nullptr, &Full::LabelReverse},
        {L"^LH", nullptr, &Full::LabelHome},
        {L"^LS", nullptr, &Full::LabelShift},
        {L"^LT", nullptr, &Full::LabelTop},
        {L"^PW", nullptr, &Full::PrintWidth},
        // The reader has acted on the prefix and delimiter changes.
        {L"^CC", nullptr, &Core::Ignore},
        {L"~CC", nullptr, &Core::Ignore},
        {L"^CT", nullptr, &Core::Ignore},
        {L"~CT", nullptr, &Core::Ignore},
        {L"^CD", nullptr, &Core::Ignore},
        {L"~CD", nullptr, &Core::Ignore},
        // Commands to the printer: cancel, reset, media, darkness, the store.
        {L"~JA", nullptr, &Full::CancelAll, false, true},
        {L"~JR", nullptr, &Core::Ignore, false, true},
        {L"^ID", nullptr, &Full::DeleteObject, false, true},
        {L"^MM", nullptr, &Core::Ignore, false, true},
        {L"^MN", nullptr, &Core::Ignore, false, true},
        {L"^MT", nullptr, &Core::Ignore, false, true},
        {L"~MD", nullptr, &Core::Ignore, false, true},
        {L"~SD", nullptr, &Core::Ignore, false, true},
        {L"~JS", nullptr, &Core::Ignore, false, true},
        {L"^JU", nullptr, &Core::Ignore, false, true},
        // Status queries: the raw port answers them before a job is read;
        // met in a job (a file), there is no one to answer.
        {L"~HS", nullptr, &Core::Ignore, false, false, true},
        {L"~HI", nullptr, &Core::Ignore, false, false, true},
        {L"~HQ", nullptr, &Core::Ignore, false, false, true},
        {L"~HD", nullptr, &Core::Ignore, false, false, true},
        {L"^HH", nullptr, &Core::Ignore, false, false, true},
        {L"^HZ", nullptr, &Core::Ignore, false, false, true},
        // Printer settings that change nothing on the printed picture.
        {L"^MD", nullptr, &Core::Ignore, false},
        {L"^PR", nullptr, &Core::Ignore, false},
        {L"^JM", nullptr, &Core::Ignore, false},
        {L"^MF", nullptr, &Core::Ignore, false},
        {L"^JZ", nullptr, &Core::Ignore, false},
        {L"^XB", nullptr, &Core::Ignore, false},
        {L"^SZ", nullptr, &Core::Ignore, false},
        {L"^PF", nullptr, &Core::Ignore, false},
        {L"^PA", nullptr, &Core::Ignore, false},
    };
    // Every barcode command, as its row of the barcode table says.
    for (const ZPLBarcodeRow& barcode : ZplBarcodeRows()) {
      r.push_back(
          {barcode.keyword, barcode.device.known ? &Device::Barcode : nullptr, &Full::Barcode});
    }
    return r;
  }();
  return rows;
}

bool ZPLCommandTable::IsStatusQuery(std::wstring_view command) {
  const ZPLCommandRow* row = Find(command);
  return row != nullptr && row->statusQuery;
}

// Looking a command up by its first three characters gives the same answer as
// walking the table in order: the only shorter keyword, "^A", begins no
// three-character keyword.
const ZPLCommandRow* ZPLCommandTable::Find(std::wstring_view command) {
  struct Index {
    std::unordered_map<std::wstring_view, const ZPLCommandRow*> byKeyword;
    std::vector<const ZPLCommandRow*> shorter;
  };
  static const Index index = [] {
    Index built;
    for (const ZPLCommandRow& row : Rows()) {
      if (row.keyword.size() == zpl::kKeywordLength) {
        built.byKeyword.emplace(row.keyword, &row);
      } else {
        built.shorter.push_back(&row);
      }
    }
    return built;
  }();
  for (const ZPLCommandRow* row : index.shorter) {
    if (command.starts_with(row->keyword)) return row;
  }
  auto it = index.byKeyword.find(command.substr(0, zpl::kKeywordLength));
  return it == index.byKeyword.end() ? nullptr : it->second;
}
