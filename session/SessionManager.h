#pragma once
// The label session: the object the host creates once, with its drawing
// engine, and keeps while it runs. For each job intake posts, the host calls
// ProcessData; the session makes the job's parser, runs the command list it
// produces against the engine (label set-up, settings, objects, prints) and
// tells the host window where it stands (33 started, 34 per print, 35
// finished). Everything runs synchronously on the caller's thread; the host
// must not call one session from two threads at once.
//
// Ownership: the session owns its parser factory, the parser of the last job,
// its error log and its copy of the system fonts. The engine and the main
// window belong to the host and must outlive the session (either may be null:
// without an engine nothing is drawn, without a window nothing is posted).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/VInterface.h"
#include "intake/LabelCommand.h"
#include "intake/Logging.h"
#include "platform/LogFont.h"
#include "session/BarcodeObject.h"
#include "session/BarcodeTypes.h"

class CLanguageParserBase;
class CParserFactory;
struct ScriptingData;
namespace platform {
class HostWindow;
}

class CSessionManager {
 public:
  using Params = std::vector<std::wstring>;

  explicit CSessionManager(VInterface* engine);
  virtual ~CSessionManager();

  CSessionManager(const CSessionManager&) = delete;
  CSessionManager& operator=(const CSessionManager&) = delete;

  // Parses, runs and frees one job. A null job runs as an empty one.
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
  // The first listed font whose face name equals `faceName` ignoring case,
  // or null. The record stays the session's.
  const platform::LOGFONTW* GetSystemFont(const std::wstring& faceName) const;

  // Built-in labels (BuiltInLabels.cpp): each is built on the engine, printed
  // and cleared again; all return true. PrintTestLabel does nothing.
  bool PrintTestLabel();
  // `text` goes into one text box sized for `lineCount` lines.
  bool PrintConfigLabel(const std::wstring& text, int32_t lineCount);
  // One row per name, each in its own font.
  bool PrintFontLabel(const std::vector<std::wstring>& fontNames);
  // One row per picture name, as text.
  bool PrintGraphicsLabel(const std::vector<std::wstring>& pictureNames);

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

 protected:
  // --- Jobs and printing (SessionManager.cpp) ---
  // Runs every record of the list in order; always true.
  bool ActOnCommands(const CommandList& commands);
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
  // least 18 parameters (the command loop sees to it).
  void CreateGenericText(const Params& params, int32_t dataSource);
  // Bounding-box line width of the selected text object.
  void SetBorderThickness(int32_t thickness);

  // --- Barcodes (SessionBarcodes.cpp) ---
  // Takes the type name off the front of `params` and builds the barcode of
  // its table row; false (and a log line) for an unknown name. The data source
  // follows from the parameter count, not from `dataSource`.
  bool CreateBarCode(Params& params, int32_t dataSource);
  // The one builder behind every type name; `params` without the type name.
  void BuildBarCode(BarcodeId id, Params& params);
  bool ValidateBarCode(const std::wstring& data, const std::wstring& characterSet);
  // The row's data check; UPC/EAN data is padded or cut first (and logged).
  bool CheckDataOf(BarcodeId id, std::wstring& data);
  void CreateSpecificBarCode(const BarcodeObject& barcode);

