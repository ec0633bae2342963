#pragma once
// Vellum: the drawing engine that prints every label. It keeps the current
// label as objects (a LabelModel) and, at StartPrint, turns every queued print
// job into printed labels: each is rendered to a monochrome raster at the
// printer's resolution and handed to the host's OutputSink, with a JSON
// description and a PDF rendering on demand. What it could not do is
// collected per print (LastPrintDiagnostics). The host owns the engine and the
// sink; the session calls the engine through VInterface, on one thread.

#include <deque>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/VInterface.h"
#include "vellum/BarcodeRenderer.h"
#include "vellum/Diagnostics.h"
#include "vellum/LabelModel.h"
#include "vellum/LabelWorker.h"
#include "vellum/OutputSink.h"
#include "vellum/PictureCache.h"
#include "vellum/PrintRun.h"
#include "vellum/RenderPool.h"
#include "vellum/TextProperties.h"
#include "vellum/ZintBarcodes.h"

namespace vellum {

// What the host tells the engine about its printer. Values out of range are
// brought into range (dpi 72..1200, units per inch 1..100000, media width
// 0.25..20 inches, media length 0 or 0.25..50 inches).
struct VellumSettings {
  std::wstring printerName = L"Vellum";
  int dpi = 300;
  double mediaWidthInches = 4.0;
  double mediaLengthInches = 0.0;  // 0: continuous media; a label without its own length
                                   // is as long as its content
  bool mediaLengthOnly = false;    // the media length wins over the label's own
  int unitsPerInch = 1000;
  bool mediaPortrait = true;
  OutputSink* sink = nullptr;                 // not owned; null: labels are rendered, not kept
  ClockSource clock;                          // empty: platform::Now
  PromptAnswerer promptAnswerer;              // empty: every prompt prints its default
  const BarcodeRenderer* barcodes = nullptr;  // not owned; null: the engine's ZintBarcodes
  // Decoded pictures one label may hold at once (PictureCache.h); 0: no limit.
  int64_t pictureBytesPerLabel = kDefaultPictureBytesPerLabel;
  // Each print's diagnostics also name the objects that lie partly or wholly
  // outside their label (DiagnosticKind::kOutsideLabel): for checking labels.
  bool checkPlacement = false;
};

// One printed label of the last print, for the host's summary.
struct PrintedSummary {
  PrintedLabelInfo info;
  std::vector<std::wstring> values;
};

class VellumEngine : public VInterface {
 public:
  explicit VellumEngine(VellumSettings settings = {});
  ~VellumEngine() override;

  // What went wrong during the last StartPrint.
  const std::vector<Diagnostic>& LastPrintDiagnostics() const { return diagnostics_.entries(); }
  const std::vector<PrintedSummary>& LastPrint() const { return lastPrint_; }
  const LabelModel& model() const { return model_; }

  // --- Deferred delivery: a host's batches ---
  // From now on StartPrint only queues its labels, rendered ahead on
  // `threads` threads (none: each label is rendered as it is delivered), and
  // the host delivers them job by job, in order, with DeliverDeferredJob, so
  // the session goes on with the next job meanwhile. Labels reach the sink
  // exactly as StartPrint would have delivered them.
  void DeferDelivery(int threads);
  // The prints StartPrint queues from now on belong to a new job; its number.
  int64_t BeginDeferredJob() { return ++deferredJob_; }
  // Delivers the prints of `job`, which must be the oldest job queued, and
  // returns what they could not do, print after print (each print's list as
  // LastPrintDiagnostics would have said it). May throw what rendering threw.
  std::vector<Diagnostic> DeliverDeferredJob(int64_t job);
  // While `job` is the oldest job queued and still running, delivers its
  // oldest prints, keeping enough queued to keep the threads busy, so that a
  // job of many labels does not hold them all; returns what those prints
  // could not do, as DeliverDeferredJob does. The rest follows with it.
  std::vector<Diagnostic> DeliverDeferredAhead(int64_t job);
  // Forgets every label queued and not delivered.
  void DropDeferredJobs();

