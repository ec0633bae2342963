#pragma once
// The fonts of a full ZPL printer and how a field's font command sizes them.
// Font 0 is a scalable bold condensed face; A to H are fixed-pitch bitmap
// fonts whose cells grow by whole magnifications; P to V are fixed-pitch
// faces that scale freely; "^CW" aliases and "^A@"
// name scalable font files. Each is printed with an open face of the same
// proportions: the metrics here say how tall its capitals stand in the cell,
// where the baseline lies and how far each character advances, and the
// drawing engine fits the face to them. Used by the full dialect's text
// fields (ZPLFullFieldCommands.cpp).

#include <cstdint>
#include <string>
#include <string_view>

struct ZPLFontCell {
  std::wstring face;  // the face name handed to the session
  bool bold = false;
  bool scalable = true;
  int64_t cellHeight = 0;      // dots: line pitch
  int64_t capHeight = 0;       // dots
  int64_t baseline = 0;        // dots from the cell's top
  int64_t advance = 0;         // dots the digit "0" advances; 0: the face's own
  int64_t widthPercent = 100;  // stretch when no advance is given
  bool capitalsOnly = false;   // small letters print as capitals
};

// The printer fonts' faces: font 0 and the bitmap fonts.
inline constexpr wchar_t kZplScalableFace[] = L"Roboto Condensed";
inline constexpr wchar_t kZplBitmapFace[] = L"DejaVu Sans Mono";
// The face of the "^GS" marks.
inline constexpr wchar_t kZplSymbolFace[] = L"DejaVu Sans";

// True when `font` ("0", "A" ... "H", "P" ... "V") is one of the printer's own fonts.
bool IsZplPrinterFont(wchar_t font);

// The cell of printer font `font` asked for with `height` and `width` in
// dots (empty: not given) at `dpi`. Scalable: an empty side follows the
// other. Bitmap: each side is the base cell times a whole magnification
// (1 to 10) nearest the size asked for; an empty side takes the other's
// magnification, both empty the base cell. P to V scale as
// font 0 does.
ZPLFontCell ZplPrinterFontCell(wchar_t font, std::wstring_view height, std::wstring_view width,
                               int dpi);

// The cell of the "^GS" symbol font asked for with `height` and `width`:
// a 24-dot cell grown as the bitmap fonts grow.
ZPLFontCell ZplSymbolFontCell(std::wstring_view height, std::wstring_view width);

// The cell of a scalable font file (a "^CW" alias or "^A@"): `fileName` as
// written ("E:ARIAL.TTF"); its face is the file's name without drive and
// extension.
ZPLFontCell ZplFontFileCell(std::wstring_view fileName, std::wstring_view height,
                            std::wstring_view width);

// "ARIAL" of "E:ARIAL.TTF"; empty for a name with nothing left.
std::wstring ZplFontFileFace(std::wstring_view fileName);
