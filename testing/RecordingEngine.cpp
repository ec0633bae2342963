#include "testing/RecordingEngine.h"

#include <algorithm>

#include "testing/CallArgs.h"

using callargs::Arg;

std::wstring RecordedCall::ToString() const {
  std::wstring text(name.begin(), name.end());
  text += L'(';
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) text += L", ";
    text += args[i];
  }
  return text + L')';
}

// The font setters, recorded into the engine's call list and applied to the
// selected object.
class RecordingEngine::TextProperties : public VInterfaceTextProperties {
 public:
  explicit TextProperties(RecordingEngine& engine) : engine_(engine) {}

  bool SetTextFontName(int32_t target, int32_t run, const platform::LOGFONTW& font,
                       int32_t redraw) override {
    engine_.Record("SetTextFontName", {Arg(target), Arg(run), font.lfFaceName, Arg(redraw)});
    return engine_.SetOnSelected(&RecordedObject::fontName, font.lfFaceName);
  }
  bool SetTextFontBold(int32_t target, int32_t run, bool on, int32_t redraw) override {
    engine_.Record("SetTextFontBold", {Arg(target), Arg(run), Arg(on), Arg(redraw)});
    return engine_.SetOnSelected(&RecordedObject::bold, on);
  }
  bool SetTextFontItalic(int32_t target, int32_t run, bool on, int32_t redraw) override {
    engine_.Record("SetTextFontItalic", {Arg(target), Arg(run), Arg(on), Arg(redraw)});
    return engine_.SetOnSelected(&RecordedObject::italic, on);
  }
  bool SetTextFontUnderline(int32_t target, int32_t run, bool on, int32_t redraw) override {
    engine_.Record("SetTextFontUnderline", {Arg(target), Arg(run), Arg(on), Arg(redraw)});
    return engine_.SetOnSelected(&RecordedObject::underline, on);
  }
  bool SetTextFontSize(int32_t target, int32_t run, int32_t points, int32_t heightDots,
                       double widthScale, bool fixedSize) override {
    engine_.Record("SetTextFontSize", {Arg(target), Arg(run), Arg(points), Arg(heightDots),
                                       Arg(widthScale), Arg(fixedSize)});
    return engine_.SetOnSelected(&RecordedObject::fontPoints, points);
  }

 private:
  RecordingEngine& engine_;
};

RecordingEngine::RecordingEngine() : textProperties_(std::make_unique<TextProperties>(*this)) {}
RecordingEngine::~RecordingEngine() = default;

void RecordingEngine::Record(std::string name, std::vector<std::wstring> args) {
  calls_.push_back(RecordedCall{std::move(name), std::move(args)});
}

std::vector<RecordedCall> RecordingEngine::CallsNamed(std::string_view name) const {
  std::vector<RecordedCall> found;
  for (const auto& call : calls_) {
    if (call.name == name) found.push_back(call);
  }
  return found;
}

size_t RecordingEngine::CountOf(std::string_view name) const {
  return static_cast<size_t>(std::count_if(calls_.begin(), calls_.end(),
                                           [&](const RecordedCall& c) { return c.name == name; }));
}

std::vector<std::wstring> RecordingEngine::Trace(const std::vector<std::string_view>& names) const {
  std::vector<std::wstring> trace;
  for (const auto& call : calls_) {
    if (names.empty() || std::find(names.begin(), names.end(), call.name) != names.end()) {
      trace.push_back(call.ToString());
    }
  }
  return trace;
}

RecordedObject* RecordingEngine::AddObject(int32_t type, const VRect& rect, int32_t id) {
  objects_.push_back(std::make_unique<RecordedObject>(id, type, rect));
  nextId_ = std::max(nextId_, id < INT32_MAX ? id + 1 : id);
  RecordedObject* o = objects_.back().get();
  if (type == kVObjLine) {
    // A new line runs from its rectangle's top-left to its bottom-right corner.
    o->lineFormat.x1 = rect.left;
    o->lineFormat.y1 = rect.top;
    o->lineFormat.x2 = rect.right;
    o->lineFormat.y2 = rect.bottom;
  }
  return o;
}

// --- Printer settings ---

int32_t RecordingEngine::GetPrinterDPI() {
  Record("GetPrinterDPI", {});
  return dpi;
}

int32_t RecordingEngine::GetUnitsPerInch() {
  Record("GetUnitsPerInch", {});
  return unitsPerInch;
}

