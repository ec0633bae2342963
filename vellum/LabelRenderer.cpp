#include "vellum/LabelRenderer.h"

#include <algorithm>
#include <cmath>

#include "platform/Text.h"
#include "vellum/PictureLoader.h"
#include "vellum/PlacementCheck.h"

namespace vellum {
namespace {

bool IsQuarterTurn(double degrees) { return std::fmod(std::abs(degrees), 90.0) == 0.0; }

// The rectangle of a polygon's corners.
VRect PointBounds(const std::vector<VPoint>& points) {
  if (points.empty()) return VRect{};
  VRect r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const VPoint& p : points) {
    r.left = std::min(r.left, p.x), r.right = std::max(r.right, p.x);
    r.top = std::min(r.top, p.y), r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

// Where a loaded picture's pixels land: a side of 0 follows the picture's
// proportions, both 0 give one pixel per dot, and a picture that keeps its
// aspect shrinks to fit its box. The label's length follows this, not the
// box asked for, so a picture placed without a size is never cut.
DotBox PictureFrame(const DotBox& asked, const PictureData& picture) {
  const PictureMask& mask = *picture.mask;
  DotBox box = asked;
  if (box.width <= 0.0 && box.height <= 0.0) {
    box.width = mask.width, box.height = mask.height;
  } else if (box.width <= 0.0) {
    box.width = std::round(box.height * mask.width / mask.height);
  } else if (box.height <= 0.0) {
    box.height = std::round(box.width * mask.height / mask.width);
  }
  double sx = box.width / mask.width, sy = box.height / mask.height;
  if (picture.keepAspect) sx = sy = std::min(sx, sy);
  return DotBox{box.x, box.y, mask.width * sx, mask.height * sy};
}

}  // namespace

LabelRenderer::LabelRenderer(const PrinterGeometry& printer, const BarcodeRenderer* barcodes)
    : printer_(printer), barcodes_(barcodes), shaper_(printer.dpi) {}

double LabelRenderer::PenDots(float points) const {
  return std::clamp(std::round(points * printer_.dpi / 72.0), 1.0, 10000.0);
}

DotBox LabelRenderer::ToDots(const VRect& rect) const {
  const double left = std::round(UnitsToDots(rect.left, printer_));
  const double top = std::round(UnitsToDots(rect.top, printer_));
  return DotBox{left, top, std::round(UnitsToDots(rect.right, printer_)) - left,
                std::round(UnitsToDots(rect.bottom, printer_)) - top};
}

PreparedObject LabelRenderer::PrepareObject(const ObjectData& object, const std::wstring& value,
                                            Diagnostics& diagnostics,
                                            std::set<std::wstring>& reportedFaces,
                                            const std::optional<DotPoint>& follow) {
  PreparedObject prepared;
  prepared.object = &object;
  prepared.value = value;
  prepared.box = ToDots(object.type == kVObjMultiLine ? PointBounds(object.points) : object.rect);
  if (object.type == kVObjText) {
    const ResolvedFace face = fonts_.Resolve(object.font.faceName);
    // A missing face is reported once per printed label, with its first object.
    if (face.substituted && reportedFaces.insert(object.font.faceName).second) {
      diagnostics.Add(object.id,
                      L"font \"" + object.font.faceName + L"\" is not installed; " +
                          platform::BytesToWide(face.family) + L" used instead",
                      DiagnosticKind::kFontSubstituted);
    }
    if (object.textFormat.cellHeightDots > 0.0f) {
      const bool follows = object.textFormat.originKind == kVOriginFollow && follow.has_value();
      const DotPoint origin = follows ? *follow : DotPoint{prepared.box.x, prepared.box.y};
      prepared.text = PrepareTypesetText(object, value, origin, face.family, shaper_, printer_.dpi);
    } else {
      prepared.text = PrepareText(object, value, prepared.box, face.family, shaper_, printer_.dpi);
    }
    prepared.box = prepared.text->frame;
  }
  if (object.type == kVObjPicture && object.picture.overBudget) {
    // Said once for the label, however many of its pictures were left out.
    diagnostics.Add(0, L"pictures not drawn: " + object.picture.failure);
  } else if (object.type == kVObjPicture && object.picture.mask == nullptr) {
    diagnostics.Add(object.id,
                    L"picture \"" + object.picture.cardPath + L"\" not drawn: " +
                        (object.picture.failure.empty() ? L"not loaded" : object.picture.failure));
  }
  if (object.type == kVObjBarcode && barcodes_ != nullptr) {
    prepared.box = barcodes_->Frame(object, value, prepared.box, printer_.dpi, shaper_);
  }
  if (object.type == kVObjBarcode && !object.barcodeRejection.empty()) {
    diagnostics.Add(object.id, object.barcodeRejection);
  }
  // A turned object keeps its place: the top-left corner of its turned outline
  // stays where its frame's corner was, the way label printers place rotated
  // fields. Turned about its centre, a long field (a barcode, a line of text)
  // swung off its position and off the label.
  if (prepared.text && prepared.text->turnAboutOrigin) {
    // A field set on its baseline turns about its origin, as printers do.
    InitTurnAbout(&prepared.turn, object.rotation, prepared.text->origin.x,
                  prepared.text->origin.y);
    return prepared;
  }
  const double cx = prepared.box.x + prepared.box.width / 2.0;
  const double cy = prepared.box.y + prepared.box.height / 2.0;
  InitTurnAbout(&prepared.turn, object.rotation, cx, cy);
  const DotBox bounds = TransformedBounds(prepared.turn, prepared.box);
  double anchorX = prepared.box.x, anchorY = prepared.box.y;
  if (IsQuarterTurn(object.rotation)) {
    // Keep a turned object's edges on whole dots.
    anchorX = std::round(anchorX);
    anchorY = std::round(anchorY);
  }
  prepared.turn.x0 += anchorX - bounds.x;
  prepared.turn.y0 += anchorY - bounds.y;
  return prepared;
}

PreparedLabel LabelRenderer::Prepare(const LabelSnapshot& label,
                                     const std::vector<std::wstring>& values, bool outlinesOnly,
                                     Diagnostics& diagnostics) {
  PreparedLabel prepared;
  prepared.negative = label.settings.options.negative == 1;
  prepared.outlinesOnly = outlinesOnly;
  ContentExtent content;
  content.margin = kContentMarginInches * printer_.dpi;
  std::set<std::wstring> reportedFaces;
  std::optional<DotPoint> penEnd;  // of the last typeset text, on the design
  std::vector<DotBox> extents;
  for (size_t i = 0; i < label.objects.size(); ++i) {
    const ObjectData& object = label.objects[i];
    const std::wstring& value = i < values.size() ? values[i] : StaticValue(object);
    prepared.objects.push_back(PrepareObject(object, value, diagnostics, reportedFaces, penEnd));
    if (const auto& text = prepared.objects.back().text; text && text->typeset) {
      DotPoint end = text->penEnd;
      cairo_matrix_transform_point(&prepared.objects.back().turn, &end.x, &end.y);
      penEnd = end;
    }
    DotBox extent = TransformedBounds(prepared.objects.back().turn, prepared.objects.back().box);
    if (object.type == kVObjPicture && object.picture.mask != nullptr) {
      // The box asked for still counts where the picture keeps inside it.
      const DotBox drawn = TransformedBounds(
          prepared.objects.back().turn, PictureFrame(prepared.objects.back().box, object.picture));
      const double right = std::max(extent.x + extent.width, drawn.x + drawn.width);
      const double bottom = std::max(extent.y + extent.height, drawn.y + drawn.height);
      extent.x = std::min(extent.x, drawn.x), extent.y = std::min(extent.y, drawn.y);
      extent.width = right - extent.x, extent.height = bottom - extent.y;
    }
    if (object.type == kVObjLine) {
      const double t = std::max(1.0, static_cast<double>(object.line.thicknessDots));
      extent = ToDots(Normalised({object.line.x1, object.line.y1, object.line.x2, object.line.y2}));
      extent.width += t, extent.height += t;
    }
    if (printer_.checkPlacement) extents.push_back(extent);
    content.right = std::max(content.right, extent.x + extent.width);
    content.bottom = std::max(content.bottom, extent.y + extent.height);
    if (object.type == kVObjBarcode && barcodes_ != nullptr) {
      content.margin = std::max(content.margin, barcodes_->QuietZoneDots(object, printer_.dpi));
    }
  }
  prepared.page = ComputePage(label.settings, printer_, content);
  if (printer_.checkPlacement) CheckPlacement(prepared, extents, diagnostics);
  return prepared;
}

void LabelRenderer::Draw(cairo_t* cr, const PreparedLabel& label, bool vectorTarget,
                         Diagnostics& diagnostics, GlyphLayer* glyphs) const {
  Painter painter{vectorTarget, label.negative, glyphs};
  cairo_save(cr);
  if (vectorTarget || label.negative) {
    Painter plain{vectorTarget, false};
    plain.Choose(cr, label.negative);
    cairo_paint(cr);
  }
  cairo_transform(cr, &label.page.designToPage);
  for (const PreparedObject& prepared : label.objects) {
    DrawObject(cr, prepared, label, painter, diagnostics);
  }
  cairo_restore(cr);
}

void LabelRenderer::DrawObject(cairo_t* cr, const PreparedObject& prepared,
                               const PreparedLabel& label, const Painter& painter,
                               Diagnostics& diagnostics) const {
  const ObjectData& object = *prepared.object;
  cairo_save(cr);
  cairo_transform(cr, &prepared.turn);
  painter.Ink(cr);
  switch (object.type) {
    case kVObjText:
      DrawText(cr, *prepared.text, painter);
      break;
    case kVObjLine:
      DrawLine(cr, object, painter);
      break;
    case kVObjPicture:
      DrawPicture(cr, prepared, painter);
      break;
    case kVObjBarcode:
      if (barcodes_ != nullptr) {
        barcodes_->Draw(cr, object, prepared.value, prepared.box, printer_.dpi, shaper_,
                        painter.glyphs, diagnostics);
      }
      break;
    default:
      DrawShape(cr, prepared, label.outlinesOnly, painter);
      break;
  }
  cairo_restore(cr);
}

void LabelRenderer::DrawShape(cairo_t* cr, const PreparedObject& prepared, bool outlinesOnly,
                              const Painter& painter) const {
  const int32_t ink = outlinesOnly ? kVInkBlack : prepared.object->ink;
  if (ink == kVInkWhite) painter.Paper(cr);
  if (ink != kVInkReverse) {
    PaintShape(cr, prepared, outlinesOnly);
    return;
  }
  // Drawn into a group first, so that overlapping strokes reverse once; then
  // XOR on the raster's coverage, the difference of white on a page.
  cairo_push_group_with_content(cr,
                                painter.vector ? CAIRO_CONTENT_COLOR_ALPHA : CAIRO_CONTENT_ALPHA);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 1.0);
  PaintShape(cr, prepared, outlinesOnly);
  cairo_pop_group_to_source(cr);
  cairo_set_operator(cr, painter.vector ? CAIRO_OPERATOR_DIFFERENCE : CAIRO_OPERATOR_XOR);
  cairo_paint(cr);
}

void LabelRenderer::PaintShape(cairo_t* cr, const PreparedObject& prepared,
                               bool outlinesOnly) const {
  const ObjectData& object = *prepared.object;
  const double pen = PenDots(object.penPoints);
  if (outlinesOnly) {
    AppendRoundedRect(cr, prepared.box, 0.0, 0.0);
    PaintPath(cr, false, pen);
    return;
  }
  const bool filled = object.hatch == kVHatchSolid;
  if (object.type == kVObjNotSign) {
    PaintNotSign(cr, prepared.box, filled, pen);
    return;
  }
  if (object.type == kVObjMultiLine) {
    std::vector<DotPoint> corners;
    for (const VPoint& p : object.points) {
      corners.push_back(
          {std::round(UnitsToDots(p.x, printer_)), std::round(UnitsToDots(p.y, printer_))});
    }
    AppendPolygon(cr, corners);
  } else {
    const double roundX = UnitsToDots(object.roundness.x, printer_);
    const double roundY = UnitsToDots(object.roundness.y, printer_);
    if (!AppendShapePath(cr, object.type, prepared.box, roundX, roundY)) return;
  }
  PaintPath(cr, filled, pen);
}

void LabelRenderer::DrawLine(cairo_t* cr, const ObjectData& object, const Painter& painter) const {
  const VLineFormat& line = object.line;
  painter.Choose(cr, line.white != 1);
  const DotPoint a{std::round(UnitsToDots(line.x1, printer_)),
                   std::round(UnitsToDots(line.y1, printer_))};
  const DotPoint b{std::round(UnitsToDots(line.x2, printer_)),
                   std::round(UnitsToDots(line.y2, printer_))};
  const double thickness = std::clamp<double>(line.thicknessDots, 1.0, 10000.0);
  PaintLine(cr, a, b, thickness, line.style, line.startCap == 1, line.endCap == 1);
}

// A picture in its ink: white swaps ink and paper; reverse paints the
// picture's ink as a coverage first, then turns what lies below it.
void LabelRenderer::DrawPicture(cairo_t* cr, const PreparedObject& prepared,
                                const Painter& painter) const {
  const int32_t ink = prepared.object->ink;
  if (ink != kVInkReverse) {
    PaintPicture(
        cr, prepared,
        ink == kVInkWhite ? Painter{painter.vector, !painter.negative, painter.glyphs} : painter);
    return;
  }
  cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
  PaintPicture(cr, prepared, Painter{});
  cairo_pattern_t* coverage = cairo_pop_group(cr);
  if (painter.vector) {
    cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_mask(cr, coverage);
  } else {
    cairo_set_operator(cr, CAIRO_OPERATOR_XOR);
    cairo_set_source(cr, coverage);
    cairo_paint(cr);
  }
  cairo_pattern_destroy(coverage);
}

void LabelRenderer::PaintPicture(cairo_t* cr, const PreparedObject& prepared,
                                 const Painter& painter) const {
  const PictureData& picture = prepared.object->picture;
  if (picture.mask == nullptr) return;
  const PictureMask& mask = *picture.mask;
  const DotBox box = PictureFrame(prepared.box, picture);
  const double sx = box.width / mask.width, sy = box.height / mask.height;
  if (picture.reverse) {
    painter.Ink(cr);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_fill(cr);
  }
  painter.Choose(cr, !picture.reverse);
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  cairo_clip(cr);
  cairo_translate(cr, box.x, box.y);
  cairo_scale(cr, sx, sy);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(mask.surface);
  // Enlarged pictures keep square pixels; reduced ones are averaged. Padding
  // keeps the edge pixels whole instead of fading into the surroundings.
  cairo_pattern_set_filter(pattern,
                           sx >= 1.0 && sy >= 1.0 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_mask(cr, pattern);
  cairo_pattern_destroy(pattern);
}

}  // namespace vellum
