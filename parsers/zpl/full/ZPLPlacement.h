#pragma once
// Where an object of a full-dialect field stands: the one place that reads
// the field's origin. "^FO" gives the top-left corner of every object. "^FT"
// gives the start of a text field's baseline (the record says so and the
// renderer finds the baseline), and the bottom-left corner of boxes,
// diagonals, graphics and device-read bars; and of the full dialect's
// symbols, whose size the renderer finds (the placement says so: turned, the
// corner turns with the symbol); circles and ellipses keep the origin as
// their top-left. "^FT" without coordinates places the field
// where the previous one ended, by the same rules. A QR code placed with
// "^FO" stands as far below its origin as "^BY" makes bars tall, as
// printers print it.

#include <cstdint>
#include <string_view>

#include "parsers/zpl/full/ZPLFullField.h"

enum class ZPLObjectKind {
  kText,
  kBox,
  kRound,  // circles and ellipses
  kDiagonal,
  kGraphic,
  kLinearBarcode,  // bars read the device's way, their height known here
  kSymbol,         // a barcode the renderer lays out, finding its size
  kQrCode,         // a symbol too; from "^FO" it stands the "^BY" height lower
};

struct ZPLPlacement {
  int64_t x;
  int64_t y;
  std::wstring_view originKind;  // text records: "TOP", "BASELINE" or "FOLLOW"
  bool fromBottom = false;       // x, y is the bottom-left of an object of unknown height
};

// The place of an object of `kind`, `height` dots tall, in `field` (for a
// QR code, `height` is the "^BY" bar height).
ZPLPlacement PlaceZplObject(const ZPLFullField& field, ZPLObjectKind kind, int64_t height = 0);
