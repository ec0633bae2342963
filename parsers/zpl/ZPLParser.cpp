#include "parsers/zpl/ZPLParser.h"

#include "parsers/zpl/ZPLCommandTable.h"
#include "parsers/zpl/ZPLFieldDataEnd.h"
#include "parsers/zpl/ZPLReader.h"

CZPLParser::CZPLParser(ZPLData* data) : ZPLParserCore(data) { pendingObject_ = PENDING_NONE; }

bool CZPLParser::ParseData(const char* bytes, int32_t length, CommandList& out) {
  std::string_view text;
  if (bytes != nullptr && length > 0) text = std::string_view(bytes, static_cast<size_t>(length));
  // Cut straight from the bytes, a command at a time: a large job is never
  // held again as wide text.
  BeginPass();
  ZPLFieldDataEnd fieldDataEnd;
  ReadZplCommands(text, kDeviceReading, [&](const std::wstring& command, ZPLCommandSpan span) {
    SetCommandSpan(span.offset, span.length);
    if (auto warning = fieldDataEnd.Next(command, span)) NoteProblem(*warning);
    return RunCommand(command);
  });
  HandOverCommands(out);
  return true;
}

bool CZPLParser::parseCommandList(const std::vector<std::wstring>& commands) {
  BeginPass();
  for (const std::wstring& command : commands) {
    if (!RunCommand(command)) return false;
  }
  return true;
}

bool CZPLParser::FullDialectHandles(std::wstring_view command) {
  const ZPLCommandRow* row = ZPLCommandTable::Find(command);
  return row != nullptr && row->full != nullptr && (row->fullPrints || row->hostCommand);
}

void CZPLParser::BeginPass() {
  // Earlier records were handed over and belong to their callers.
  commandList_.clear();
  originX_.clear();
  originY_.clear();
  pendingFont_.clear();
  pendingBarcode_.clear();
}

bool CZPLParser::RunCommand(const std::wstring& command) {
  const ZPLCommandRow* row = ZPLCommandTable::Find(command);
  if (row == nullptr || row->device == nullptr) {
    ReportError(L"Unsupported command: " + command);
    NoteProblem({ScriptProblem::kUnsupportedCommand, command});
    return true;
  }
  return (this->*row->device)(zpl::MakeCommand(command, row->keyword.size()));
}

bool CZPLParser::StopForMissingOrigin(const std::wstring& logMessage,
                                      const std::wstring& recordMessage) {
  LogError(logMessage);
  if (recordMessage != logMessage) NoteScriptError(recordMessage);
  Append(SCRIPT_ERROR, {recordMessage});
  return false;
}
