#pragma once
// The label session: the object the host creates once, with its drawing
// engine, and keeps while it runs. For each job intake posts, the host calls
// ProcessData; the session makes the job's parser, runs the command list it
// produces against the engine (label set-up, settings, objects, prints) and
// tells the host window where it stands (NOTIFY_SCRIPT_STARTED,
// NOTIFY_LABEL_PRINTING per print, NOTIFY_SCRIPT_FINISHED). Everything runs synchronously on the
// caller's thread; the host must not call one session from two threads at once.
//
// Ownership: the session owns its parser factory, the parser of the last job,
// its error log and its copy of the system fonts (or their source). The
// engine and the main window belong to the host and must outlive the session
// (either may be null: without an engine nothing is drawn, without a window
// nothing is posted).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/VInterface.h"
#include "intake/Logging.h"
#include "parsers/zpl/ZplDialect.h"
#include "platform/LogFont.h"
#include "record/LabelCommand.h"
#include "session/BarcodeObject.h"
#include "session/BarcodeTypes.h"

class CLanguageParserBase;
struct ScriptProblem;
class CParserFactory;
namespace record {
struct KindDefinition;
}
struct ScriptingData;
namespace platform {
class HostWindow;
}

class CSessionManager {
 public:
  using Params = std::vector<std::wstring>;

  // The session's own error log, beside the parsers' logs.
  static constexpr const wchar_t* kLogName = kSessionLogName;

  explicit CSessionManager(VInterface* engine);
  virtual ~CSessionManager();

  CSessionManager(const CSessionManager&) = delete;
  CSessionManager& operator=(const CSessionManager&) = delete;

  // Parses, runs and frees one job. A null job runs as an empty one. The
  // job's lines in each error log are capped (intake/LogLimits.h).
  void ProcessData(std::unique_ptr<ScriptingData> job);

  // The media the host has loaded. Of the rotation flags only 0x20, 0x40 and
  // 0x80 count, and the lowest of them that is set decides: 0x20 rotation 45
  // portrait, 0x40 rotation 0 portrait, 0x80 rotation 180 landscape; none of
  // them rotation 0 landscape.
  void SetInstalledRotation(uint32_t flags);
  void SetInstalledPartNames(const std::wstring& tape, const std::wstring& ribbon);

  // Label offsets in inches, applied at every print.
  void setXOffset(float inches) { labelOffsetX_ = inches; }
  void setYOffset(float inches) { labelOffsetY_ = inches; }
  float getXOffset() const { return labelOffsetX_; }
  float getYOffset() const { return labelOffsetY_; }

  // Replaces the session's font list with engine copies of `fonts`; the
  // caller keeps its own records.
  void SetSystemFonts(const std::vector<platform::LOGFONTW>& fonts);
  // Where the font list comes from, for a host that is still reading it:
  // the session calls `source` on its own thread when a command first looks
  // a font up, and keeps what it returns as SetSystemFonts would (a source
  // that throws is asked again at the next look-up, never one that
  // returned); a job that names no font never waits for it. Replaces the
  // list until then.
  using SystemFontSource = std::function<std::vector<platform::LOGFONTW>()>;
  void SetSystemFontSource(SystemFontSource source);
  // The first listed font whose face name equals `faceName` ignoring case,
  // or null; takes the list from its source first if need be. The record
  // stays the session's.
  const platform::LOGFONTW* GetSystemFont(const std::wstring& faceName);

  // Built-in labels (BuiltInLabels.cpp): each is built on the engine, printed
  // and cleared again; all return true. PrintTestLabel does nothing.
  bool PrintTestLabel();
  // `text` goes into one text box sized for `lineCount` lines.
  bool PrintConfigLabel(const std::wstring& text, int32_t lineCount);
  // One row per name, each in its own font.
  bool PrintFontLabel(const std::vector<std::wstring>& fontNames);
  // One row per picture name, as text.
  bool PrintGraphicsLabel(const std::vector<std::wstring>& pictureNames);

  // The caret-and-tilde dialect the following jobs are read in (device
  // until set): the printer's own, or a full ZPL printer's.
  void SetZplDialect(ZplDialect dialect);