VSize RecordingEngine::GetPrinterPrintableArea() {
  Record("GetPrinterPrintableArea", {});
  return printableArea;
}

const VPrinterSettings* RecordingEngine::GetPrinterObj() {
  Record("GetPrinterObj", {});
  settings_ = VPrinterSettings{L"Recording printer", dpi, unitsPerInch, printableArea};
  return &settings_;
}

VWindow* RecordingEngine::GetParentWnd() {
  Record("GetParentWnd", {});
  return nullptr;
}

// --- The label ---

bool RecordingEngine::CreateLabel(const std::wstring& name, int32_t width, int32_t length,
                                  int32_t marginLeft, int32_t marginTop, int32_t clearObjects) {
  Record("CreateLabel",
         {name, Arg(width), Arg(length), Arg(marginLeft), Arg(marginTop), Arg(clearObjects)});
  ++labelsCreated;
  objects_.clear();
  selected_ = nullptr;
  nextId_ = 1;
  labelData = VLabelData{};
  pageUnlimited = 0;
  rotationTenths = 0;
  turned180 = false;
  return true;
}

void RecordingEngine::SetAppType(const std::wstring& type) {
  Record("SetAppType", {type});
  appType = type;
}

int32_t RecordingEngine::IsLabelPrinterPortrait(int32_t source, const void* reserved) {
  Record("IsLabelPrinterPortrait", {Arg(source), Arg(reserved)});
  return source == 1 ? mediaPortrait : portrait;
}

void RecordingEngine::SetLabelOrientation(int32_t portraitFlag, int32_t labelIndex,
                                          const void* reserved) {
  Record("SetLabelOrientation", {Arg(portraitFlag), Arg(labelIndex), Arg(reserved)});
  portrait = portraitFlag;
}

void RecordingEngine::SetPageSizeUnlimited(int32_t unlimited, const void* reserved) {
  Record("SetPageSizeUnlimited", {Arg(unlimited), Arg(reserved)});
  pageUnlimited = unlimited;
}

bool RecordingEngine::GetLabelData(VLabelData& data, int32_t labelIndex, const void* reserved) {
  Record("GetLabelData", {Arg(labelIndex), Arg(reserved)});
  data = labelData;
  return true;
}

bool RecordingEngine::SetLabelData(const VLabelData& data) {
  Record("SetLabelData", {Arg(data)});
  labelData = data;
  return true;
}

void RecordingEngine::SetLabelOffsets(const void* reserved, float xInches, float yInches) {
  Record("SetLabelOffsets", {Arg(reserved), Arg(xInches), Arg(yInches)});
  offsetXInches = xInches;
  offsetYInches = yInches;
}

void RecordingEngine::RotateLabelTenthsDeg(int32_t labelIndex, const void* reserved,
                                           int32_t tenths) {
  Record("RotateLabelTenthsDeg", {Arg(labelIndex), Arg(reserved), Arg(tenths)});
  rotationTenths = tenths;
}

void RecordingEngine::RotateLabel180Deg(int32_t labelIndex, const void* reserved) {
  Record("RotateLabel180Deg", {Arg(labelIndex), Arg(reserved)});
  turned180 = true;
}

bool RecordingEngine::SaveToFile(const std::wstring& cardPath, const std::wstring& description,
                                 int32_t flags) {
  Record("SaveToFile", {cardPath, description, Arg(flags)});
  savedFiles.push_back(cardPath);
  return true;
}

void RecordingEngine::DeleteAllLabelObjects() {
  Record("DeleteAllLabelObjects", {});
  objects_.clear();
  selected_ = nullptr;
}

// --- Objects ---

int32_t RecordingEngine::GetNextFreeObjectId() {
  Record("GetNextFreeObjectId", {});
  return nextId_;
}

VDrawObj* RecordingEngine::CreateNewObject(int32_t type, const VRect& rect, int32_t id) {
  Record("CreateNewObject", {Arg(type), Arg(rect), Arg(id)});
  if (failObjectCreation) return nullptr;
  return AddObject(type, rect, id);
}

VDrawObj* RecordingEngine::CreateNewGraphic(VPoint topLeft, VPoint bottomRight,
                                            const std::wstring& cardPath, int32_t type, int32_t id,
                                            bool keepAspect, bool reverse) {
  Record("CreateNewGraphic", {Arg(topLeft), Arg(bottomRight), cardPath, Arg(type), Arg(id),
                              Arg(keepAspect), Arg(reverse)});
  if (failObjectCreation) return nullptr;
  RecordedObject* o =
      AddObject(type, VRect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, id);
  o->picturePath = cardPath;
  o->keepAspect = keepAspect;
  o->pictureReverse = reverse;
  return o;
}

