#pragma once
// A logical font as the host describes its system fonts: the fields a font
// list needs. Field names follow the device platform's record.

#include <cstdint>
#include <string>

namespace platform {

struct LOGFONTW {
  int32_t lfHeight = 0;     // character height in device units (negative: em height)
  int32_t lfWeight = 400;   // 400 normal, 700 bold
  uint8_t lfItalic = 0;     // non-zero: italic
  uint8_t lfUnderline = 0;  // non-zero: underlined
  uint8_t lfCharSet = 0;    // 0 ANSI
  std::wstring lfFaceName;  // family name, e.g. L"Arial"
};

}  // namespace platform