  // --- VInterface ---
  int32_t GetPrinterDPI() override { return printer_.dpi; }
  int32_t GetUnitsPerInch() override { return printer_.unitsPerInch; }
  VSize GetPrinterPrintableArea() override;
  const VPrinterSettings* GetPrinterObj() override { return &printerObj_; }
  VWindow* GetParentWnd() override { return nullptr; }

  bool CreateLabel(const std::wstring& name, int32_t width, int32_t length, int32_t marginLeft,
                   int32_t marginTop, int32_t clearObjects) override;
  void SetAppType(const std::wstring& appType) override;
  int32_t IsLabelPrinterPortrait(int32_t source, const void* reserved) override;
  void SetLabelOrientation(int32_t portrait, int32_t labelIndex, const void* reserved) override;
  void SetPageSizeUnlimited(int32_t unlimited, const void* reserved) override;
  bool GetLabelData(VLabelData& data, int32_t labelIndex, const void* reserved) override;
  bool SetLabelData(const VLabelData& data) override;
  void SetLabelOffsets(const void* reserved, float xInches, float yInches) override;
  void RotateLabelTenthsDeg(int32_t labelIndex, const void* reserved, int32_t tenths) override;
  void RotateLabel180Deg(int32_t labelIndex, const void* reserved) override;
  bool SaveToFile(const std::wstring& cardPath, const std::wstring& description,
                  int32_t flags) override;
  void DeleteAllLabelObjects() override;

  int32_t GetNextFreeObjectId() override { return model_.NextFreeId(); }
  VDrawObj* CreateNewObject(int32_t type, const VRect& rect, int32_t id) override;
  VDrawObj* CreateNewGraphic(VPoint topLeft, VPoint bottomRight, const std::wstring& cardPath,
                             int32_t type, int32_t id, bool keepAspect, bool reverse) override;
  void ClearMultiLinePoints() override { pendingPoints_.clear(); }
  void AddMultiLinePoints(VPoint point) override;
  VDrawObj* CreateMultiLine() override;

  void SetSelectByObject(VDrawObj* object) override;
  bool SetSelectByID(int32_t id) override;
  int32_t GetSelectedObjectType() override;
  std::vector<VDrawObj*> GetSelectedObjects() override;
  bool OpenSelected() override;
  void CloseSelected(int32_t) override {}
  void SetObjectAutoSize(VDrawObj* object, int32_t autoSize) override;
  void SetHatchPattern(int32_t pattern, int32_t applyToSelected) override;
  void SetPenWidth(float points) override;
  void SetSelectedInk(int32_t ink) override;
  void SetRectangleRoundness(VPoint ellipse) override;
  void RotateSelectedObject(int32_t degrees) override;
  void SetTextFromObject(VDrawObj* object, const std::wstring& text, bool redraw) override;
  VInterfaceTextProperties* GetVInterfaceTextProperties() override { return &textProperties_; }
  bool CopyLogicalFont(const platform::LOGFONTW& source, platform::LOGFONTW& copy,
                       int32_t flags) override;

  bool GetBarcodeLayout(VBarcodeLayout& layout) override;
  bool SetBarcodeLayout(const VBarcodeLayout& layout) override;
  bool GetLabelOptions(VLabelOptions& options) override;
  bool SetLabelOptions(const VLabelOptions& options) override;
  bool GetLineFormat(VLineFormat& format) override;
  bool SetLineFormat(const VLineFormat& format) override;
  bool GetTextFormat(VTextFormat& format) override;
  bool SetTextFormat(const VTextFormat& format) override;
  bool GetBarcodeFormat(VBarcodeFormat& format) override;
  bool SetBarcodeFormat(const VBarcodeFormat& format) override;
  bool GetTextAlignment(VTextAlignment& alignment) override;
  bool SetTextAlignment(const VTextAlignment& alignment) override;

