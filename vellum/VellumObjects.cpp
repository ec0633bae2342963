// VellumEngine: making objects, the selection, and what the session sets on
// the selected object.
#include <algorithm>
#include <cmath>

#include "platform/StorageCard.h"
#include "platform/Text.h"
#include "vellum/PageLayout.h"
#include "vellum/PictureLoader.h"
#include "vellum/VellumEngine.h"

namespace vellum {
namespace {

constexpr std::wstring_view kGraphicsFolder = L"\\SD\\Store\\Graphics";
constexpr size_t kMaxPolygonPoints = 10000;

}  // namespace

ObjectData* VellumEngine::Selected() {
  LabelObject* selected = model_.selected();
  return selected != nullptr ? &selected->data() : nullptr;
}

ObjectData* VellumEngine::SelectedOfType(int32_t type) {
  ObjectData* selected = Selected();
  return selected != nullptr && selected->type == type ? selected : nullptr;
}

LabelObject* VellumEngine::Own(VDrawObj* object) {
  return object != nullptr && model_.Contains(object) ? static_cast<LabelObject*>(object) : nullptr;
}

ObjectData VellumEngine::NewObject(int32_t type, const VRect& rect, int32_t id) const {
  ObjectData data;
  data.id = id;
  data.type = type;
  data.rect = Normalised(rect);
  data.hatch = defaultHatch_;
  data.penPoints = defaultPen_;
  data.font = defaultFont_;
  data.line.x1 = data.rect.left, data.line.y1 = data.rect.top;
  data.line.x2 = data.rect.right, data.line.y2 = data.rect.bottom;
  return data;
}

VDrawObj* VellumEngine::CreateNewObject(int32_t type, const VRect& rect, int32_t id) {
  if (!IsKnownObjectType(type) || type == kVObjMultiLine || type == kVObjPicture) return nullptr;
  return model_.Add(NewObject(type, rect, id));
}

VDrawObj* VellumEngine::CreateNewGraphic(VPoint topLeft, VPoint bottomRight,
                                         const std::wstring& cardPath, int32_t, int32_t id,
                                         bool keepAspect, bool reverse) {
  // The picture is loaded when the object is opened (or at print); a file that
  // is missing then is reported with the print rather than dropped here.
  ObjectData data =
      NewObject(kVObjPicture, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, id);
  data.picture.cardPath = cardPath;
  data.picture.keepAspect = keepAspect;
  data.picture.reverse = reverse;
  return model_.Add(std::move(data));
}

void VellumEngine::AddMultiLinePoints(VPoint point) {
  if (pendingPoints_.size() < kMaxPolygonPoints) pendingPoints_.push_back(point);
}

VDrawObj* VellumEngine::CreateMultiLine() {
  if (pendingPoints_.size() < 2) return nullptr;
  VRect bounds{pendingPoints_[0].x, pendingPoints_[0].y, pendingPoints_[0].x, pendingPoints_[0].y};
  for (const VPoint& p : pendingPoints_) {
    bounds.left = std::min(bounds.left, p.x), bounds.right = std::max(bounds.right, p.x);
    bounds.top = std::min(bounds.top, p.y), bounds.bottom = std::max(bounds.bottom, p.y);
  }
  ObjectData data = NewObject(kVObjMultiLine, bounds, model_.NextFreeId());
  data.points = pendingPoints_;
  return model_.Add(std::move(data));
}

void VellumEngine::SetSelectByObject(VDrawObj* object) { model_.Select(Own(object)); }

bool VellumEngine::SetSelectByID(int32_t id) {
  model_.Select(model_.Find(id));
  return model_.selected() != nullptr;
}

int32_t VellumEngine::GetSelectedObjectType() {
  const ObjectData* selected = Selected();
  return selected != nullptr ? selected->type : 0;
}

std::vector<VDrawObj*> VellumEngine::GetSelectedObjects() {
  if (model_.selected() == nullptr) return {};
  return {model_.selected()};
}

// A picture is scaled into its label: more pixels than four per dot of the
// label (an open length counted as long as the label is wide) buy nothing.
int64_t VellumEngine::PicturePixelBudget() const {
  const LabelSettings& label = model_.settings();
  const int64_t across = LabelWidthDots(label, printer_);
  const double fixed = UnitsToDots(label.lengthUnits, printer_);
  const int64_t along = label.lengthFixed && fixed >= 1.0 ? static_cast<int64_t>(fixed) : across;
  return std::max(kMinPicturePixels, 4 * across * along);
}

void VellumEngine::LoadPicture(ObjectData& object) {
  PictureData& picture = object.picture;
  VFileRequest request;
  request.path = picture.cardPath;
  if (fileCallback_ != nullptr) fileCallback_(request, callbackParam_);
  const std::wstring path = request.answered ? request.path : picture.cardPath;
  picture.attempted = true;
  picture.mask.reset();
  picture.failure.clear();
  picture.overBudget = false;
  if (!platform::IsInsideCardFolder(path, kGraphicsFolder)) {
    picture.failure = L"pictures are read from the Graphics folder only";
    return;
  }
  const auto host = platform::CardPathToHost(path);
  if (!host) {
    picture.failure = L"the picture's path leads out of the store";
    return;
  }
  PictureLoad load = pictures_.Load(*host, PicturePixelBudget());
  picture.mask = std::move(load.mask);
  picture.failure = std::move(load.failure);
  picture.overBudget = load.overBudget;
}

bool VellumEngine::OpenSelected() {
  ObjectData* selected = Selected();
  if (selected == nullptr) return false;
  if (selected->type == kVObjPicture) LoadPicture(*selected);
  return true;
}

void VellumEngine::SetObjectAutoSize(VDrawObj* object, int32_t autoSize) {
  LabelObject* own = Own(object);
  if (own == nullptr) return;
  own->data().autoSize = autoSize;
  if (own->data().type == kVObjBarcode) own->data().barcode.autoSize = autoSize;
}

void VellumEngine::SetHatchPattern(int32_t pattern, int32_t applyToSelected) {
  const int32_t hatch = pattern == kVHatchSolid ? kVHatchSolid : kVHatchNone;
  ObjectData* selected = applyToSelected != 0 ? Selected() : nullptr;
  if (selected != nullptr) {
    selected->hatch = hatch;
  } else {
    defaultHatch_ = hatch;
  }
}

void VellumEngine::SetSelectedInk(int32_t ink) {
  ObjectData* selected = Selected();
  if (selected != nullptr && ink >= kVInkBlack && ink <= kVInkReverse) selected->ink = ink;
}

void VellumEngine::SetPenWidth(float points) {
  if (!std::isfinite(points)) return;
  points = std::clamp(points, 0.0f, 1000.0f);
  ObjectData* selected = Selected();
  if (selected != nullptr) {
    selected->penPoints = points;
  } else {
    defaultPen_ = points;
  }
}

void VellumEngine::SetRectangleRoundness(VPoint ellipse) {
  ObjectData* selected = SelectedOfType(kVObjRectangle);
  if (selected != nullptr)
    selected->roundness = VPoint{std::max(0, ellipse.x), std::max(0, ellipse.y)};
}

void VellumEngine::RotateSelectedObject(int32_t degrees) {
  ObjectData* selected = Selected();
  if (selected != nullptr) selected->rotation = ((degrees % 360) + 360) % 360;
}

void VellumEngine::SetTextFromObject(VDrawObj* object, const std::wstring& text, bool) {
  LabelObject* own = Own(object);
  if (own == nullptr) return;
  if (own->data().type == kVObjBarcode) {
    own->data().barcode.data = text;
  } else {
    own->data().text = text;
  }
}

void VellumEngine::SetDataSource(int32_t source) {
  ObjectData* selected = Selected();
  if (selected == nullptr) return;
  selected->dataSource =
      source >= kVSourceStatic && source <= kVSourcePrompt ? source : kVSourceStatic;
}

void VellumEngine::SetSequence(const std::wstring& start, int32_t labelCount, int32_t increment,
                               int32_t repeatEach, const std::wstring& prefix,
                               const std::wstring& postfix, const std::wstring&) {
  ObjectData* selected = Selected();
  if (selected == nullptr) return;
  selected->sequence = SequenceData{
      start, std::max(1, labelCount), increment, std::max(1, repeatEach), prefix, postfix};
}

void VellumEngine::SetDateTimeFormat(const std::wstring& picture, int32_t update) {
  ObjectData* selected = Selected();
  if (selected == nullptr) return;
  selected->dateTimePicture = picture;
  selected->dateTimeUpdate = update;
}

void VellumEngine::SetPrompt(const std::wstring& prompt, const std::wstring& defaultValue,
                             int32_t maxLength, const std::wstring& caption, int32_t,
                             const std::wstring&, const std::wstring&) {
  ObjectData* selected = Selected();
  if (selected == nullptr) return;
  selected->prompt = PromptData{prompt, defaultValue, caption, std::max(0, maxLength)};
}

}  // namespace vellum
