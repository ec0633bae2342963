// The full dialect's graphics: "^GF" graphic fields, "~DG" downloaded
// graphics and their recall by "^XG" and "^IM". A decoded bitmap is written
// as a 1-bit PNG into the store's Graphics folder (ZPLStore.h) and printed
// through an ordinary GRAPHIC record of zero size, which the engine draws one
// pixel per dot: the picture on the label is the bitmap, dot for dot. A bad
// graphic is logged and draws nothing; the rest of the label prints.

#include <algorithm>

#include "parsers/zpl/ZPLStore.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "parsers/zpl/full/ZPLPlacement.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

constexpr int64_t kMostMagnification = 10;

// The first `count` comma-separated parameters of `text`, and the rest (the
// data, which may hold commas of its own) after them.
bool SplitHead(std::wstring_view text, size_t count, std::vector<std::wstring>& head,
               std::wstring_view& rest) {
  head.clear();
  size_t start = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t comma = text.find(L',', start);
    if (comma == std::wstring_view::npos) return false;
    head.push_back(platform::Trim(text.substr(start, comma - start)));
    start = comma + 1;
  }
  rest = text.substr(start);
  return true;
}

// A byte count: digits only (leading zeros are common), at most 9 of them.
int64_t Count(const std::wstring& text) {
  if (text.empty() || text.size() > 9) return -1;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return -1;
  }
  return platform::LeadingInt(text);
}

std::optional<ZplGraphicFormat> FormatOf(const std::wstring& letter) {
  const std::wstring upper = platform::ToUpper(letter);
  if (upper.empty() || upper == L"A") return ZplGraphicFormat::kAsciiHex;
  if (upper == L"B") return ZplGraphicFormat::kBinary;
  if (upper == L"C") return ZplGraphicFormat::kCompressedBinary;
  return std::nullopt;
}

int64_t Magnification(const std::vector<std::wstring>& p, size_t i) {
  if (i >= p.size() || p[i].empty()) return 1;
  return std::clamp<int64_t>(platform::LeadingInt(p[i]), 1, kMostMagnification);
}

}  // namespace

// "^GFa,b,c,d,data": compression, bytes sent, graphic bytes, bytes per row.
bool ZPLFullParser::GraphicField(const ZPLCommand& command) {
  if (!ClaimField(command)) return true;
  std::vector<std::wstring> p;
  std::wstring_view data;
  const bool whole = SplitHead(command.parameters, 4, p, data);
  const auto format = whole ? FormatOf(p[0]) : std::nullopt;
  if (!format) {
    ReportBadParameters(L"GRAPHIC FIELD", command);
    return true;
  }
  const ZplGraphicDecode decoded =
      DecodeZplGraphic(*format, Count(p[1]), Count(p[2]), Count(p[3]), data);
  if (!decoded.bitmap) {
    ReportError(L"Graphic field skipped, " + decoded.error + L": " + ShortCommand(command.text));
    return true;
  }
  if (!decoded.warning.empty()) {
    ReportError(L"Graphic field printed, " + decoded.warning + L": " + ShortCommand(command.text));
  }
  const std::wstring name = ZplGraphicContentName(*decoded.bitmap);
  if (const int error = StoreZplGraphic(name, *decoded.bitmap, true); error != 0) {
    ReportError(L"Graphic field skipped, " + ZplNotStored(name, error));
    return true;
  }
  AddGraphic(name, decoded.bitmap->WidthDots(), decoded.bitmap->rows, 1, 1);
  return true;
}

// "~DGd:o.x,t,w,data": stores the graphic under its name for "^XG" and "^IM".
bool ZPLFullParser::DownloadGraphic(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  std::wstring_view data;
  const bool whole = SplitHead(command.parameters, 3, p, data);
  const auto name = whole ? ZplObjectFileName(p[0], L"GRF") : std::nullopt;
  if (!name) {
    ReportBadParameters(L"DOWNLOAD GRAPHICS", command);
    return true;
  }
  const ZplGraphicDecode decoded =
      DecodeZplGraphic(ZplGraphicFormat::kAsciiHex, -1, Count(p[1]), Count(p[2]), data);
  if (!decoded.bitmap) {
    ReportError(L"Graphic " + *name + L" not stored, " + decoded.error + L": " +
                ShortCommand(command.text));
  } else if (const int error = StoreZplGraphic(*name, *decoded.bitmap, false); error != 0) {
    ReportError(L"Graphic " + ZplNotStored(*name, error));
  } else if (!decoded.warning.empty()) {
    ReportError(L"Graphic " + *name + L" stored, " + decoded.warning);
  }
  return true;
}

// "^XGd:o.x,mx,my": a stored graphic at the field origin, magnified.
bool ZPLFullParser::RecallGraphic(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  zpl::SplitParameters(command.parameters, p);
  if (p.size() > 3 || !zpl::IsNumeric(p.size() > 1 ? p[1] : L"", false) ||
      !zpl::IsNumeric(p.size() > 2 ? p[2] : L"", false)) {
    ReportBadParameters(L"RECALL GRAPHIC", command);
    return true;
  }
  return RecallStored(command, p[0], Magnification(p, 1), Magnification(p, 2));
}

// "^IMd:o.x": a stored image at the field origin, as it is.
bool ZPLFullParser::RecallImage(const ZPLCommand& command) {
  return RecallStored(command, std::wstring(command.parameters), 1, 1);
}

bool ZPLFullParser::RecallStored(const ZPLCommand& command, const std::wstring& object, int64_t mx,
                                 int64_t my) {
  if (!ClaimField(command)) return true;
  const auto name = ZplObjectFileName(object, L"GRF");
  if (!name) {
    ReportBadParameters(L"RECALL GRAPHIC", command);
    return true;
  }
  const auto size = StoredPictureSize(*name);
  if (!size) {
    ReportError(L"Stored graphic not found: " + *name);
    return true;
  }
  AddGraphic(*name, size->width, size->height, mx, my);
  return true;
}

// Unmagnified pictures get no size: the engine then prints them one pixel per
// dot, whatever its units.
void ZPLFullParser::AddGraphic(const std::wstring& name, int64_t width, int64_t height, int64_t mx,
                               int64_t my) {
  const bool magnified = mx != 1 || my != 1;
  const ZPLPlacement at = PlaceZplObject(field_, ZPLObjectKind::kGraphic, height * my);
  using Graphic = record::GraphicParam;
  record::RecordWriter graphic(GRAPHIC, Graphic::kRequired);
  graphic.Set(Graphic::kName, name)
      .Set(Graphic::kX, at.x)
      .Set(Graphic::kY, at.y)
      .Set(Graphic::kWidth, magnified ? width * mx : 0)
      .Set(Graphic::kHeight, magnified ? height * my : 0)
      .SetFlag(Graphic::kReverse, false);
  AddObject(std::move(graphic), Graphic::kInk, false);
}
