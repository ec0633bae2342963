#pragma once
// A drawing engine for tests. It keeps one in-memory label with its objects,
// the label's options and the print queue, and records every call made to it,
// with its arguments, in order. Session tests drive command lists through the
// session and then assert on the recorded calls (what was asked of the engine)
// and on the label state (what the label ended up as), the way a fake command
// runner lets a build tool be tested without running anything.
//
// The engine owns its objects; pointers it hands out stay valid until the
// label is cleared (CreateLabel, DeleteAllLabelObjects). Not thread-safe.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/VInterface.h"

// One recorded call: the operation's name and its arguments as text (numbers
// in decimal, reals with %g, strings as given, null pointers as "null",
// structs as "field=value ..." lists).
struct RecordedCall {
  std::string name;
  std::vector<std::wstring> args;

  // "Name(arg, arg, ...)".
  std::wstring ToString() const;
};

// An object on the recording engine's label, with everything the engine was
// told about it.
class RecordedObject : public VDrawObj {
 public:
  RecordedObject(int32_t id, int32_t type, const VRect& rect) : id(id), type(type), rect(rect) {}

  int32_t GetObjectId() const override { return id; }
  int32_t GetObjectType() const override { return type; }
  VRect GetObjectRect() const override { return rect; }
  void SetPrompted(int32_t on, int32_t, int32_t) override { prompted = on; }
  void SetPictureReverse(bool reverse) override { pictureReverse = reverse; }
  void CreateObjectWindow(int32_t, VWindow*, int32_t) override { hasWindow = true; }

  int32_t id;
  int32_t type;
  VRect rect;
  std::wstring text;
  std::wstring picturePath;
  bool keepAspect = false;
  bool pictureReverse = false;
  int32_t prompted = 0;
  bool hasWindow = false;
  std::vector<VPoint> points;  // polygons

  int32_t rotation = 0;
  int32_t hatch = kVHatchNone;
  float penWidth = 0.0f;
  VPoint roundness;
  int32_t autoSize = 0;

  VTextFormat textFormat;
  VTextAlignment textAlignment;
  VBarcodeFormat barcodeFormat;
  VBarcodeLayout barcodeLayout;
  VLineFormat lineFormat;

  std::wstring fontName;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int32_t fontPoints = 0;  // 0: never set

  int32_t dataSource = kVSourceStatic;
  std::wstring sequenceStart;
  int32_t sequenceCount = 0;
  int32_t sequenceIncrement = 0;
  std::wstring sequencePrefix;
  std::wstring sequencePostfix;
  std::wstring dateTimePicture;
  std::wstring promptText;
  std::wstring promptDefault;
  std::wstring promptCaption;
};

// What one print run was asked to print: the queued jobs and the label's state
// at StartPrint.
struct RecordedPrint {
  std::vector<VPrintData> jobs;
  float offsetXInches = 0.0f;
  float offsetYInches = 0.0f;
  int32_t rotationTenths = 0;
  bool turned180 = false;
  int32_t portrait = 1;
  size_t objectCount = 0;
  VLabelOptions options;
  VLabelData data;
};

class RecordingEngine : public VInterface {
 public:
  RecordingEngine();
  ~RecordingEngine() override;

  // --- Set-up of the engine's own settings (not recorded) ---
  int32_t dpi = 300;
  int32_t unitsPerInch = 1000;
  VSize printableArea{1200, 3000};
  int32_t mediaPortrait = 1;           // IsLabelPrinterPortrait(1, ...)
  bool failObjectCreation = false;     // CreateNew* answer null
  bool withoutTextProperties = false;  // GetVInterfaceTextProperties answers null

  // --- What was asked ---
  const std::vector<RecordedCall>& Calls() const { return calls_; }
  // The calls of one operation, in order.
  std::vector<RecordedCall> CallsNamed(std::string_view name) const;
  size_t CountOf(std::string_view name) const;
  // "Name(args)" of every call whose name is in `names` (all calls when empty).
  std::vector<std::wstring> Trace(const std::vector<std::string_view>& names = {}) const;
  void ClearCalls() { calls_.clear(); }

  // --- The label ---
  const std::vector<std::unique_ptr<RecordedObject>>& Objects() const { return objects_; }
  RecordedObject* Selected() const { return selected_; }
  int32_t labelsCreated = 0;
  std::wstring appType;
  int32_t portrait = 1;
  int32_t pageUnlimited = 0;
  VLabelData labelData;
  VLabelOptions labelOptions;
  float offsetXInches = 0.0f;
  float offsetYInches = 0.0f;
  int32_t rotationTenths = 0;
  bool turned180 = false;
  std::vector<VPrintData> printQueue;
  std::vector<RecordedPrint> prints;
  std::vector<std::wstring> savedFiles;