  void SetDataSource(int32_t source) override;
  void SetSequence(const std::wstring& start, int32_t labelCount, int32_t increment,
                   int32_t repeatEach, const std::wstring& prefix, const std::wstring& postfix,
                   const std::wstring& format) override;
  void SetDateTimeFormat(const std::wstring& picture, int32_t update) override;
  void SetPrompt(const std::wstring& prompt, const std::wstring& defaultValue, int32_t maxLength,
                 const std::wstring& caption, int32_t required, const std::wstring& validCharacters,
                 const std::wstring& inputMask) override;
  void RefreshLabel(int32_t, int32_t) override {}  // the layout is made at print

  void InitPrintData() override { queue_.clear(); }
  void AddPrintData(const VPrintData& job) override;
  bool StartPrint(int32_t destination, int32_t showDialog, int32_t collate,
                  int32_t waitForCompletion) override;

  VFileRequestCallback GetFileRequestCallback() override { return fileCallback_; }
  void SetFileRequestCallback(VFileRequestCallback callback) override { fileCallback_ = callback; }
  void* GetCallbackParam() override { return callbackParam_; }
  void SetCallbackParam(void* param) override { callbackParam_ = param; }
  bool SetPreventHandleCreation(bool prevent) override;
  bool GetPreventhandleCreation() override { return preventHandles_; }
  void SetTestShapePrint(bool on) override { testShapePrint_ = on; }
  bool GetTestShapePrint() override { return testShapePrint_; }

 private:
  friend class VellumTextProperties;

  ObjectData* Selected();
  ObjectData* SelectedOfType(int32_t type);
  LabelObject* Own(VDrawObj* object);
  ObjectData NewObject(int32_t type, const VRect& rect, int32_t id) const;
  void LoadPicture(ObjectData& object);
  int64_t PicturePixelBudget() const;
  // A print StartPrint queued for deferred delivery.
  struct DeferredLabel {
    RenderTask task;
    std::future<RenderedLabel> rendered;  // valid once submitted to the pool
  };
  struct DeferredPrint {
    int64_t job = 0;
    int32_t destination = 0;
    Diagnostics diagnostics;
    std::deque<DeferredLabel> labels;
  };

  void ExpandJob(const std::shared_ptr<const PrintJob>& job, int64_t& remaining,
                 Diagnostics& diagnostics, const std::function<void(RenderTask)>& emit);
  SinkNeeds NeedsFor(int32_t destination) const;
  void QueueDeferred(std::vector<PrintJob> queue, int32_t destination);
  bool LabelWaiting();
  void SubmitAhead();
  // Delivers the oldest queued print, adding what it could not do to `said`.
  void DeliverFrontPrint(std::vector<Diagnostic>& said);
  void DeliverLabel(const RenderTask& task, RenderedLabel& rendered, int32_t destination,
                    Diagnostics& diagnostics, bool& ok);
  int32_t InchesToUnits(double inches) const;

  VellumSettings settings_;
  PrinterGeometry printer_;
  VPrinterSettings printerObj_;
  LabelModel model_;
  PictureCache pictures_;
  FontData defaultFont_;
  int32_t defaultHatch_ = kVHatchNone;
  float defaultPen_ = 0.0f;
  std::vector<VPoint> pendingPoints_;
  std::vector<PrintJob> queue_;
  ZintBarcodes defaultBarcodes_;
  std::unique_ptr<LabelWorker> worker_;  // the labels rendered on the caller's thread
  Diagnostics diagnostics_;
  std::vector<PrintedSummary> lastPrint_;
  std::map<std::wstring, int32_t> printedPerJob_;
  VellumTextProperties textProperties_;
  VFileRequestCallback fileCallback_ = nullptr;
  void* callbackParam_ = nullptr;
  bool preventHandles_ = true;
  bool testShapePrint_ = false;

  bool deferMode_ = false;
  std::unique_ptr<RenderPool> pool_;
  int64_t deferredJob_ = 0;
  std::deque<DeferredPrint> deferred_;
  size_t inFlight_ = 0;  // labels submitted to the pool and not delivered yet
  // The next label to submit: a print of deferred_ and a label of that print.
  size_t cursorPrint_ = 0, cursorLabel_ = 0;
};

}  // namespace vellum
