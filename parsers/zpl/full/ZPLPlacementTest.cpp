// Where each kind of object of a field stands, for each kind of origin.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "parsers/zpl/full/ZPLPlacement.h"
#include "platform/Text.h"

namespace {

using Origin = ZPLFullField::Origin;
using Kind = ZPLObjectKind;

TEST(ZPLPlacementTest, BaselineOriginsAreTheBottomOfObjectsThatStandOnThem) {
  // origin, kind, height, expected "x,y,origin kind"
  const std::tuple<Origin, Kind, int64_t, std::wstring> cases[] = {
      {Origin::kTop, Kind::kBox, 30, L"10,100,TOP"},
      {Origin::kTop, Kind::kLinearBarcode, 30, L"10,100,TOP"},
      {Origin::kTop, Kind::kText, 30, L"10,100,TOP"},
      {Origin::kBaseline, Kind::kBox, 30, L"10,70,BASELINE"},
      {Origin::kBaseline, Kind::kDiagonal, 30, L"10,70,BASELINE"},
      {Origin::kBaseline, Kind::kGraphic, 30, L"10,70,BASELINE"},
      {Origin::kBaseline, Kind::kLinearBarcode, 30, L"10,70,BASELINE"},
      {Origin::kFollow, Kind::kBox, 30, L"10,70,FOLLOW"},
      // The renderer finds a text's baseline; these keep the origin as their top.
      {Origin::kBaseline, Kind::kText, 30, L"10,100,BASELINE"},
      {Origin::kFollow, Kind::kText, 30, L"10,100,FOLLOW"},
      {Origin::kBaseline, Kind::kRound, 30, L"10,100,BASELINE"},
      // A symbol's size is found by the renderer, which stands it on its
      // origin.
      {Origin::kBaseline, Kind::kSymbol, 30, L"10,100,BASELINE,BOTTOM"},
      {Origin::kFollow, Kind::kSymbol, 30, L"10,100,FOLLOW,BOTTOM"},
      {Origin::kTop, Kind::kSymbol, 30, L"10,100,TOP"},
      // A QR code from its top stands the bar height lower; from its
      // bottom it is a symbol like the others.
      {Origin::kTop, Kind::kQrCode, 30, L"10,130,TOP"},
      {Origin::kBaseline, Kind::kQrCode, 30, L"10,100,BASELINE,BOTTOM"},
  };
  for (const auto& [origin, kind, height, expected] : cases) {
    ZPLFullField field;
    field.hasOrigin = true;
    field.origin = origin;
    field.x = 10;
    field.y = 100;
    const ZPLPlacement at = PlaceZplObject(field, kind, height);
    EXPECT_EQ(platform::IntToWide(at.x) + L"," + platform::IntToWide(at.y) + L"," +
                  std::wstring(at.originKind) + (at.fromBottom ? L",BOTTOM" : L""),
              expected)
        << static_cast<int>(origin) << " " << static_cast<int>(kind);
  }
}

}  // namespace
