#pragma once
// The font side of Vellum's text objects: changes the engine's default text
// font, every text object of the label, or the selected one (VTextTarget).
// Owned by VellumEngine, which hands it out through
// GetVInterfaceTextProperties.

#include "engine/VInterface.h"

namespace vellum {

class VellumEngine;
struct FontData;
struct ObjectData;

class VellumTextProperties : public VInterfaceTextProperties {
 public:
  explicit VellumTextProperties(VellumEngine* engine) : engine_(engine) {}

  bool SetTextFontName(int32_t target, int32_t run, const platform::LOGFONTW& font,
                       int32_t redraw) override;
  bool SetTextFontBold(int32_t target, int32_t run, bool bold, int32_t redraw) override;
  bool SetTextFontItalic(int32_t target, int32_t run, bool italic, int32_t redraw) override;
  bool SetTextFontUnderline(int32_t target, int32_t run, bool underline, int32_t redraw) override;
  bool SetTextFontSize(int32_t target, int32_t run, int32_t points, int32_t heightDots,
                       double widthScale, bool fixedSize) override;

 private:
  // Calls `change` with the font of each text the target names (and the
  // object, null for the default font). False when it names none.
  template <typename Change>
  bool Apply(int32_t target, Change change);

  VellumEngine* engine_;
};

}  // namespace vellum
