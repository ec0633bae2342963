// Shapes, arrows, lines, polygons and pictures: each command makes one engine
// object, selected at once, with its pen, fill and rotation. Parameters are
// read by the names of the record definition (record/CommandRecord.h); the
// shape names and the arithmetic live in session/ShapeGeometry.h.

#include <cstdint>
#include <utility>

#include "platform/StorageCard.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "session/SessionManager.h"
#include "session/ShapeGeometry.h"

namespace {

constexpr wchar_t kPictureFolder[] = L"\\SD\\Store\\Graphics";

// The ink a full ZPL shape names; black where the record names none.
int32_t InkOf(const std::vector<std::wstring>& params, size_t index) {
  if (index >= params.size()) return kVInkBlack;
  if (params[index] == L"W") return kVInkWhite;
  if (params[index] == L"R") return kVInkReverse;
  return kVInkBlack;
}

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
  using P = record::ShapeParam;
  if (!engine_ || params.size() < P::kRequired) return;
  const EngineScale scale = GetEngineScale();
  const int32_t x = scale.ToUnits(params, P::kX), y = scale.ToUnits(params, P::kY);
  const int32_t width = scale.ToUnits(params, P::kWidth);
  const int32_t height = scale.ToUnits(params, P::kHeight);
  const VRect rect{x, y, AddSaturated(x, width), AddSaturated(y, height)};

  const int32_t type = GetObjectShapeIdentifier(params[P::kName]);
  if (type == 0) {
    log_->Write(L"Unsupported Object Type:" + params[P::kName]);
    return;
  }
  VDrawObj* object = engine_->CreateNewObject(type, rect, engine_->GetNextFreeObjectId());
  if (!object) return;
  // Selected before rounding: the engine rounds the selected rectangle.
  engine_->SetSelectByObject(object);
  if (type == kVObjRectangle) {
    engine_->SetRectangleRoundness(
        RectangleRoundness(ConvertToInt(params[P::kCorner]), width, height));
  }
  engine_->SetHatchPattern(HatchForFill(platform::ToUpper(params[P::kFill])), 1);
  engine_->SetPenWidth(HundredthsToPen(ConvertToInt(params[P::kThickness])));
  engine_->RotateSelectedObject(ConvertToInt(params[P::kRotation]));
  if (params.size() > P::kInk) engine_->SetSelectedInk(InkOf(params, P::kInk));
}

// The five positions after the fill must be present, though nothing reads them.
void CSessionManager::CreateArrow(const Params& params) {
  using P = record::ArrowParam;
  if (!engine_ || params.size() < P::kRequired) return;
  const EngineScale scale = GetEngineScale();
  const int32_t x = scale.ToUnits(params, P::kX), y = scale.ToUnits(params, P::kY);
  const VRect rect{x, y, AddSaturated(x, scale.ToUnits(params, P::kWidth)),
                   AddSaturated(y, scale.ToUnits(params, P::kHeight))};

  const ArrowType* arrow = FindArrowType(params[P::kType]);
  if (!arrow) {
    log_->Write(L"Unsupported Arrow Type:" + platform::ToUpper(platform::Trim(params[P::kType])));
    return;
  }
  VDrawObj* object =
      engine_->CreateNewObject(arrow->objectType, rect, engine_->GetNextFreeObjectId());
  if (!object) return;
  engine_->SetSelectByObject(object);
  engine_->SetHatchPattern(HatchForFill(platform::ToUpper(params[P::kFill])), 1);
  engine_->SetPenWidth(HundredthsToPen(ConvertToInt(params[P::kThickness])));
  const int64_t adjusted = int64_t{ConvertToInt(params[P::kRotation])} + arrow->addDegrees;
  engine_->RotateSelectedObject(EngineArrowRotation(adjusted));
}