void RecordingEngine::ClearMultiLinePoints() {
  Record("ClearMultiLinePoints", {});
  pendingPoints_.clear();
}

void RecordingEngine::AddMultiLinePoints(VPoint point) {
  Record("AddMultiLinePoints", {Arg(point)});
  pendingPoints_.push_back(point);
}

VDrawObj* RecordingEngine::CreateMultiLine() {
  Record("CreateMultiLine", {});
  if (failObjectCreation || pendingPoints_.size() < 2) return nullptr;
  VRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (const VPoint& p : pendingPoints_) {
    box = VRect{std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
                std::max(box.bottom, p.y)};
  }
  RecordedObject* o = AddObject(kVObjMultiLine, box, nextId_);
  o->points = pendingPoints_;
  return o;
}

// --- Selection ---

void RecordingEngine::SetSelectByObject(VDrawObj* object) {
  Record("SetSelectByObject", {object ? Arg(object->GetObjectId()) : L"null"});
  selected_ = nullptr;
  for (auto& o : objects_) {
    if (o.get() == object) selected_ = o.get();
  }
}

bool RecordingEngine::SetSelectByID(int32_t id) {
  Record("SetSelectByID", {Arg(id)});
  selected_ = nullptr;
  for (auto& o : objects_) {
    if (o->id == id) selected_ = o.get();
  }
  return selected_ != nullptr;
}

int32_t RecordingEngine::GetSelectedObjectType() {
  Record("GetSelectedObjectType", {});
  return selected_ ? selected_->type : 0;
}

std::vector<VDrawObj*> RecordingEngine::GetSelectedObjects() {
  Record("GetSelectedObjects", {});
  if (!selected_) return {};
  return {selected_};
}

bool RecordingEngine::OpenSelected() {
  Record("OpenSelected", {});
  if (!selected_) return false;
  if (selected_->type == kVObjPicture && fileCallback_) {
    VFileRequest request{selected_->picturePath, false};
    if (fileCallback_(request, callbackParam_) && request.answered) {
      answeredFileRequests.push_back(request.path);
    }
  }
  return true;
}

void RecordingEngine::CloseSelected(int32_t discard) { Record("CloseSelected", {Arg(discard)}); }

void RecordingEngine::SetObjectAutoSize(VDrawObj* object, int32_t autoSize) {
  Record("SetObjectAutoSize", {object ? Arg(object->GetObjectId()) : L"null", Arg(autoSize)});
  for (auto& o : objects_) {
    if (o.get() == object) o->autoSize = autoSize;
  }
}

void RecordingEngine::SetHatchPattern(int32_t pattern, int32_t applyToSelected) {
  Record("SetHatchPattern", {Arg(pattern), Arg(applyToSelected)});
  if (selected_) selected_->hatch = pattern;
}

void RecordingEngine::SetSelectedInk(int32_t ink) { Record("SetSelectedInk", {Arg(ink)}); }

void RecordingEngine::SetPenWidth(float points) {
  Record("SetPenWidth", {Arg(points)});
  if (selected_) selected_->penWidth = points;
}

void RecordingEngine::SetRectangleRoundness(VPoint ellipse) {
  Record("SetRectangleRoundness", {Arg(ellipse)});
  if (selected_) selected_->roundness = ellipse;
}

void RecordingEngine::RotateSelectedObject(int32_t degrees) {
  Record("RotateSelectedObject", {Arg(degrees)});
  if (selected_) selected_->rotation = degrees;
}

void RecordingEngine::SetTextFromObject(VDrawObj* object, const std::wstring& text, bool redraw) {
  Record("SetTextFromObject", {object ? Arg(object->GetObjectId()) : L"null", text, Arg(redraw)});
  for (auto& o : objects_) {
    if (o.get() == object) o->text = text;
  }
}

VInterfaceTextProperties* RecordingEngine::GetVInterfaceTextProperties() {
  Record("GetVInterfaceTextProperties", {});
  if (withoutTextProperties) return nullptr;
  return textProperties_.get();
}

bool RecordingEngine::CopyLogicalFont(const platform::LOGFONTW& source, platform::LOGFONTW& copy,
                                      int32_t flags) {
  Record("CopyLogicalFont", {source.lfFaceName, Arg(flags)});
  copy = source;
  return true;
}
