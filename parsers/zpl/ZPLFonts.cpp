#include "parsers/zpl/ZPLFonts.h"

#include <algorithm>
#include <cmath>

#include "platform/Text.h"

namespace {

// A bitmap font's base cell in dots: height, width, the gap after each
// character, and where its capitals and baseline lie. Fonts B and H have
// capitals only, so their capitals fill the cell.
struct BitmapFont {
  wchar_t letter;
  int64_t height, width, gap, capHeight, baseline;
};

constexpr BitmapFont kBitmapFonts[] = {
    {L'A', 9, 5, 1, 7, 7},     {L'B', 11, 7, 2, 11, 11},  {L'C', 18, 10, 2, 14, 14},
    {L'D', 18, 10, 2, 14, 14}, {L'E', 28, 15, 5, 20, 21}, {L'F', 26, 13, 3, 19, 20},
    {L'G', 60, 40, 8, 44, 46}, {L'H', 21, 13, 6, 21, 21},
};

// Fonts E and H are drawn for the head's resolution: their cells at 12 dots
// per millimetre (300 dpi and finer).
constexpr BitmapFont kFineBitmapFonts[] = {
    {L'E', 42, 20, 6, 30, 32},
    {L'H', 34, 22, 9, 34, 34},
};

// The symbol font of "^GS": a 24-dot cell grown by whole magnifications,
// the marks hanging from its top, the circled ones five eighths of it tall.
constexpr BitmapFont kSymbolFont = {L'@', 24, 24, 2, 15, 15};

// Fonts P to V: fixed-pitch faces that scale like font 0. Capitals stand
// two thirds of the cell a little below its top, and each character
// advances the width asked for.
constexpr std::wstring_view kPitchFonts = L"PQRSTUV";
constexpr double kPitchCapRatio = 2.0 / 3.0;
constexpr double kPitchBaselineRatio = 0.8;

// Font 0: capitals stand three quarters of the cell, flush with its top, and
// the digits advance half the character width.
constexpr double kScalableCapRatio = 0.75;
constexpr double kScalableAdvanceRatio = 0.5;
constexpr int64_t kMaxDots = 32000;
constexpr int64_t kMaxMagnification = 10;

const BitmapFont* FindBitmapFont(wchar_t letter, int dpi) {
  if (dpi >= 300) {
    for (const BitmapFont& font : kFineBitmapFonts) {
      if (font.letter == letter) return &font;
    }
  }
  for (const BitmapFont& font : kBitmapFonts) {
    if (font.letter == letter) return &font;
  }
  return nullptr;
}

// 0 when not given (empty or not a positive number).
int64_t Dots(std::wstring_view value) {
  if (value.empty()) return 0;
  return std::clamp<int64_t>(platform::LeadingInt(std::wstring(value)), 0, kMaxDots);
}

int64_t Magnification(int64_t asked, int64_t base) {
  if (asked <= 0) return 0;
  return std::clamp<int64_t>((asked + base / 2) / base, 1, kMaxMagnification);
}

ZPLFontCell BitmapCell(const BitmapFont& font, std::wstring_view height, std::wstring_view width) {
  int64_t magH = Magnification(Dots(height), font.height);
  int64_t magW = Magnification(Dots(width), font.width);
  if (magH == 0) magH = magW == 0 ? 1 : magW;
  if (magW == 0) magW = magH;
  ZPLFontCell cell;
  cell.face = kZplBitmapFace;
  cell.bold = true;
  cell.scalable = false;
  cell.cellHeight = font.height * magH;
  cell.capHeight = font.capHeight * magH;
  cell.baseline = font.baseline * magH;
  cell.advance = (font.width + font.gap) * magW;
  cell.capitalsOnly = font.capHeight == font.height;
  return cell;
}

// Height and width of a scalable font: an empty side follows the other.
std::pair<int64_t, int64_t> ScalableSize(std::wstring_view height, std::wstring_view width) {
  int64_t h = Dots(height), w = Dots(width);
  if (h == 0) h = w;
  if (w == 0) w = h;
  if (h == 0) h = w = 1;
  return {h, w};
}

int64_t Scaled(int64_t dots, double ratio) {
  return std::max<int64_t>(1, std::llround(static_cast<double>(dots) * ratio));
}

ZPLFontCell PitchCell(std::wstring_view height, std::wstring_view width) {
  const auto [h, w] = ScalableSize(height, width);
  ZPLFontCell cell;
  cell.face = kZplBitmapFace;
  cell.bold = true;
  cell.cellHeight = h;
  cell.capHeight = Scaled(h, kPitchCapRatio);
  cell.baseline = Scaled(h, kPitchBaselineRatio);
  cell.advance = w;
  return cell;
}

bool IsPitchFont(wchar_t font) { return kPitchFonts.find(font) != std::wstring_view::npos; }

}  // namespace

bool IsZplPrinterFont(wchar_t font) {
  return font == L'0' || FindBitmapFont(font, 203) != nullptr || IsPitchFont(font);
}

ZPLFontCell ZplPrinterFontCell(wchar_t font, std::wstring_view height, std::wstring_view width,
                               int dpi) {
  if (const BitmapFont* bitmap = FindBitmapFont(font, dpi))
    return BitmapCell(*bitmap, height, width);
  if (IsPitchFont(font)) return PitchCell(height, width);
  const auto [h, w] = ScalableSize(height, width);
  ZPLFontCell cell;
  cell.face = kZplScalableFace;
  cell.bold = true;
  cell.cellHeight = h;
  cell.capHeight = Scaled(h, kScalableCapRatio);
  cell.baseline = cell.capHeight;
  cell.advance = Scaled(w, kScalableAdvanceRatio);
  return cell;
}

ZPLFontCell ZplFontFileCell(std::wstring_view fileName, std::wstring_view height,
                            std::wstring_view width) {
  const auto [h, w] = ScalableSize(height, width);
  ZPLFontCell cell;
  cell.face = ZplFontFileFace(fileName);
  cell.cellHeight = h;
  cell.capHeight = Scaled(h, kScalableCapRatio);
  cell.baseline = cell.capHeight;
  cell.widthPercent = std::clamp<int64_t>(w * 100 / h, 1, 2000);
  return cell;
}

ZPLFontCell ZplSymbolFontCell(std::wstring_view height, std::wstring_view width) {
  ZPLFontCell cell = BitmapCell(kSymbolFont, height, width);
  cell.face = kZplSymbolFace;
  cell.bold = false;
  cell.advance = 0;  // the marks keep their own widths
  return cell;
}

std::wstring ZplFontFileFace(std::wstring_view fileName) {
  const size_t colon = fileName.find(L':');
  if (colon != std::wstring_view::npos) fileName.remove_prefix(colon + 1);
  const size_t dot = fileName.rfind(L'.');
  if (dot != std::wstring_view::npos) fileName = fileName.substr(0, dot);
  return platform::Trim(fileName);
}
