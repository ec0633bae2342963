// Shapes, arrows, lines, polygons and pictures: each command makes one engine
// object, selected at once, with its pen, fill and rotation. The names and the
// arithmetic live in session/ShapeGeometry.h.

#include <cstdint>
#include <utility>

#include "platform/StorageCard.h"
#include "platform/Text.h"
#include "session/SessionManager.h"
#include "session/ShapeGeometry.h"

namespace {

enum ShapeParam : size_t {
  kShapeName = 0,
  kShapeX = 1,
  kShapeY = 2,
  kShapeWidth = 3,
  kShapeHeight = 4,
  kShapeThickness = 5,
  kShapeCorner = 7,
  kShapeFill = 8,
  kShapeRotation = 9,
};

enum ArrowParam : size_t {
  kArrowType = 0,
  kArrowX = 1,
  kArrowY = 2,
  kArrowWidth = 3,
  kArrowHeight = 4,
  kArrowRotation = 5,
  kArrowThickness = 6,
  kArrowFill = 7,
};

enum LineParam : size_t { kLineX1 = 0, kLineY1, kLineX2, kLineY2, kLineThickness };

enum PictureParam : size_t {
  kPictureName = 0,
  kPictureX,
  kPictureY,
  kPictureWidth,
  kPictureHeight,
  kPictureReverse,
};

constexpr wchar_t kPictureFolder[] = L"\\SD\\Store\\Graphics";

// Pens of shapes and arrows are given in hundredths.
float HundredthsToPen(int32_t thickness) { return static_cast<float>(thickness) * 0.01f; }

// Answers the engine's request for a picture with the path the session put in
// the callback parameter.
bool AnswerPictureRequest(VFileRequest& request, void* param) {
  if (param == nullptr) return false;
  request.path = *static_cast<const std::wstring*>(param);
  request.answered = true;
  return true;
}

}  // namespace

int32_t CSessionManager::GetObjectShapeIdentifier(const std::wstring& name) {
  return ShapeObjectType(name);
}

void CSessionManager::CreateShape(const Params& params) {
  if (!engine_ || params.size() <= kShapeRotation) return;
  const int32_t dpi = EngineDpi(), units = EngineUnitsPerInch();
  auto toUnits = [&](size_t i) { return DotsToEngineUnits(ConvertToInt(params[i]), units, dpi); };
  const int32_t x = toUnits(kShapeX), y = toUnits(kShapeY);
  const int32_t width = toUnits(kShapeWidth), height = toUnits(kShapeHeight);
  const VRect rect{x, y, AddSaturated(x, width), AddSaturated(y, height)};

  const int32_t type = GetObjectShapeIdentifier(params[kShapeName]);
  if (type == 0) {
    log_->Write(L"Unsupported Object Type:" + params[kShapeName]);
    return;
  }
  VDrawObj* object = engine_->CreateNewObject(type, rect, engine_->GetNextFreeObjectId());
  if (!object) return;
  // Selected before rounding: the engine rounds the selected rectangle.
  engine_->SetSelectByObject(object);
  if (type == kVObjRectangle) {
    engine_->SetRectangleRoundness(
        RectangleRoundness(ConvertToInt(params[kShapeCorner]), width, height));
  }
  engine_->SetHatchPattern(HatchForFill(platform::ToUpper(params[kShapeFill])), 1);
  engine_->SetPenWidth(HundredthsToPen(ConvertToInt(params[kShapeThickness])));
  engine_->RotateSelectedObject(ConvertToInt(params[kShapeRotation]));
}

void CSessionManager::CreateArrow(const Params& params) {
  if (!engine_ || params.size() < 13) return;  // 8 .. 12 must be present, unused
  const int32_t dpi = EngineDpi(), units = EngineUnitsPerInch();
  auto toUnits = [&](size_t i) { return DotsToEngineUnits(ConvertToInt(params[i]), units, dpi); };
  const int32_t x = toUnits(kArrowX), y = toUnits(kArrowY);
  const VRect rect{x, y, AddSaturated(x, toUnits(kArrowWidth)),
                   AddSaturated(y, toUnits(kArrowHeight))};

  const ArrowType* arrow = FindArrowType(params[kArrowType]);
  if (!arrow) {
    log_->Write(L"Unsupported Arrow Type:" + platform::ToUpper(platform::Trim(params[kArrowType])));
    return;
  }
  VDrawObj* object =
      engine_->CreateNewObject(arrow->objectType, rect, engine_->GetNextFreeObjectId());
  if (!object) return;
  engine_->SetSelectByObject(object);
  engine_->SetHatchPattern(HatchForFill(platform::ToUpper(params[kArrowFill])), 1);
  engine_->SetPenWidth(HundredthsToPen(ConvertToInt(params[kArrowThickness])));
  const int64_t adjusted = int64_t{ConvertToInt(params[kArrowRotation])} + arrow->addDegrees;
  engine_->RotateSelectedObject(EngineArrowRotation(adjusted));
}

