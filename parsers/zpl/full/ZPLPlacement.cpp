#include "parsers/zpl/full/ZPLPlacement.h"

namespace {

std::wstring_view OriginKind(ZPLFullField::Origin origin) {
  switch (origin) {
    case ZPLFullField::Origin::kBaseline:
      return L"BASELINE";
    case ZPLFullField::Origin::kFollow:
      return L"FOLLOW";
    case ZPLFullField::Origin::kTop:
      break;
  }
  return L"TOP";
}

bool StandsOnOrigin(ZPLObjectKind kind) {
  switch (kind) {
    case ZPLObjectKind::kBox:
    case ZPLObjectKind::kDiagonal:
    case ZPLObjectKind::kGraphic:
    case ZPLObjectKind::kLinearBarcode:
      return true;
    case ZPLObjectKind::kText:
    case ZPLObjectKind::kRound:
    case ZPLObjectKind::kSymbol:
    case ZPLObjectKind::kQrCode:
      break;
  }
  return false;
}

}  // namespace

ZPLPlacement PlaceZplObject(const ZPLFullField& field, ZPLObjectKind kind, int64_t height) {
  const bool baseline = field.origin != ZPLFullField::Origin::kTop;
  const bool symbol = kind == ZPLObjectKind::kSymbol || kind == ZPLObjectKind::kQrCode;
  if (symbol) {
    const bool lowered = !baseline && kind == ZPLObjectKind::kQrCode;
    return ZPLPlacement{field.x, lowered ? field.y + height : field.y, OriginKind(field.origin),
                        baseline};
  }
  const bool bottom = baseline && StandsOnOrigin(kind);
  return ZPLPlacement{field.x, bottom ? field.y - height : field.y, OriginKind(field.origin),
                      false};
}