  // Where notifications go (the application's main window); null posts nothing.
  void SetMainWindow(platform::HostWindow* window) { mainWindow_ = window; }

  // The host's registered window message, sent with every notification.
  uint32_t messageId = 0;
  // Asked whether to print although a required part is not installed;
  // `which` is 1 for the tape, 0 for the ribbon. Empty: print anyway.
  std::function<bool(int which)> consumableMismatchCallback;
  // Asked whether to print although the job reported script errors. Empty:
  // print anyway.
  std::function<bool()> scriptErrorCallback;
  // Called just before each print starts. May be empty.
  std::function<void()> beforePrintCallback;
  // Shown each record of a job just before the session runs it, on the
  // session's thread; the host's job report learns the job's SCRIPT_ERROR
  // texts and its labels from it. Must not call back into the session. May be
  // empty.
  std::function<void(const LabelCommand&)> commandObserver;
  // Told of each script problem the job's parser meets (an unknown command,
  // say), as data rather than log text, on the session's thread. May be
  // empty.
  std::function<void(const ScriptProblem&)> problemObserver;

 protected:
  // --- Jobs and printing (SessionManager.cpp) ---
  // Runs every record of the list in order; always true.
  bool ActOnCommands(const CommandList& commands);
  // Parses and runs one job (not null) with the parser made for it.
  void RunJob(const ScriptingData* job);
  // The records in order, without resetting the job fields first.
  void RunCommands(const CommandList& commands);
  bool CreateEmptyLabel();
  // False when the print-time check refused; nothing is printed then.
  bool PrintLabel();
  // Tape, ribbon and script-error checks; each requirement lasts one print.
  bool DoPrintTimeCheck();
  bool ReportScriptError(const Params& params);
  void SetCurrentLabelAutosizeLength();
  static int32_t ConvertToInt(const std::wstring& text);
  void Notify(int32_t code, int64_t value);

  // --- Setting commands (SessionSettings.cpp) ---
  bool SetDateAndTime(const Params& params);
  bool SetMirrorPrinting(const Params& params);
  bool SetPrintOrientation(const Params& params);
  bool SetPrintQuantity(const Params& params);
  bool SetLabelLength(const Params& params);
  bool SetTearoffPosition(const Params& params);
  bool SetCuttingOption(const Params& params);
  bool SetLabelNegative(const Params& params);
  bool SetLabelOrientation(const Params& params);
  bool SetLabelOffset(const Params& params);
  bool SetPrintRotation(const Params& params);
  bool SetPrintSpeed(const Params& params);
  bool SetPrintDensity(const Params& params);
  bool SetMatchRibbon(const Params& params);
  bool SetMatchTape(const Params& params);

  // --- Text (SessionText.cpp) ---
  // Builds one text object; `dataSource` is a DATA_SOURCE_* value. Needs at
  // least record::TextParam::kRequired parameters (the command loop sees to it).
  void CreateGenericText(const Params& params, int32_t dataSource);
  // Bounding-box line width of the selected text object.
  void SetBorderThickness(int32_t thickness);
  // Typeset text (SessionTypeset.cpp): the positions the full ZPL dialect
  // appends to a text record, copied into the text format; a record without
  // them leaves the format as it is.
  static void ApplyTypesetting(const Params& params, VTextFormat& format);
  // The font's width scale a typeset record asks for; 0.0 (natural) otherwise.
  static double TypesetWidthScale(const Params& params);

  // --- Barcodes (SessionBarcodes.cpp) ---
  // Builds the barcode of the type named at the front of `params`; false (and
  // a log line) for an unknown name. The data source follows from the
  // parameter count, not from `dataSource`.
  bool CreateBarCode(const Params& params, int32_t dataSource);
  // The one builder behind every type name.
  void BuildBarCode(const BarcodeType& type, const Params& params);
  // The row's data check; UPC/EAN data is padded or cut first (and logged).
  bool CheckDataOf(const BarcodeType& type, std::wstring& data);
  void CreateSpecificBarCode(const BarcodeObject& barcode);

