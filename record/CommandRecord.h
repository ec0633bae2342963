#pragma once
// The shape of every command record, written down once. For each kind: the
// name of each parameter position, the unit its value is in, and how many
// positions the session needs before it acts on the record. Parsers write
// records through these names (RecordWriter), the session reads them through
// the same names, and tests, fuzz targets and reports print kinds and
// positions by the names defined here.
//
// Units: positions and sizes are printer dots unless a position says
// otherwise. Pens of shapes and arrows are hundredths of a point; a polygon's
// pen is whole points; a line's thickness is dots. Barcode density is mils.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/Text.h"
#include "record/LabelCommand.h"

namespace record {

enum class Unit {
  kText,               // free text, passed on as written
  kFlag,               // "T" is true, anything else false, unless the kind says otherwise
  kWord,               // a keyword or letter the reader compares ("Y", "L", "TOP", a name)
  kInteger,            // a count or a plain number
  kDegrees,            // rotation in whole degrees
  kDots,               // printer dots
  kPoints,             // typographic points (1/72 inch)
  kHundredthsOfPoint,  // pen widths of shapes and arrows
  kMils,               // thousandths of an inch (barcode density)
  kEngineUnits,        // the drawing engine's own units (polygon points)
  kUnused,             // present for the record's shape; nobody reads it
};

// One named parameter position of a kind.
struct Position {
  size_t index;
  const char* name;
  Unit unit;
};

// Everything known about one command kind.
struct KindDefinition {
  int32_t kind;
  const char* name;  // the kind's name, "TEXT", "PRINT_LABEL", ...
  size_t required;   // the session skips records with fewer parameters
  // Every parser writes at least this many: more than `required` where the
  // kind's data source adds positions (a prompt, a sequence set-up) or where
  // the session ignores a position a record still carries (an error message).
  size_t written;
  std::span<const Position> positions;  // fixed positions; POLYGON repeats its points
};

// The definition of `kind`, or null for reserved and unknown kinds.
const KindDefinition* FindKind(int32_t kind);

// True for the values from 1 to 39 set aside for kinds that do not exist: no
// parser writes them and the session passes over them.
bool IsReserved(int32_t kind);

// "TEXT" for a known kind, "KIND 38" for any other value.
std::string KindName(int32_t kind);

// The name of parameter `index` of `kind` ("x", "font size", "point 2 y"), or
// "[index]" where the kind names no such position.
std::string PositionName(int32_t kind, size_t index);

// The unit of parameter `index` of `kind`; kText where the kind names none.
Unit PositionUnit(int32_t kind, size_t index);

// The same for a position of one record: a POLYGON's fill and pen follow its
// point count, which only the record knows ("fill", "thickness").
std::string PositionName(const LabelCommand& record, size_t index);
Unit PositionUnit(const LabelCommand& record, size_t index);

// "dots", "points", ... for messages and documentation.
const char* UnitName(Unit unit);

// The positions of the text kinds (TEXT, PROMPT_TEXT, SEQUENCE_TEXT,
// DATE_TIME_TEXT).
struct TextParam {
  enum : size_t {
    kText = 0,           // text; for PROMPT_TEXT the default answer
    kX = 1,              // dots
    kY = 2,              // dots
    kWidth = 3,          // dots, width of the text box
    kHeight = 4,         // dots, height of the text box
    kFontName = 5,       // face name
    kSizing = 6,         // "AUTOSIZE", "FREEFORM" or "MANUAL"
    kFontSize = 7,       // points
    kJustification = 8,  // "L", "C", anything else right
    kUnused9 = 9,        // present, not read
    kRotation = 10,      // degrees
    kBoxDrawn = 11,      // flag
    kBoxThickness = 12,  // dots; empty means 1
    kBold = 13,          // flag
    kItalic = 14,        // flag
    kUnderline = 15,     // flag
    kReverse = 16,       // flag
    kVertical = 17,      // flag
    kSourceText = 18,    // prompt text, date-time picture or sequence start
    kIncrement = 19,     // SEQUENCE_TEXT: step
    kLabelCount = 20,    // SEQUENCE_TEXT: number of labels
    kPrefix = 21,        // SEQUENCE_TEXT
    kPostfix = 22,       // SEQUENCE_TEXT
    // Typeset fields, written only by the full ZPL dialect (positions 18 to
    // 22 are then empty unless the kind needs them). A record that stops at
    // 22 prints as it always did.
    kCellHeight = 23,     // dots: line pitch of the font; present: the text is typeset
    kCapHeight = 24,      // dots: capitals' height; empty: the em is the cell height
    kBaseline = 25,       // dots from a line cell's top to its baseline; empty: the ascent
    kAdvance = 26,        // dots the digit "0" advances; empty: the face's own width
    kWidthPercent = 27,   // integer: stretch when no advance is given; empty: 100
    kBlockWidth = 28,     // dots: lines wrap and align in this width; 0 or empty: one line
    kBlockLines = 29,     // integer: lines of the block; later lines print over the last
    kBlockSpacing = 30,   // dots: extra space between the lines of a block
    kBlockJustify = 31,   // "L", "C", "R" or "J" (both edges): lines inside the block
    kHangingIndent = 32,  // dots: lines after the first start this far in
    kReverseBelow = 33,   // flag: the text reverses whatever is drawn below it
    kOriginKind = 34,     // "TOP": x, y is the field's top-left; "BASELINE": the start
                          // of its baseline (a block's last line); "FOLLOW": where the
                          // previous typeset text ended
    kOriginJustify = 35,  // "R": x is the field's right end; anything else its left
  };
  static constexpr size_t kRequired = 18;      // every text kind
  static constexpr size_t kWithSource = 19;    // PROMPT_TEXT, DATE_TIME_TEXT
  static constexpr size_t kWithSequence = 23;  // SEQUENCE_TEXT
  static constexpr size_t kTypeset = 36;       // full ZPL text fields
};

// The positions of the barcode kinds (BARCODE, PROMPT_BARCODE,
// SEQUENCE_BARCODE). The session tells the data source by the count: 11
// static, 12 prompted, 16 sequenced.
struct BarcodeParam {
  enum : size_t {
    kType = 0,              // one of the 23 barcode type names
    kData = 1,              // text to encode
    kX = 2,                 // dots
    kY = 3,                 // dots
    kHeight = 4,            // dots, bar height
    kRotation = 5,          // degrees, taken modulo 360
    kHumanReadable = 6,     // flag
    kHumanReadableTop = 7,  // "TOP" above the bars, anything else below
    kDensity = 8,           // mils, narrow module width
    kRatio = 9,             // wide-to-narrow ratio
    kCheckCharacter = 10,   // flag
    kPrompt = 11,           // PROMPT_BARCODE: the prompt text
    kSequenceStart = 11,    // SEQUENCE_BARCODE: first value
    kIncrement = 12,        // SEQUENCE_BARCODE
    kLabelCount = 13,       // SEQUENCE_BARCODE
    kPrefix = 14,           // SEQUENCE_BARCODE
    kPostfix = 15,          // SEQUENCE_BARCODE
    // Symbol details, written only by ZPL (positions 11 to 15 are then empty
    // and the barcode is static). The device dialect writes kModuleDots alone
    // (for "^BY"); the full dialect writes them all. Empty: the type's default.
    kModuleDots = 16,  // dots: the narrow bar, or a matrix symbol's module, exactly
    kSymbolRule = 17,  // "SYMBOLOGY": the data is checked by the symbology alone, the
                       // ratio is read as a decimal and the human-readable line is set
                       // as full ZPL printers set it (EAN/UPC digits around the guards)
    kErrorLevel = 18,  // integer on the symbology's own scale: QR 1-4 (L, M, Q, H),
                       // PDF417 0-8, MaxiCode mode 2-6; Aztec 1-99, the least percent
                       // of the symbol's codewords kept for error correction
    kSymbolSize = 19,  // integer: QR version, PDF417/MicroPDF417 columns, Aztec size
                       // 1-36 (1-4 compact), Data Matrix size number 1-30
    kRows = 20,        // integer: PDF417 rows
    kRowDots = 21,     // dots: height of a stacked symbol's row; for a matrix symbol
                       // without kModuleDots, the symbol's height (the module follows)
    kSymbolMode = 22,  // word: "GS1" (data holds "[AI]" element strings), "SUBSET B"
                       // (Code 128 in subset B only), "RUNE" (Aztec), "TRUNCATED"
                       // (PDF417), "STRUCTURED n/m" (MaxiCode, Aztec)
    kPrimary = 23,     // text: MaxiCode modes 2 and 3, postcode, country and service
    kAnchor = 24,      // word: "BOTTOM" (x, y is the symbol's bottom-left corner, the
                       // renderer finds its height); else x, y is its top-left corner,
                       // that of the bars as printed, its text line outside them
  };
  static constexpr size_t kRequired = 11;      // static barcode
  static constexpr size_t kWithPrompt = 12;    // prompted barcode
  static constexpr size_t kWithSequence = 16;  // sequenced barcode
  static constexpr size_t kWithModule = 17;    // ZPL "^BY" module (static)
  static constexpr size_t kSymbol = 25;        // full ZPL barcode fields (static)
};

// SHAPE: rectangles, ellipses, diamonds and the other named shapes.
struct ShapeParam {
  enum : size_t {
    kName = 0,       // shape name
    kX = 1,          // dots
    kY = 2,          // dots
    kWidth = 3,      // dots
    kHeight = 4,     // dots
    kThickness = 5,  // hundredths of a point
    kUnused6 = 6,    // present, not read
    kCorner = 7,     // corner rounding
    kFill = 8,       // fill pattern name
    kRotation = 9,   // degrees
    // Written only by the full ZPL dialect: "W" paints the shape white, "R"
    // reverses what lies below it; anything else (or no position) is black.
    kInk = 10,
  };
  static constexpr size_t kRequired = 10;
  static constexpr size_t kWithInk = 11;  // full ZPL shapes
};

// ARROW.
struct ArrowParam {
  enum : size_t {
    kType = 0,           // arrow type name
    kX = 1,              // dots
    kY = 2,              // dots
    kWidth = 3,          // dots
    kHeight = 4,         // dots
    kRotation = 5,       // degrees
    kThickness = 6,      // hundredths of a point
    kFill = 7,           // fill pattern name
    kUnused8 = 8,        // 8 to 12: present, not read; the arrow's own sizes
    kArc = 8,            // degrees of arc
    kCorner = 9,         // corner rounding
    kHeadLength = 10,    // arrow head length
    kHeadOverhang = 11,  // arrow head overhang
    kStemWidth = 12,     // arrow stem width
  };
  static constexpr size_t kRequired = 13;
};

// LINE: a straight line between two points.
struct LineParam {
  enum : size_t {
    kX1 = 0,         // dots
    kY1 = 1,         // dots
    kX2 = 2,         // dots
    kY2 = 3,         // dots
    kThickness = 4,  // dots
  };
  static constexpr size_t kRequired = 5;
};

// POLYGON: a count N, then N points, then fill and pen.
struct PolygonParam {
  static constexpr size_t kCount = 0;                        // N, the number of points
  static constexpr size_t X(size_t i) { return 1 + 2 * i; }  // point i, dots
  static constexpr size_t Y(size_t i) { return 2 + 2 * i; }
  static constexpr size_t Fill(size_t n) { return 2 * n + 1; }       // fill pattern name
  static constexpr size_t Thickness(size_t n) { return 2 * n + 2; }  // whole points
  static constexpr size_t Size(size_t n) { return 2 * n + 3; }
  // Written only by the full ZPL dialect: the ink, as a shape's kInk.
  static constexpr size_t Ink(size_t n) { return 2 * n + 3; }
  static constexpr size_t kRequired = 1;  // the session checks the rest against N
};

// GRAPHIC: a picture from the store's Graphics folder.
struct GraphicParam {
  enum : size_t {
    kName = 0,     // picture file name
    kX = 1,        // dots
    kY = 2,        // dots
    kWidth = 3,    // dots
    kHeight = 4,   // dots
    kReverse = 5,  // flag
    kInk = 6,      // written only by the full ZPL dialect: as a shape's kInk
  };
  static constexpr size_t kRequired = 6;
  static constexpr size_t kWithInk = 7;  // full ZPL graphics
};

// The setting kinds read one position, [0], except the two below.
struct SettingParam {
  enum : size_t { kValue = 0 };  // the kind's one value
};
// Month, day and year in the order a printer's clock command gives them.
struct DateAndTimeParam {
  enum : size_t { kMonth = 0, kDay, kYear, kHour, kMinute, kSecond, kAmPm };
  static constexpr size_t kRequired = 7;
};
struct LabelLengthParam {
  enum : size_t {
    kLength = 0,  // dots
    kWidth = 1,   // dots; written only by the full ZPL dialect (an empty length then
                  // leaves the length as it is)
  };
  static constexpr size_t kRequired = 1;
};
struct LabelOffsetParam {
  enum : size_t { kX = 0, kY = 1 };  // dots
  static constexpr size_t kRequired = 2;
};
struct ScriptErrorParam {
  enum : size_t { kMessage = 0 };  // text, not read by the session
};

// Builds one record position by position: setting a position past the end
// grows the list, leaving the positions between empty.
class RecordWriter {
 public:
  explicit RecordWriter(int32_t kind, size_t size = 0) {
    command_.kind = kind;
    command_.params.resize(size);
  }

  RecordWriter& Set(size_t index, std::wstring value) {
    if (index >= command_.params.size()) command_.params.resize(index + 1);
    command_.params[index] = std::move(value);
    return *this;
  }
  RecordWriter& Set(size_t index, const wchar_t* value) { return Set(index, std::wstring(value)); }
  RecordWriter& Set(size_t index, int64_t value) { return Set(index, platform::IntToWide(value)); }
  RecordWriter& Set(size_t index, int32_t value) { return Set(index, int64_t{value}); }
  RecordWriter& SetFlag(size_t index, bool value) { return Set(index, value ? L"T" : L"F"); }

  LabelCommand Take() { return std::move(command_); }

 private:
  LabelCommand command_;
};

}  // namespace record
