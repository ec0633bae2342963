#include "vellum/LabelObject.h"

#include <algorithm>
#include <array>

namespace vellum {
namespace {

struct TypeName {
  int32_t type;
  const char* name;
};

constexpr std::array<TypeName, 15> kTypeNames = {{
    {kVObjNotSign, "not-sign"},
    {kVObjStar, "star"},
    {kVObjStraightArrow, "arrow"},
    {kVObjSeal, "seal"},
    {kVObjCross, "cross"},
    {kVObjTriangle, "triangle"},
    {kVObjDiamond, "diamond"},
    {kVObjCircle, "ellipse"},
    {kVObjRectangle, "rectangle"},
    {kVObjPicture, "picture"},
    {kVObjText, "text"},
    {kVObjBarcode, "barcode"},
    {kVObjLine, "line"},
    {kVObjMultiLine, "polygon"},
    {kVObjRotationalArrow, "rotational-arrow"},
}};

}  // namespace

const std::wstring& StaticValue(const ObjectData& object) {
  return object.type == kVObjBarcode ? object.barcode.data : object.text;
}

const char* ObjectTypeName(int32_t type) {
  for (const TypeName& entry : kTypeNames) {
    if (entry.type == type) return entry.name;
  }
  return "unknown";
}

bool IsKnownObjectType(int32_t type) { return std::string_view(ObjectTypeName(type)) != "unknown"; }

void LabelObject::SetPrompted(int32_t prompted, int32_t, int32_t) {
  data_.prompted = prompted != 0;
  if (data_.prompted) data_.dataSource = kVSourcePrompt;
}

VRect Normalised(const VRect& rect) {
  return VRect{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
               std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
}

}  // namespace vellum