  // --- VInterface ---
  int32_t GetPrinterDPI() override;
  int32_t GetUnitsPerInch() override;
  VSize GetPrinterPrintableArea() override;
  const VPrinterSettings* GetPrinterObj() override;
  VWindow* GetParentWnd() override;

  bool CreateLabel(const std::wstring& name, int32_t width, int32_t length, int32_t marginLeft,
                   int32_t marginTop, int32_t clearObjects) override;
  void SetAppType(const std::wstring& type) override;
  int32_t IsLabelPrinterPortrait(int32_t source, const void* reserved) override;
  void SetLabelOrientation(int32_t portraitFlag, int32_t labelIndex, const void* reserved) override;
  void SetPageSizeUnlimited(int32_t unlimited, const void* reserved) override;
  bool GetLabelData(VLabelData& data, int32_t labelIndex, const void* reserved) override;
  bool SetLabelData(const VLabelData& data) override;
  void SetLabelOffsets(const void* reserved, float xInches, float yInches) override;
  void RotateLabelTenthsDeg(int32_t labelIndex, const void* reserved, int32_t tenths) override;
  void RotateLabel180Deg(int32_t labelIndex, const void* reserved) override;
  bool SaveToFile(const std::wstring& cardPath, const std::wstring& description,
                  int32_t flags) override;
  void DeleteAllLabelObjects() override;

  int32_t GetNextFreeObjectId() override;
  VDrawObj* CreateNewObject(int32_t type, const VRect& rect, int32_t id) override;
  VDrawObj* CreateNewGraphic(VPoint topLeft, VPoint bottomRight, const std::wstring& cardPath,
                             int32_t type, int32_t id, bool keepAspect, bool reverse) override;
  void ClearMultiLinePoints() override;
  void AddMultiLinePoints(VPoint point) override;
  VDrawObj* CreateMultiLine() override;

  void SetSelectByObject(VDrawObj* object) override;
  bool SetSelectByID(int32_t id) override;
  int32_t GetSelectedObjectType() override;
  std::vector<VDrawObj*> GetSelectedObjects() override;
  bool OpenSelected() override;
  void CloseSelected(int32_t discard) override;
  void SetObjectAutoSize(VDrawObj* object, int32_t autoSize) override;
  void SetHatchPattern(int32_t pattern, int32_t applyToSelected) override;
  void SetPenWidth(float points) override;
  void SetSelectedInk(int32_t ink) override;
  void SetRectangleRoundness(VPoint ellipse) override;
  void RotateSelectedObject(int32_t degrees) override;
  void SetTextFromObject(VDrawObj* object, const std::wstring& text, bool redraw) override;
  VInterfaceTextProperties* GetVInterfaceTextProperties() override;
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
  void RefreshLabel(int32_t labelIndex, int32_t redraw) override;

  void InitPrintData() override;
  void AddPrintData(const VPrintData& job) override;
  bool StartPrint(int32_t destination, int32_t showDialog, int32_t collate,
                  int32_t waitForCompletion) override;

  VFileRequestCallback GetFileRequestCallback() override;
  void SetFileRequestCallback(VFileRequestCallback callback) override;
  void* GetCallbackParam() override;
  void SetCallbackParam(void* param) override;
  bool SetPreventHandleCreation(bool prevent) override;
  bool GetPreventhandleCreation() override;
  void SetTestShapePrint(bool on) override;
  bool GetTestShapePrint() override;

  // What the file-request callback answered while pictures loaded (OpenSelected).
  std::vector<std::wstring> answeredFileRequests;

 private:
  class TextProperties;
  friend class TextProperties;

  void Record(std::string name, std::vector<std::wstring> args);
  // Sets `field` of the selected object, if any; whether there was one.
  template <typename T>
  bool SetOnSelected(T RecordedObject::*field, const T& value) {
    if (selected_) selected_->*field = value;
    return selected_ != nullptr;
  }
  RecordedObject* AddObject(int32_t type, const VRect& rect, int32_t id);

  std::vector<RecordedCall> calls_;
  std::vector<std::unique_ptr<RecordedObject>> objects_;
  RecordedObject* selected_ = nullptr;
  int32_t nextId_ = 1;
  std::vector<VPoint> pendingPoints_;
  std::unique_ptr<TextProperties> textProperties_;
  VPrinterSettings settings_;
  VFileRequestCallback fileCallback_ = nullptr;
  void* callbackParam_ = nullptr;
  bool preventHandles_ = false;
  bool testShapePrint_ = false;
};
