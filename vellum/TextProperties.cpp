#include "vellum/TextProperties.h"

#include <algorithm>

#include "vellum/VellumEngine.h"

namespace vellum {

template <typename Change>
bool VellumTextProperties::Apply(int32_t target, Change change) {
  switch (target) {
    case kVTextDefault:
      change(engine_->defaultFont_, nullptr);
      return true;
    case kVTextLabel: {
      bool any = false;
      for (const auto& object : engine_->model_.objects()) {
        if (object->data().type != kVObjText) continue;
        change(object->data().font, &object->data());
        any = true;
      }
      return any;
    }
    case kVTextSelected: {
      ObjectData* selected = engine_->SelectedOfType(kVObjText);
      if (selected == nullptr) return false;
      change(selected->font, selected);
      return true;
    }
  }
  return false;
}

bool VellumTextProperties::SetTextFontName(int32_t target, int32_t, const platform::LOGFONTW& font,
                                           int32_t) {
  return Apply(target, [&font](FontData& data, ObjectData*) {
    data.faceName = font.lfFaceName;
    data.bold = font.lfWeight >= 600;
    data.italic = font.lfItalic != 0;
    data.underline = font.lfUnderline != 0;
  });
}

bool VellumTextProperties::SetTextFontBold(int32_t target, int32_t, bool bold, int32_t) {
  return Apply(target, [bold](FontData& data, ObjectData*) { data.bold = bold; });
}

bool VellumTextProperties::SetTextFontItalic(int32_t target, int32_t, bool italic, int32_t) {
  return Apply(target, [italic](FontData& data, ObjectData*) { data.italic = italic; });
}

bool VellumTextProperties::SetTextFontUnderline(int32_t target, int32_t, bool underline, int32_t) {
  return Apply(target, [underline](FontData& data, ObjectData*) { data.underline = underline; });
}

bool VellumTextProperties::SetTextFontSize(int32_t target, int32_t, int32_t points,
                                           int32_t heightDots, double widthScale, bool fixedSize) {
  return Apply(target, [=](FontData& data, ObjectData* object) {
    data.points = std::clamp(points, 0, 1000);
    data.heightDots = std::clamp(heightDots, 0, 30000);
    data.widthScale = widthScale > 0.0 && widthScale <= 20.0 ? widthScale : 0.0;
    if (fixedSize && object != nullptr) object->alignment.autoSize = 0;
  });
}

}  // namespace vellum
