#include "parsers/zpl/full/ZPLFullParser.h"

#include "parsers/zpl/ZPLCommandTable.h"
#include "parsers/zpl/ZPLFieldDataEnd.h"
#include "parsers/zpl/ZPLReader.h"
#include "parsers/zpl/full/ZPLUnits.h"

ZPLFullParser::ZPLFullParser(ZPLData* data) : ZPLParserCore(data) {}

bool ZPLFullParser::ParseData(const char* bytes, int32_t length, CommandList& out) {
  std::string_view text;
  if (bytes != nullptr && length > 0) text = std::string_view(bytes, static_cast<size_t>(length));
  BeginPass();
  ZPLFieldDataEnd fieldDataEnd;
  ReadZplCommands(text, kFullReading, [&](const std::wstring& command, ZPLCommandSpan span) {
    SetCommandSpan(span.offset, span.length);
    if (auto warning = fieldDataEnd.Next(command, span)) NoteProblem(*warning);
    return RunCommand(command);
  });
  EndPass();
  HandOverCommands(out);
  return true;
}

void ZPLFullParser::BeginPass() {
  // Earlier records were handed over and belong to their callers.
  commandList_.clear();
  field_ = ZPLFullField{};
  objects_.clear();
  fieldBarcode_ = FieldBarcode::kNone;
  formatPrints_ = inFormat_ = labelStarted_ = false;
  unitFactor_ = 1.0;
  settings_.clear();
  quantity_.clear();
  held_.clear();
  holding_ = formatHasSerial_ = false;
  ResetStoredFormats();
}

// A job may end in the middle of a format: what its commands drew stays, and
// the serial numbers count one label.
void ZPLFullParser::EndPass() {
  WriteObjects();
  inFormat_ = false;
  WriteSettings();
  ReleaseRecords(L"1");
  ResetStoredFormats();
}

bool ZPLFullParser::Units(const ZPLCommand& command) {
  UnitsOfMeasure(command);  // the parameter count is checked as everywhere
  unitFactor_ = ZplUnitFactor(command.parameters, GetParserDPI(), unitFactor_);
  return true;
}

bool ZPLFullParser::RunCommand(const std::wstring& command) {
  if (!storingFormat_.empty()) return StoreCommand(command);
  const ZPLCommandRow* row = ZPLCommandTable::Find(command);
  if (row == nullptr || row->full == nullptr) {
    ReportError(L"Unsupported command: " + ShortCommand(command));
    NoteProblem({ScriptProblem::kUnsupportedCommand, command});
    return true;
  }
  if (unitFactor_ != 1.0) {
    const std::wstring inDots = ScaleZplMeasurements(command, unitFactor_);
    return (this->*row->full)(zpl::MakeCommand(inDots, row->keyword.size()));
  }
  return (this->*row->full)(zpl::MakeCommand(command, row->keyword.size()));
}