bool CSessionManager::CreateDiagonalLine(const Params& params) {
  using P = record::LineParam;
  if (!engine_ || params.size() < P::kRequired) return true;
  const EngineScale scale = GetEngineScale();
  const LineGeometry line =
      DiagonalLineGeometry({scale.ToUnits(params, P::kX1), scale.ToUnits(params, P::kY1)},
                           {scale.ToUnits(params, P::kX2), scale.ToUnits(params, P::kY2)});
  VDrawObj* object =
      engine_->CreateNewObject(kVObjLine, line.bounds, engine_->GetNextFreeObjectId());
  if (!object) return true;
  engine_->SetSelectByObject(object);
  engine_->SetHatchPattern(kVHatchNone, 1);

  VLineFormat format;
  engine_->GetLineFormat(format);
  format.thicknessDots = ConvertToInt(params[P::kThickness]);
  // The engine draws top-left to bottom-right; a rising line swaps the ends' y.
  if (line.rising) std::swap(format.y1, format.y2);
  engine_->SetLineFormat(format);
  return true;
}

// The points are dots like every other object's geometry; the pen is whole points.
void CSessionManager::CreatePolygon(const Params& params) {
  using P = record::PolygonParam;
  if (!engine_ || params.size() < P::kRequired) return;
  const size_t count = static_cast<size_t>(std::max(0, ConvertToInt(params[P::kCount])));
  if (params.size() < P::Size(count)) {
    log_->Write(L"POLYGON of " + params[P::kCount] + L" points skipped: it has " +
                platform::IntToWide(static_cast<int64_t>(params.size())) +
                L" parameters, it needs " +
                platform::IntToWide(static_cast<int64_t>(P::Size(count))));
    return;
  }
  const int32_t dpi = EngineDpi(), units = EngineUnitsPerInch();
  auto toUnits = [&](size_t i) { return DotsToEngineUnits(ConvertToInt(params[i]), units, dpi); };
  engine_->ClearMultiLinePoints();
  for (size_t i = 0; i < count; ++i) {
    engine_->AddMultiLinePoints({toUnits(P::X(i)), toUnits(P::Y(i))});
  }
  VDrawObj* object = engine_->CreateMultiLine();
  engine_->ClearMultiLinePoints();
  if (!object) return;
  engine_->SetSelectByObject(object);
  engine_->SetSelectByObject(object);
  engine_->SetHatchPattern(HatchForFill(params[P::Fill(count)]), 1);
  engine_->SetPenWidth(static_cast<float>(ConvertToInt(params[P::Thickness(count)])));
  if (params.size() > P::Ink(count)) engine_->SetSelectedInk(InkOf(params, P::Ink(count)));
}

void CSessionManager::CreateGraphics(const Params& params) {
  using P = record::GraphicParam;
  if (!engine_ || params.size() < P::kRequired) return;
  const std::wstring path = std::wstring(kPictureFolder) + L"\\" + params[P::kName];
  // Names come from scripts: nothing outside the picture folder is opened.
  if (!platform::IsInsideCardFolder(path, kPictureFolder)) {
    log_->Write(L"Picture outside the picture folder not loaded: " + params[P::kName]);
    return;
  }
  const EngineScale scale = GetEngineScale();
  const VPoint topLeft{scale.ToUnits(params, P::kX), scale.ToUnits(params, P::kY)};
  const VPoint bottomRight{AddSaturated(topLeft.x, scale.ToUnits(params, P::kWidth)),
                           AddSaturated(topLeft.y, scale.ToUnits(params, P::kHeight))};
  const bool reverse = params[P::kReverse] == L"T";
  const int32_t id = engine_->GetNextFreeObjectId();
  VDrawObj* object =
      engine_->CreateNewGraphic(topLeft, bottomRight, path, kVObjPicture, id, false, reverse);
  if (!object) return;
  object->SetPictureReverse(reverse);
  engine_->SetSelectByID(id);
  if (engine_->GetSelectedObjectType() != kVObjPicture) return;
  if (params.size() > P::kInk) engine_->SetSelectedInk(InkOf(params, P::kInk));

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
