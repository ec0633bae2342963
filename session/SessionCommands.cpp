// The command loop: one table from command kind to the operation that carries
// it out, with the parameters the operation reads. Kinds not in the table
// (reserved values, END_LABEL, PRINT_CONFIGURATION_LABEL, anything outside
// 1..39) are passed over.

#include <algorithm>
#include <iterator>

#include "platform/Text.h"
#include "session/SessionManager.h"

struct SessionCommandTable {
  using Handler = bool (CSessionManager::*)(const CSessionManager::Params&);
  struct Route {
    int32_t kind;
    const wchar_t* name;
    size_t minParams;  // records with fewer are skipped and logged
    Handler handler;
  };

  static const Route* Find(int32_t kind) {
    using S = CSessionManager;
    static const Route kRoutes[] = {
        {START_LABEL, L"START_LABEL", 0, &S::StartLabel},
        {PRINT_LABEL, L"PRINT_LABEL", 0, &S::PrintLabelCommand},
        {DATE_AND_TIME, L"DATE_AND_TIME", 7, &S::SetDateAndTime},
        {MIRROR_PRINTING, L"MIRROR_PRINTING", 1, &S::SetMirrorPrinting},
        {PRINT_ORIENTATION, L"PRINT_ORIENTATION", 1, &S::SetPrintOrientation},
        {PRINT_QUANTITY, L"PRINT_QUANTITY", 1, &S::SetPrintQuantity},
        {LABEL_LENGTH, L"LABEL_LENGTH", 1, &S::SetLabelLength},
        {TEAROFF_POSITION, L"TEAROFF_POSITION", 1, &S::SetTearoffPosition},
        {TEXT, L"TEXT", 18, &S::CreateStaticText},
        {PROMPT_TEXT, L"PROMPT_TEXT", 18, &S::CreatePromptText},
        {SEQUENCE_TEXT, L"SEQUENCE_TEXT", 18, &S::CreateSequenceText},
        {DATE_TIME_TEXT, L"DATE_TIME_TEXT", 18, &S::CreateDateTimeText},
        {CUTTING_OPTION, L"CUTTING_OPTION", 1, &S::SetCuttingOption},
        {LABEL_NEGATIVE, L"LABEL_NEGATIVE", 1, &S::SetLabelNegative},
        {LABEL_ORIENTATION, L"LABEL_ORIENTATION", 1, &S::SetLabelOrientation},
        {LABEL_OFFSET, L"LABEL_OFFSET", 2, &S::SetLabelOffset},
        {PRINT_ROTATION, L"PRINT_ROTATION", 1, &S::SetPrintRotation},
        {PRINT_SPEED, L"PRINT_SPEED", 1, &S::SetPrintSpeed},
        {PRINT_DENSITY, L"PRINT_DENSITY", 1, &S::SetPrintDensity},
        {MATCH_RIBBON, L"MATCH_RIBBON", 1, &S::SetMatchRibbon},
        {MATCH_TAPE, L"MATCH_TAPE", 1, &S::SetMatchTape},
        {SCRIPT_ERROR, L"SCRIPT_ERROR", 0, &S::ReportScriptError},
        {BARCODE, L"BARCODE", 11, &S::CreateBarCodeCommand},
        {PROMPT_BARCODE, L"PROMPT_BARCODE", 11, &S::CreateBarCodeCommand},
        {SEQUENCE_BARCODE, L"SEQUENCE_BARCODE", 11, &S::CreateBarCodeCommand},
        {SHAPE, L"SHAPE", 10, &S::CreateShapeCommand},
        {ARROW, L"ARROW", 13, &S::CreateArrowCommand},
        {LINE, L"LINE", 5, &S::CreateDiagonalLine},
        {POLYGON, L"POLYGON", 1, &S::CreatePolygonCommand},
        {GRAPHIC, L"GRAPHIC", 6, &S::CreateGraphicsCommand},
    };
    auto it = std::find_if(std::begin(kRoutes), std::end(kRoutes),
                           [kind](const Route& r) { return r.kind == kind; });
    return it == std::end(kRoutes) ? nullptr : it;
  }
};

bool CSessionManager::ActOnCommands(const CommandList& commands) {
  printQuantity_ = 1;
  variableDataKind_ = 0;
  sequencedMark_ = 1;
  largestLabelCount_ = 1;
  for (const LabelCommand& command : commands) {
    if (commandObserver) commandObserver(command);
    const auto* route = SessionCommandTable::Find(command.kind);
    if (!route) continue;
    if (command.params.size() < route->minParams) {
      log_->Write(L"Command " + std::wstring(route->name) + L" skipped: it has " +
                  platform::IntToWide(static_cast<int64_t>(command.params.size())) +
                  L" parameters, it needs " +
                  platform::IntToWide(static_cast<int64_t>(route->minParams)));
      continue;
    }
    (this->*route->handler)(command.params);
  }
  return true;
}

bool CSessionManager::StartLabel(const Params&) { return CreateEmptyLabel(); }
bool CSessionManager::PrintLabelCommand(const Params&) { return PrintLabel(); }

bool CSessionManager::CreateStaticText(const Params& params) {
  CreateGenericText(params, DATA_SOURCE_STATIC);
  return true;
}

bool CSessionManager::CreatePromptText(const Params& params) {
  CreateGenericText(params, DATA_SOURCE_PROMPT);
  return true;
}

bool CSessionManager::CreateSequenceText(const Params& params) {
  CreateGenericText(params, DATA_SOURCE_SEQUENCE);
  return true;
}

bool CSessionManager::CreateDateTimeText(const Params& params) {
  CreateGenericText(params, DATA_SOURCE_DATE_TIME);
  return true;
}