  // The builders and validators under their type names: each is its row.
  void CreateBarCode_Code39(Params& p) { BuildBarCode(BarcodeId::kCode39, p); }
  void CreateBarCode_Code49(Params& p) { BuildBarCode(BarcodeId::kCode49, p); }
  void CreateBarCode_Code16K(Params& p) { BuildBarCode(BarcodeId::kCode16K, p); }
  void CreateBarCode_QRCode(Params& p) { BuildBarCode(BarcodeId::kQRCode, p); }
  void CreateBarCode_Postnet(Params& p) { BuildBarCode(BarcodeId::kPostnet, p); }
  void CreateBarCode_Postbar(Params& p) { BuildBarCode(BarcodeId::kPostbar, p); }
  void CreateBarCode_Code417(Params& p) { BuildBarCode(BarcodeId::kCode417, p); }
  void CreateBarCode_Micro417(Params& p) { BuildBarCode(BarcodeId::kMicro417, p); }
  void CreateBarCode_Code93(Params& p) { BuildBarCode(BarcodeId::kCode93, p); }
  void CreateBarCode_UCC128(Params& p) { BuildBarCode(BarcodeId::kUCC128, p); }
  void CreateBarCode_HIBC(Params& p) { BuildBarCode(BarcodeId::kHIBC, p); }
  void CreateBarCode_CodeMSI(Params& p) { BuildBarCode(BarcodeId::kCodeMSI, p); }
  void CreateBarCode_Codabar(Params& p) { BuildBarCode(BarcodeId::kCodabar, p); }
  void CreateBarCode_UPCA(Params& p) { BuildBarCode(BarcodeId::kUPCA, p); }
  void CreateBarCode_UPCE2(Params& p) { BuildBarCode(BarcodeId::kUPCE2, p); }
  void CreateBarCode_UPCE5(Params& p) { BuildBarCode(BarcodeId::kUPCE5, p); }
  void CreateBarCode_EAN13(Params& p) { BuildBarCode(BarcodeId::kEAN13, p); }
  void CreateBarCode_EAN8(Params& p) { BuildBarCode(BarcodeId::kEAN8, p); }
  void CreateBarCode_Interleaved2Of5(Params& p) { BuildBarCode(BarcodeId::kInterleaved2Of5, p); }
  void CreateBarCode_Code128(Params& p) { BuildBarCode(BarcodeId::kCode128, p); }
  void CreateBarCode_Aztec(Params& p) { BuildBarCode(BarcodeId::kAztec, p); }
  void CreateBarCode_Datamatrix(Params& p) { BuildBarCode(BarcodeId::kDatamatrix, p); }
  void CreateBarCode_Maxicode(Params& p) { BuildBarCode(BarcodeId::kMaxicode, p); }
  bool ValidateBarcode_Code39(std::wstring& d) { return CheckDataOf(BarcodeId::kCode39, d); }
  bool ValidateBarcode_Code49(std::wstring& d) { return CheckDataOf(BarcodeId::kCode49, d); }
  bool ValidateBarcode_Code16K(std::wstring& d) { return CheckDataOf(BarcodeId::kCode16K, d); }
  bool ValidateBarcode_QRCode(std::wstring& d) { return CheckDataOf(BarcodeId::kQRCode, d); }
  bool ValidateBarcode_Postnet(std::wstring& d) { return CheckDataOf(BarcodeId::kPostnet, d); }
  bool ValidateBarcode_Postbar(std::wstring& d) { return CheckDataOf(BarcodeId::kPostbar, d); }
  bool ValidateBarcode_Code417(std::wstring& d) { return CheckDataOf(BarcodeId::kCode417, d); }
  bool ValidateBarcode_Micro417(std::wstring& d) { return CheckDataOf(BarcodeId::kMicro417, d); }
  bool ValidateBarcode_Code93(std::wstring& d) { return CheckDataOf(BarcodeId::kCode93, d); }
  bool ValidateBarcode_UCC128(std::wstring& d) { return CheckDataOf(BarcodeId::kUCC128, d); }
  bool ValidateBarcode_HIBC(std::wstring& d) { return CheckDataOf(BarcodeId::kHIBC, d); }
  bool ValidateBarcode_CodeMSI(std::wstring& d) { return CheckDataOf(BarcodeId::kCodeMSI, d); }
  bool ValidateBarcode_Codabar(std::wstring& d) { return CheckDataOf(BarcodeId::kCodabar, d); }
  bool ValidateBarcode_UPCA(std::wstring& d) { return CheckDataOf(BarcodeId::kUPCA, d); }
  bool ValidateBarcode_UPCE2(std::wstring& d) { return CheckDataOf(BarcodeId::kUPCE2, d); }
  bool ValidateBarcode_UPCE5(std::wstring& d) { return CheckDataOf(BarcodeId::kUPCE5, d); }
  bool ValidateBarcode_EAN13(std::wstring& d) { return CheckDataOf(BarcodeId::kEAN13, d); }
  bool ValidateBarcode_EAN8(std::wstring& d) { return CheckDataOf(BarcodeId::kEAN8, d); }
  bool ValidateBarcode_I2OF5(std::wstring& d) {
    return CheckDataOf(BarcodeId::kInterleaved2Of5, d);
  }
  bool ValidateBarcode_Code128(std::wstring& d) { return CheckDataOf(BarcodeId::kCode128, d); }
  bool ValidateBarcode_Aztec(std::wstring& d) { return CheckDataOf(BarcodeId::kAztec, d); }
  bool ValidateBarcode_Datamatrix(std::wstring& d) {
    return CheckDataOf(BarcodeId::kDatamatrix, d);
  }
  bool ValidateBarcode_Maxicode(std::wstring& d) { return CheckDataOf(BarcodeId::kMaxicode, d); }

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

  // --- State ---
  std::unique_ptr<CLanguageParserBase> parser_;
  std::unique_ptr<CParserFactory> parserFactory_;
  VInterface* engine_;                          // not owned, may be null
  platform::HostWindow* mainWindow_ = nullptr;  // not owned, may be null
  std::unique_ptr<CLogging> log_;

  int32_t printQuantity_ = 1;
  int32_t variableDataKind_ = 0;  // 0 static, 1 sequence, 2 prompt
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
  int32_t scriptErrorCount_ = 0;

 private:
  // Command-loop adapters for the four text kinds.
  bool CreateStaticText(const Params& params);
  bool CreatePromptText(const Params& params);
  bool CreateSequenceText(const Params& params);
  bool CreateDateTimeText(const Params& params);
  bool StartLabel(const Params& params);
  bool PrintLabelCommand(const Params& params);
  // Command-loop adapters for barcodes and geometric objects, and their parts.
  bool CreateBarCodeCommand(const Params& params);
  bool CreateShapeCommand(const Params& params);
  bool CreateArrowCommand(const Params& params);
  bool CreatePolygonCommand(const Params& params);
  bool CreateGraphicsCommand(const Params& params);
  void SetBarcodeSymbol(VDrawObj* object, const BarcodeObject& barcode);
  void SetBarcodeSequence(const Params& texts);
  // Text alignment of the built-in labels: left, top, not box-bound.
  void SetBuiltInTextAlignment();
  void SetBuiltInFont(const platform::LOGFONTW* font, const std::wstring& faceName, int32_t points);
  void ResetJobFields();
  // Sets the cutter mode to cut-after-job for a built-in label; returns the
  // options as they were, for RestoreCutterMode.
  VLabelOptions ForceCutAfterJob();
  void RestoreCutterMode(const VLabelOptions& saved);

  friend struct SessionCommandTable;
};