  // --- Shapes, lines, arrows, polygons and pictures (SessionShapes.cpp) ---
  void CreateShape(const Params& params);
  void CreateArrow(const Params& params);
  // Always true.
  bool CreateDiagonalLine(const Params& params);
  void CreatePolygon(const Params& params);
  void CreateGraphics(const Params& params);
  // Engine object type of a shape name (exact), 0 for an unknown name.
  static int32_t GetObjectShapeIdentifier(const std::wstring& name);

  // The engine's DPI and units per inch, with unusable values (below 1)
  // replaced by 300 and 1000 so that conversions never divide by zero.
  int32_t EngineDpi();
  int32_t EngineUnitsPerInch();

  // Dots of a record's positions to engine units. A builder asks the engine
  // for its scale once (DPI, then units per inch) and converts with it.
  struct EngineScale {
    int32_t dpi;
    int32_t unitsPerInch;
    int32_t ToUnits(const Params& params, size_t index) const;
  };
  EngineScale GetEngineScale();

  // --- State ---
  std::unique_ptr<CLanguageParserBase> parser_;
  std::unique_ptr<CParserFactory> parserFactory_;
  VInterface* engine_;                          // not owned, may be null
  platform::HostWindow* mainWindow_ = nullptr;  // not owned, may be null
  std::unique_ptr<CLogging> log_;

  int32_t printQuantity_ = 1;
  int32_t variableDataKind_ = kVVariableNone;  // a VVariableData
  int32_t sequencedMark_ = 1;
  int32_t largestLabelCount_ = 1;
  float labelOffsetX_ = 0.0f;  // inches
  float labelOffsetY_ = 0.0f;
  bool matchRibbonPending_ = false;
  bool matchTapePending_ = false;
  std::wstring requiredTape_;
  std::wstring requiredRibbon_;
  std::wstring installedRibbon_;
  std::wstring installedTape_;
  int32_t installedRotation_ = 0;  // 0, 45 or 180
  bool installedPortrait_ = true;
  std::vector<std::unique_ptr<platform::LOGFONTW>> systemFonts_;
  SystemFontSource systemFontSource_;  // empty once systemFonts_ holds the list
  int32_t scriptErrorCount_ = 0;

 private:
  // Command-loop adapters.
  template <int32_t kDataSource>
  bool CreateTextCommand(const Params& params) {
    CreateGenericText(params, kDataSource);
    return true;
  }
  template <void (CSessionManager::*kBuilder)(const Params&)>
  bool BuildCommand(const Params& params) {
    (this->*kBuilder)(params);
    return true;
  }
  bool StartLabel(const Params& params);
  bool PrintLabelCommand(const Params& params);
  bool CreateBarCodeCommand(const Params& params);
  void LogSkipped(const record::KindDefinition& definition, size_t count);

  // The steps of CreateGenericText, in the order it takes them.
  int32_t TextDataSource(const Params& params, int32_t dataSource);
  VDrawObj* CreateTextObject(const Params& params, const EngineScale& scale);
  VTextAlignment TextAlignmentFor(const Params& params);
  void SetTextDataSource(const Params& params, int32_t dataSource);
  void SetTextFont(const Params& params);
  void PlaceFreeformText(const Params& params, const EngineScale& scale);

  // Serial numbers of texts and barcodes.
  static SerialSequence TextSequence(const Params& params);
  static SerialSequence BarcodeSequence(const Params& params);
  static SymbolDetails BarcodeDetails(const Params& params);
  void SetUpSequence(const SerialSequence& sequence);

  void SetBarcodeSymbol(VDrawObj* object, const BarcodeObject& barcode);
  // What the engine is told about the current label when it is printed.
  VPrintData CurrentPrintData() const;
  // Text alignment of the built-in labels: left, top, not box-bound.
  void SetBuiltInTextAlignment();
  void SetBuiltInFont(const platform::LOGFONTW* font, const std::wstring& faceName, int32_t points);
  // The font label's caption: `name` in a readable face inside `box`.
  void AddFontCaption(const VRect& box, const std::wstring& name, const platform::LOGFONTW* font,
                      int32_t points);
  void ResetJobFields();
  // Sets the cutter mode to cut-after-job for a built-in label; returns the
  // options as they were, for RestoreCutterMode.
  VLabelOptions ForceCutAfterJob();
  void RestoreCutterMode(const VLabelOptions& saved);

  friend struct SessionCommandTable;
};
