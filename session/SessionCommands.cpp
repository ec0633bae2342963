// The command loop: one table from command kind to the operation that carries
// it out. How many parameters a kind needs, and its name for the log, come
// from the record definition (record/CommandRecord.h). Kinds not in the table
// (reserved values, END_LABEL, PRINT_CONFIGURATION_LABEL, anything outside
// 1..39) are passed over.

#include <algorithm>
#include <iterator>

#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "session/SessionManager.h"

struct SessionCommandTable {
  using Handler = bool (CSessionManager::*)(const CSessionManager::Params&);
  struct Route {
    int32_t kind;
    Handler handler;
  };

  static const Route* Find(int32_t kind) {
    using S = CSessionManager;
    static const Route kRoutes[] = {
        {START_LABEL, &S::StartLabel},
        {PRINT_LABEL, &S::PrintLabelCommand},
        {DATE_AND_TIME, &S::SetDateAndTime},
        {MIRROR_PRINTING, &S::SetMirrorPrinting},
        {PRINT_ORIENTATION, &S::SetPrintOrientation},
        {PRINT_QUANTITY, &S::SetPrintQuantity},
        {LABEL_LENGTH, &S::SetLabelLength},
        {TEAROFF_POSITION, &S::SetTearoffPosition},
        {TEXT, &S::CreateTextCommand<DATA_SOURCE_STATIC>},
        {PROMPT_TEXT, &S::CreateTextCommand<DATA_SOURCE_PROMPT>},
        {SEQUENCE_TEXT, &S::CreateTextCommand<DATA_SOURCE_SEQUENCE>},
        {DATE_TIME_TEXT, &S::CreateTextCommand<DATA_SOURCE_DATE_TIME>},
        {CUTTING_OPTION, &S::SetCuttingOption},
        {LABEL_NEGATIVE, &S::SetLabelNegative},
        {LABEL_ORIENTATION, &S::SetLabelOrientation},
        {LABEL_OFFSET, &S::SetLabelOffset},
        {PRINT_ROTATION, &S::SetPrintRotation},
        {PRINT_SPEED, &S::SetPrintSpeed},
        {PRINT_DENSITY, &S::SetPrintDensity},
        {MATCH_RIBBON, &S::SetMatchRibbon},
        {MATCH_TAPE, &S::SetMatchTape},
        {SCRIPT_ERROR, &S::ReportScriptError},
        {BARCODE, &S::CreateBarCodeCommand},
        {PROMPT_BARCODE, &S::CreateBarCodeCommand},
        {SEQUENCE_BARCODE, &S::CreateBarCodeCommand},
        {SHAPE, &S::BuildCommand<&S::CreateShape>},
        {ARROW, &S::BuildCommand<&S::CreateArrow>},
        {LINE, &S::CreateDiagonalLine},
        {POLYGON, &S::BuildCommand<&S::CreatePolygon>},
        {GRAPHIC, &S::BuildCommand<&S::CreateGraphics>},
    };
    auto it = std::find_if(std::begin(kRoutes), std::end(kRoutes),
                           [kind](const Route& r) { return r.kind == kind; });
    return it == std::end(kRoutes) ? nullptr : it;
  }
};

bool CSessionManager::ActOnCommands(const CommandList& commands) {
  ResetJobFields();
  RunCommands(commands);
  return true;
}

void CSessionManager::RunCommands(const CommandList& commands) {
  for (const LabelCommand& command : commands) {
    if (commandObserver) commandObserver(command);
    const auto* route = SessionCommandTable::Find(command.kind);
    const record::KindDefinition* definition = record::FindKind(command.kind);
    if (!route || !definition) continue;
    if (command.params.size() < definition->required) {
      LogSkipped(*definition, command.params.size());
      continue;
    }
    (this->*route->handler)(command.params);
  }
}

void CSessionManager::LogSkipped(const record::KindDefinition& definition, size_t count) {
  log_->Write(L"Command " + platform::BytesToWide(definition.name) + L" skipped: it has " +
              platform::IntToWide(static_cast<int64_t>(count)) + L" parameters, it needs " +
              platform::IntToWide(static_cast<int64_t>(definition.required)));
}

bool CSessionManager::StartLabel(const Params&) { return CreateEmptyLabel(); }
bool CSessionManager::PrintLabelCommand(const Params&) { return PrintLabel(); }