bool CSessionManager::CreateDiagonalLine(const Params& params) {
  if (!engine_ || params.size() <= kLineThickness) return true;
  const int32_t dpi = EngineDpi(), units = EngineUnitsPerInch();
  auto toUnits = [&](size_t i) { return DotsToEngineUnits(ConvertToInt(params[i]), units, dpi); };
  const LineGeometry line = DiagonalLineGeometry({toUnits(kLineX1), toUnits(kLineY1)},
                                                 {toUnits(kLineX2), toUnits(kLineY2)});
  VDrawObj* object =
      engine_->CreateNewObject(kVObjLine, line.bounds, engine_->GetNextFreeObjectId());
  if (!object) return true;
  engine_->SetSelectByObject(object);
  engine_->SetHatchPattern(kVHatchNone, 1);

  VLineFormat format;
  engine_->GetLineFormat(format);
  format.thicknessDots = ConvertToInt(params[kLineThickness]);
  // The engine draws top-left to bottom-right; a rising line swaps the ends' y.
  if (line.rising) std::swap(format.y1, format.y2);
  engine_->SetLineFormat(format);
  return true;
}

void CSessionManager::CreatePolygon(const Params& params) {
  if (!engine_ || params.empty()) return;
  const int64_t count = std::max<int64_t>(0, ConvertToInt(params[0]));
  // N, the points, the fill and the thickness.
  const uint64_t needed = 1 + 2 * static_cast<uint64_t>(count) + 2;
  if (params.size() < needed) {
    log_->Write(L"POLYGON of " + params[0] + L" points skipped: it has " +
                platform::IntToWide(static_cast<int64_t>(params.size())) +
                L" parameters, it needs " + platform::IntToWide(static_cast<int64_t>(needed)));
    return;
  }
  // Points are dots like every other object's geometry.
  const int32_t dpi = EngineDpi(), units = EngineUnitsPerInch();
  auto toUnits = [&](size_t i) { return DotsToEngineUnits(ConvertToInt(params[i]), units, dpi); };
  engine_->ClearMultiLinePoints();
  for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
    engine_->AddMultiLinePoints({toUnits(1 + 2 * i), toUnits(2 + 2 * i)});
  }
  const size_t fill = 1 + 2 * static_cast<size_t>(count);
  VDrawObj* object = engine_->CreateMultiLine();
  engine_->ClearMultiLinePoints();
  if (!object) return;
  engine_->SetSelectByObject(object);
  engine_->SetSelectByObject(object);
  engine_->SetHatchPattern(HatchForFill(params[fill]), 1);
  engine_->SetPenWidth(static_cast<float>(ConvertToInt(params[fill + 1])));
}

void CSessionManager::CreateGraphics(const Params& params) {
  if (!engine_ || params.size() <= kPictureReverse) return;
  const std::wstring path = std::wstring(kPictureFolder) + L"\\" + params[kPictureName];
  // Names come from scripts: nothing outside the picture folder is opened.
  if (!platform::IsInsideCardFolder(path, kPictureFolder)) {
    log_->Write(L"Picture outside the picture folder not loaded: " + params[kPictureName]);
    return;
  }
  const int32_t dpi = EngineDpi(), units = EngineUnitsPerInch();
  auto toUnits = [&](size_t i) { return DotsToEngineUnits(ConvertToInt(params[i]), units, dpi); };
  const VPoint topLeft{toUnits(kPictureX), toUnits(kPictureY)};
  const VPoint bottomRight{AddSaturated(topLeft.x, toUnits(kPictureWidth)),
                           AddSaturated(topLeft.y, toUnits(kPictureHeight))};
  const bool reverse = params[kPictureReverse] == L"T";
  const int32_t id = engine_->GetNextFreeObjectId();
  VDrawObj* object =
      engine_->CreateNewGraphic(topLeft, bottomRight, path, kVObjPicture, id, false, reverse);
  if (!object) return;
  object->SetPictureReverse(reverse);
  engine_->SetSelectByID(id);
  if (engine_->GetSelectedObjectType() != kVObjPicture) return;

  // The engine loads the picture while the object is open; our callback hands
  // it the path, and the engine's own callback is back in place afterwards.
  const VFileRequestCallback previousCallback = engine_->GetFileRequestCallback();
  void* previousParam = engine_->GetCallbackParam();
  std::wstring requested = path;
  engine_->SetFileRequestCallback(&AnswerPictureRequest);
  engine_->SetCallbackParam(&requested);
  engine_->OpenSelected();
  engine_->CloseSelected(0);
  engine_->SetFileRequestCallback(previousCallback);
  engine_->SetCallbackParam(previousParam);
}

bool CSessionManager::CreateShapeCommand(const Params& params) {
  CreateShape(params);
  return true;
}

bool CSessionManager::CreateArrowCommand(const Params& params) {
  CreateArrow(params);
  return true;
}

bool CSessionManager::CreatePolygonCommand(const Params& params) {
  CreatePolygon(params);
  return true;
}

bool CSessionManager::CreateGraphicsCommand(const Params& params) {
  CreateGraphics(params);
  return true;
}
