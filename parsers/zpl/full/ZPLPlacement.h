#pragma once
// Where an object of a full-dialect field stands: the one place that reads
// the field's origin. "^FO" gives the top-left corner of every object. "^FT"
// gives the start of a text field's baseline (the record says so and the
// renderer finds the baseline), and the bottom-left corner of boxes,
// diagonals, graphics and a linear barcode's bars; circles, ellipses and 2-D
// symbols keep the origin as their top-left. "^FT" without coordinates
// places the field where the previous one ended, by the same rules.

#include <cstdint>
#include <string_view>

#include "parsers/zpl/full/ZPLFullField.h"

enum class ZPLObjectKind {
  kText,
  kBox,
  kRound,  // circles and ellipses
  kDiagonal,
  kGraphic,
  kLinearBarcode,
  kMatrixBarcode,
};

struct ZPLPlacement {
  int64_t x;
  int64_t y;
  std::wstring_view originKind;  // text records: "TOP", "BASELINE" or "FOLLOW"
};

// The place of an object of `kind`, `height` dots tall, in `field`.
ZPLPlacement PlaceZplObject(const ZPLFullField& field, ZPLObjectKind kind, int64_t height = 0);
