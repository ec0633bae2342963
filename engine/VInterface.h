#pragma once
// The drawing-engine seam. The label session builds and prints labels only
// through these three abstract classes; the host owns the engine object and
// hands the session a pointer to it. Two implementations exist: vellum/ (the
// product, which renders printed labels) and testing/RecordingEngine (which
// records every call for the session tests).
//
// Units, unless a field says otherwise:
//   - engine units: GetUnitsPerInch() per inch (Vellum: 1000). Object
//     rectangles, points and the printable area are in engine units, with the
//     origin at the label's top-left corner, x to the right, y downwards.
//   - inches: the label data, the label offsets and the text/barcode formats.
//   - dots: printer dots at GetPrinterDPI().
//   - points: 1/72 inch (font sizes, pen widths).
//   - degrees: counter-clockwise as seen on the printed label.
//
// Selection: most object operations act on the selected object. Creating an
// object does not select it; the session calls SetSelectByObject or
// SetSelectByID right after. Operations on the selection do nothing when no
// object is selected.
//
// "labelIndex" arguments name the label of a multi-label document; the session
// always passes 0 (the current label). "reserved" pointer arguments are always
// null and are ignored. No operation throws: a request the engine cannot honour
// is ignored and reported through its result.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/LogFont.h"

// ---------------------------------------------------------------------------
// Codes
// ---------------------------------------------------------------------------

// Object types, as passed to CreateNewObject / CreateNewGraphic and reported by
// GetSelectedObjectType and VDrawObj::GetObjectType.
enum VObjectType : int32_t {
  kVObjNotSign = 102,          // circle with a diagonal bar ("no entry")
  kVObjStar = 106,             // five-pointed star filling the rectangle
  kVObjStraightArrow = 107,    // arrow pointing right (+x); turn it with rotation
  kVObjSeal = 109,             // seal / rosette: a star-burst circle
  kVObjCross = 110,            // plus-shaped cross
  kVObjTriangle = 111,         // apex top-centre, base along the bottom edge
  kVObjDiamond = 112,          // rhombus touching the middle of each edge
  kVObjCircle = 113,           // ellipse inscribed in the rectangle
  kVObjRectangle = 114,        // rectangle, corners rounded by SetRectangleRoundness
  kVObjPicture = 115,          // picture file scaled into the rectangle
  kVObjText = 117,             // text frame
  kVObjBarcode = 118,          // barcode
  kVObjLine = 124,             // straight line; its ends come from VLineFormat
  kVObjMultiLine = 126,        // closed polygon made by CreateMultiLine
  kVObjRotationalArrow = 139,  // circular arrow around the rectangle's centre
};

// Barcode symbologies (VBarcodeLayout::symbology). Where two type names share a
// code, VBarcodeFormat::typeName tells them apart.
enum VSymbology : int32_t {
  kVSymUpcA = 1,      // "UPCA": 11 digits, check digit added by the engine
  kVSymUpcAddOn = 2,  // "UPCE2" (11 + 2-digit add-on), "UPCE5" (11 + 5-digit add-on)
  kVSymEan13 = 3,     // "EAN/JAN-13": 12 digits, check digit added by the engine
  kVSymEan8 = 4,      // "EAN/JAN-8": 7 digits, check digit added by the engine
  kVSymCode39 = 5,    // "Code 39"
  kVSymInterleaved2Of5 = 7,
  kVSymCode128 = 8,  // "Code 128 Auto": code set chosen by the engine
  kVSymCodabar = 9,
  kVSymPostnet = 10,
  kVSymMsiPlessey = 11,
  kVSymCode93 = 12,
  kVSymUcc128 = 14,  // GS1-128
  kVSymHibc = 15,    // HIBC over Code 39
  kVSymPdf417 = 16,  // "PDF 417", "Micro 417"
  kVSymMaxicode = 27,
  kVSymDatamatrix = 28,
  kVSymPostbar = 29,
  kVSymAztec = 30,
  kVSymCode16K = 52,
  kVSymCode49 = 53,
  kVSymQrCode = 54,
};

// Data sources (SetDataSource); the same numbers as the command record's.
enum VDataSource : int32_t {
  kVSourceStatic = 0,    // the object's own text or data
  kVSourceSequence = 1,  // a serial number, see SetSequence
  kVSourceDateTime = 2,  // the date and time at print, see SetDateTimeFormat
  kVSourcePrompt = 3,    // asked of the operator at print, see SetPrompt
};

// What varies from label to label in a print job (VPrintData::variableDataKind).
enum VVariableData : int32_t {
  kVVariableNone = 0,      // every label alike
  kVVariableSequence = 1,  // a serial number steps on
  kVVariablePrompt = 2,    // the operator answers a prompt
};

// SetHatchPattern.
enum VHatch : int32_t {
  kVHatchSolid = 0,  // filled black
  kVHatchNone = 1,   // outline only
};

// SetSelectedInk: how a shape's marks are painted.
enum VInk : int32_t {
  kVInkBlack = 0,    // ink (the default)
  kVInkWhite = 1,    // paper: erases what lies below
  kVInkReverse = 2,  // turns ink below it to paper and paper to ink
};

// Cutter modes (VLabelOptions::cutterMode).
enum VCutter : int32_t {
  kVCutBetweenLabels = 0,
  kVCutAfterJob = 1,
  kVCutNever = 2,
};

// Human-readable placement (VBarcodeFormat / VBarcodeLayout::humanReadable).
enum VHumanReadable : int32_t {
  kVHumanNone = 0,
  kVHumanAbove = 1,
  kVHumanBelow = 2,
};

// Text justification (VTextAlignment::justification).
enum VJustify : int32_t {
  kVJustifyLeft = 0,
  kVJustifyCentre = 1,
  kVJustifyRight = 2,
};

// The first argument of the VInterfaceTextProperties setters: which text they
// change. The session always passes kVTextSelected.
enum VTextTarget : int32_t {
  kVTextDefault = 0,   // the default for text objects created later
  kVTextLabel = 1,     // every text object of the label
  kVTextSelected = 2,  // the selected text object
};

// StartPrint destinations.
enum VPrintDestination : int32_t {
  kVPrintPreview = 1,  // render, keep the result in memory only
  kVPrintFile = 2,     // render to files only
  kVPrintDevice = 3,   // render and send to the printer (Vellum: write the outputs)
};

// ---------------------------------------------------------------------------
// Geometry
// ---------------------------------------------------------------------------

struct VPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Engine units; right/bottom are exclusive. Callers may pass right < left or
// bottom < top (negative sizes); engines normalise.
struct VRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct VSize {
  int32_t width = 0;
  int32_t height = 0;
};

// ---------------------------------------------------------------------------
// Formats
// ---------------------------------------------------------------------------

// The label as a whole (GetLabelData / SetLabelData). Inches.
struct VLabelData {
  double widthInches = 0.0;    // across the print head; 0: the printable width
  double gapInches = 0.0;      // gap between consecutive labels on the roll
  double lengthInches = 0.0;   // along the feed; used when lengthFixed is 1
  uint32_t mediaType = 0;      // engine's media code, kept as read (0: die-cut labels)
  int32_t lengthFixed = 0;     // 1: lengthInches holds; 0: the length follows the content
  int32_t leftMarginDots = 0;  // blank dots before the label's left edge
  int32_t labelsAcross = 1;    // labels side by side on the roll
  int32_t labelsDown = 1;      // labels printed per page (one label = 1)
};

// Printer options of the label (GetLabelOptions / SetLabelOptions).
struct VLabelOptions {
  int32_t feedMode = 0;     // 0 gap sensing, 1 continuous, 2 black mark
  int32_t tearOffDots = 0;  // extra feed after each label for tearing off
  int32_t cutterMode = 0;   // a VCutter
  int32_t negative = 0;     // 1: the whole label printed white on black
  int32_t pauseEach = 0;    // 1: pause for the operator after each label
  int32_t mirror = 0;       // 1: the label is mirrored left to right
};

// The selected text object's frame (GetTextFormat / SetTextFormat). Setting it
// moves and resizes the frame.
struct VTextFormat {
  float xInches = 0.0f;  // top-left corner of the frame
  float yInches = 0.0f;
  float widthInches = 0.0f;
  float heightInches = 0.0f;
  int32_t borderThickness = 0;          // bounding box line width in dots; 0: no box drawn
  float lineSpacing = 1.0f;             // multiple of the font's line height
  float characterSpacingPoints = 0.0f;  // extra space between characters
  float marginInches = 0.0f;            // inner margin between the box and the text
  int32_t clip = 1;                     // 1: text outside the frame is not drawn
  int32_t maxLength = 0;                // characters printed; 0: no limit

  // Typesetting as label printers do it (free-form text only). A cell height
  // of 0 leaves the text as described above; otherwise the frame's top-left
  // corner is the field's origin point (see originKind) and these hold. Dots.
  float cellHeightDots = 0.0f;     // line pitch of the font
  float capHeightDots = 0.0f;      // capitals are scaled to this height; 0: em = cell height
  float baselineDots = 0.0f;       // from a line cell's top to its baseline; 0: the face's ascent
  float advanceDots = 0.0f;        // the face is stretched so "0" advances this far;
                                   // 0: the font's width scale applies
  float blockWidthDots = 0.0f;     // > 0: lines wrap at this width and align in it
  int32_t blockLines = 1;          // lines the block holds; later lines print over the last
  float blockSpacingDots = 0.0f;   // extra space between lines
  int32_t blockJustify = 0;        // a VJustify, or kVJustifyBoth
  float hangingIndentDots = 0.0f;  // lines after the first start this far in
  int32_t originKind = 0;          // a VTextOrigin
  int32_t originRight = 0;         // 1: the origin is the field's right end
  int32_t reverseBelow = 0;        // 1: the text reverses whatever lies below it
};

// VTextFormat::blockJustify beside the VJustify values: lines fill the block
// from edge to edge (the last line left).
inline constexpr int32_t kVJustifyBoth = 3;

// Where a typeset text's origin point lies (VTextFormat::originKind).
enum VTextOrigin : int32_t {
  kVOriginTop = 0,       // the top-left corner of the field
  kVOriginBaseline = 1,  // the start of the baseline (a block's last line)
  kVOriginFollow = 2,    // where the previous typeset text's baseline ended
};

// How the selected text object lays out its text (GetTextAlignment /
// SetTextAlignment).
struct VTextAlignment {
  int32_t boxBound = 1;        // 1: text kept inside the frame; 0: frame follows the text
  int32_t justification = 0;   // a VJustify
  int32_t verticalCentre = 1;  // 1: lines centred vertically in the frame; 0: from the top
  int32_t reverse = 0;         // 1: white text on a black frame
  int32_t autoSize = 0;        // 1: font scaled so the text fills the frame
  int32_t vertical = 0;        // 1: characters stacked top to bottom
  int32_t wordWrap = 1;        // 1: box-bound lines also break at the frame's width
};

// The selected barcode's symbol (GetBarcodeFormat / SetBarcodeFormat).
struct VBarcodeFormat {
  std::wstring typeName;                 // the type name of the session's table ("Code 39" ...)
  float heightInches = 0.0f;             // bar height
  int32_t densityMils = 20;              // narrow bar width, thousandths of an inch (10 .. 80)
  float ratio = 3.0f;                    // wide to narrow bar ratio (2.0, 2.5, 3.0)
  int32_t humanReadable = kVHumanBelow;  // a VHumanReadable
  int32_t checkCharacter = 0;            // 1: the engine adds the optional check character
  int32_t quietZones = 0;                // 1: keep blank quiet zones inside the object
  int32_t barWidthReduction = 0;         // dots taken off each bar (ink spread)
  int32_t humanReadablePoints = 8;       // font size of the human-readable line
  int32_t autoSize = 1;                  // 1: the object's width follows the symbol
  std::wstring data;                     // the data to encode (the default for prompts)
  // Symbol details a ZPL job gives (zero or empty: the type's defaults).
  int32_t moduleDots = 0;    // narrow bar or matrix module, whole dots, instead of the density
  int32_t symbolRule = 0;    // 1: data as the symbology defines it, ratio as given (2.0-3.0),
                             // human-readable line as full ZPL prints it
  int32_t errorLevel = -1;   // the symbology's own scale (QR 1-4, PDF417 0-8, Aztec 1-4,
                             // MaxiCode mode 2-6); -1: automatic
  int32_t symbolSize = 0;    // QR version, PDF417 columns, Aztec size, Data Matrix size
  int32_t rows = 0;          // PDF417 rows
  int32_t rowDots = 0;       // stacked row height; matrix without a module: symbol height
  std::wstring symbolMode;   // "GS1", "SUBSET B", "RUNE", "TRUNCATED", "STRUCTURED n/m"
  std::wstring primary;      // MaxiCode modes 2 and 3: postcode, country, service
  int32_t anchorBottom = 0;  // 1: the object's corner is the symbol's bottom-left
};

// The selected barcode's placement (GetBarcodeLayout / SetBarcodeLayout).
struct VBarcodeLayout {
  int32_t densityIndex = 1;              // (densityMils - 10) / 10
  int32_t humanReadableFont = 2;         // engine font number of the human-readable line
  int32_t symbology = 0;                 // a VSymbology
  int32_t humanReadable = kVHumanBelow;  // a VHumanReadable
  int32_t quietZones = 1;                // 1: quiet zones left around the symbol
  int32_t invert = 0;                    // 1: white bars on black
  int32_t mirror = 0;                    // 1: symbol mirrored
  int32_t checkCharacter = 0;            // 1: optional check character added
  float heightInches = 0.0f;             // bar height
};

// The selected line's ends and pen (GetLineFormat / SetLineFormat). A line
// object is created over its bounding rectangle and runs from its top-left to
// its bottom-right corner until its ends are set here.
struct VLineFormat {
  int32_t thicknessDots = 1;  // pen width in dots
  int32_t x1 = 0;             // first end, engine units, label coordinates
  int32_t y1 = 0;
  int32_t x2 = 0;  // second end, engine units
  int32_t y2 = 0;
  int32_t style = 0;     // 0 solid, 1 dashed, 2 dotted
  int32_t startCap = 0;  // 0 plain, 1 arrow head at the first end
  int32_t endCap = 0;    // 0 plain, 1 arrow head at the second end
  int32_t white = 0;     // 1: drawn white (erases)
};

// One print job (AddPrintData). How quantity, sequences, prompts and date-time
// fields expand into printed labels is the engine's to decide and document.
struct VPrintData {
  std::wstring jobName;                       // the session uses "*CurrentLabel*"
  int32_t quantity = 1;                       // copies of each label
  int32_t sequencedMark = 1;                  // copies printed before a sequence steps on
  int32_t labelCount = 1;                     // labels a sequence asks for (largest count)
  int32_t variableDataKind = kVVariableNone;  // a VVariableData
};

// A request for a file the engine needs (a picture while loading an object).
// A file-request callback may answer it by setting `path` and `answered`.
struct VFileRequest {
  std::wstring path;      // in: the file the engine looks for; out: the file to use
  bool answered = false;  // out: true when `path` holds the answer
};

// Called by the engine when it needs a file; `param` is the callback
// parameter (GetCallbackParam). Returns true when it answered.
using VFileRequestCallback = bool (*)(VFileRequest& request, void* param);

// The engine's fixed printer settings (GetPrinterObj).
struct VPrinterSettings {
  std::wstring name;
  int32_t dpi = 300;            // GetPrinterDPI
  int32_t unitsPerInch = 1000;  // GetUnitsPerInch
  VSize printableArea;          // engine units, GetPrinterPrintableArea
};

// The engine's window on the host's screen, if any (opaque to the session).
class VWindow;

// ---------------------------------------------------------------------------
// VDrawObj
// ---------------------------------------------------------------------------

// One object on the label. Owned by the engine; a pointer stays valid until the
// object is deleted (DeleteAllLabelObjects, CreateLabel).
class VDrawObj {
 public:
  virtual ~VDrawObj() = default;

  virtual int32_t GetObjectId() const = 0;
  virtual int32_t GetObjectType() const = 0;  // a VObjectType
  virtual VRect GetObjectRect() const = 0;

  // Marks the object as prompted (barcodes): its data is asked of the
  // operator at print. `prompted` 1 on, 0 off; the other two are reserved (0).
  virtual void SetPrompted(int32_t prompted, int32_t reserved1, int32_t reserved2) = 0;
  // Pictures: true prints the picture inverted (white on black).
  virtual void SetPictureReverse(bool reverse) = 0;
  // Makes the object's on-screen window under `parent` (may be null; headless
  // engines do nothing). `style` 0 default; `visible` 1 shows it.
  virtual void CreateObjectWindow(int32_t style, VWindow* parent, int32_t visible) = 0;
};

// ---------------------------------------------------------------------------
// VInterfaceTextProperties
// ---------------------------------------------------------------------------

// The font of text objects. Obtained from VInterface::GetVInterfaceTextProperties;
// owned by the engine. Every setter takes the target (a VTextTarget) and the
// run index (0: the whole text) first and `redraw`-style trailing values that
// the session passes as 0.
class VInterfaceTextProperties {
 public:
  virtual ~VInterfaceTextProperties() = default;

  // Face from a logical font (lfFaceName, and its weight and style as defaults).
  virtual bool SetTextFontName(int32_t target, int32_t run, const platform::LOGFONTW& font,
                               int32_t redraw) = 0;
  virtual bool SetTextFontBold(int32_t target, int32_t run, bool bold, int32_t redraw) = 0;
  virtual bool SetTextFontItalic(int32_t target, int32_t run, bool italic, int32_t redraw) = 0;
  virtual bool SetTextFontUnderline(int32_t target, int32_t run, bool underline,
                                    int32_t redraw) = 0;
  // Font size in points. `heightDots` non-zero overrides the size with a cell
  // height in dots; `widthScale` 0.0 keeps the font's own width, else scales
  // it (1.0 natural); `fixedSize` true switches the object's autosize off.
  virtual bool SetTextFontSize(int32_t target, int32_t run, int32_t points, int32_t heightDots,
                               double widthScale, bool fixedSize) = 0;
};

// ---------------------------------------------------------------------------
// VInterface
// ---------------------------------------------------------------------------

// The drawing engine: one current label with its objects, the printer's
// settings and the print queue. Called by CSessionManager on the host window's
// thread only.
class VInterface {
 public:
  virtual ~VInterface() = default;

  // --- Printer settings (the engine's own, fixed while it lives) ---
  virtual int32_t GetPrinterDPI() = 0;          // dots per inch
  virtual int32_t GetUnitsPerInch() = 0;        // engine units per inch
  virtual VSize GetPrinterPrintableArea() = 0;  // engine units
  virtual const VPrinterSettings* GetPrinterObj() = 0;
  virtual VWindow* GetParentWnd() = 0;  // null when the engine has no window

  // --- The label ---
  // Replaces the current label with a new empty one. width/length in engine
  // units (0: printable width / unlimited), margins in engine units;
  // `clearObjects` 1 starts without objects.
  virtual bool CreateLabel(const std::wstring& name, int32_t width, int32_t length,
                           int32_t marginLeft, int32_t marginTop, int32_t clearObjects) = 0;
  // The application profile the label is made for ("CUSTOM" for scripts).
  virtual void SetAppType(const std::wstring& appType) = 0;
  // 1 when portrait, 0 when landscape. `source` 0 asks the current label, 1
  // the printer's loaded media.
  virtual int32_t IsLabelPrinterPortrait(int32_t source, const void* reserved) = 0;
  // `portrait` 1 portrait, 0 landscape (the label is turned by 90 degrees).
  virtual void SetLabelOrientation(int32_t portrait, int32_t labelIndex, const void* reserved) = 0;
  // `unlimited` 1: the label's length follows its content until SetLabelData
  // fixes it.
  virtual void SetPageSizeUnlimited(int32_t unlimited, const void* reserved) = 0;
  virtual bool GetLabelData(VLabelData& data, int32_t labelIndex, const void* reserved) = 0;
  virtual bool SetLabelData(const VLabelData& data) = 0;
  // Shifts the printed image, inches (positive: right / down).
  virtual void SetLabelOffsets(const void* reserved, float xInches, float yInches) = 0;
  // Turns the whole label, in tenths of a degree (0 .. 3600), replacing any
  // earlier label rotation.
  virtual void RotateLabelTenthsDeg(int32_t labelIndex, const void* reserved, int32_t tenths) = 0;
  // Prints the label turned by a further 180 degrees on top of its label
  // rotation (upside-down media). Not cumulative: calling it again keeps the
  // label turned once; CreateLabel clears it.
  virtual void RotateLabel180Deg(int32_t labelIndex, const void* reserved) = 0;
  virtual bool SaveToFile(const std::wstring& cardPath, const std::wstring& description,
                          int32_t flags) = 0;
  virtual void DeleteAllLabelObjects() = 0;

  // --- Objects ---
  virtual int32_t GetNextFreeObjectId() = 0;
  // A new object of `type` (a VObjectType) over `rect`; null for a type the
  // engine does not make. The id should come from GetNextFreeObjectId.
  virtual VDrawObj* CreateNewObject(int32_t type, const VRect& rect, int32_t id) = 0;
  // A picture object from the card file `cardPath`, scaled into the rectangle
  // (engine units). `keepAspect` keeps the picture's proportions; `reverse`
  // prints it inverted. Null when the picture cannot be made.
  virtual VDrawObj* CreateNewGraphic(VPoint topLeft, VPoint bottomRight,
                                     const std::wstring& cardPath, int32_t type, int32_t id,
                                     bool keepAspect, bool reverse) = 0;
  // Polygons: collect points (engine units), then make one closed polygon of
  // them (null with fewer than two points).
  virtual void ClearMultiLinePoints() = 0;
  virtual void AddMultiLinePoints(VPoint point) = 0;
  virtual VDrawObj* CreateMultiLine() = 0;

  // --- Selection and the selected object ---
  virtual void SetSelectByObject(VDrawObj* object) = 0;  // null clears the selection
  virtual bool SetSelectByID(int32_t id) = 0;
  virtual int32_t GetSelectedObjectType() = 0;  // 0 when nothing is selected
  virtual std::vector<VDrawObj*> GetSelectedObjects() = 0;
  // Opens the selected object for editing; pictures load their file here,
  // asking the file-request callback.
  virtual bool OpenSelected() = 0;
  virtual void CloseSelected(int32_t discard) = 0;  // 0 keeps the changes
  virtual void SetObjectAutoSize(VDrawObj* object, int32_t autoSize) = 0;
  virtual void SetHatchPattern(int32_t pattern, int32_t applyToSelected) = 0;  // a VHatch
  virtual void SetPenWidth(float points) = 0;  // outline width; thinner than a dot draws one dot
  // How the selected shape, polygon or picture is painted (a VInk); they are
  // black unless this is called.
  virtual void SetSelectedInk(int32_t ink) = 0;
  // Rounded corners of the selected rectangle: the ellipse drawn in each
  // corner, engine units ({0, 0}: square corners).
  virtual void SetRectangleRoundness(VPoint ellipse) = 0;
  // Turns the selected object to `degrees` (replaces, does not add to, an
  // earlier rotation). The turned object's outline keeps its top-left corner
  // at the object's position.
  virtual void RotateSelectedObject(int32_t degrees) = 0;
  // Sets a text object's text.
  virtual void SetTextFromObject(VDrawObj* object, const std::wstring& text, bool redraw) = 0;
  virtual VInterfaceTextProperties* GetVInterfaceTextProperties() = 0;
  // Copies a logical font into one the engine can use (`flags` 0).
  virtual bool CopyLogicalFont(const platform::LOGFONTW& source, platform::LOGFONTW& copy,
                               int32_t flags) = 0;

  // --- Formats of the selected object and of the label ---
  virtual bool GetBarcodeLayout(VBarcodeLayout& layout) = 0;
  virtual bool SetBarcodeLayout(const VBarcodeLayout& layout) = 0;
  virtual bool GetLabelOptions(VLabelOptions& options) = 0;
  virtual bool SetLabelOptions(const VLabelOptions& options) = 0;
  virtual bool GetLineFormat(VLineFormat& format) = 0;
  virtual bool SetLineFormat(const VLineFormat& format) = 0;
  virtual bool GetTextFormat(VTextFormat& format) = 0;
  virtual bool SetTextFormat(const VTextFormat& format) = 0;
  virtual bool GetBarcodeFormat(VBarcodeFormat& format) = 0;
  // False when the data cannot be encoded (the object keeps its old symbol).
  virtual bool SetBarcodeFormat(const VBarcodeFormat& format) = 0;
  virtual bool GetTextAlignment(VTextAlignment& alignment) = 0;
  virtual bool SetTextAlignment(const VTextAlignment& alignment) = 0;

  // --- Data sources of the selected text or barcode ---
  virtual void SetDataSource(int32_t source) = 0;  // a VDataSource
  // Serial number: starts at `start` (its digits; leading zeros set the
  // minimum width), steps by `increment` every `repeatEach` labels, for
  // `labelCount` labels; printed as prefix + number + postfix. `format` empty:
  // plain decimal.
  virtual void SetSequence(const std::wstring& start, int32_t labelCount, int32_t increment,
                           int32_t repeatEach, const std::wstring& prefix,
                           const std::wstring& postfix, const std::wstring& format) = 0;
  // Date and time at print, from platform::Now(), written with `picture`
  // (letters d, M, y, h, H, m, s, tt; text between apostrophes kept).
  // `update` 1: taken afresh for every label.
  virtual void SetDateTimeFormat(const std::wstring& picture, int32_t update) = 0;
  // Operator prompt: `prompt` is asked under `caption`, `defaultValue` is
  // offered (and printed when nobody answers). `maxLength` 0: no limit;
  // `required` 1: an answer is needed; `validCharacters` / `inputMask` empty:
  // anything goes.
  virtual void SetPrompt(const std::wstring& prompt, const std::wstring& defaultValue,
                         int32_t maxLength, const std::wstring& caption, int32_t required,
                         const std::wstring& validCharacters, const std::wstring& inputMask) = 0;
  // Re-lays out the label after a size change and before printing.
  virtual void RefreshLabel(int32_t labelIndex, int32_t redraw) = 0;

  // --- Printing ---
  virtual void InitPrintData() = 0;                      // empties the print queue
  virtual void AddPrintData(const VPrintData& job) = 0;  // queues the current label
  // Prints the queued jobs. `destination` a VPrintDestination; `showDialog` 1
  // asks the operator first; `collate` 1 prints copies as sets;
  // `waitForCompletion` 1 returns once the output is written.
  virtual bool StartPrint(int32_t destination, int32_t showDialog, int32_t collate,
                          int32_t waitForCompletion) = 0;

  // --- Fields ---
  virtual VFileRequestCallback GetFileRequestCallback() = 0;
  virtual void SetFileRequestCallback(VFileRequestCallback callback) = 0;
  virtual void* GetCallbackParam() = 0;
  virtual void SetCallbackParam(void* param) = 0;
  // true: objects are made without on-screen handles. Returns the old value.
  virtual bool SetPreventHandleCreation(bool prevent) = 0;
  virtual bool GetPreventhandleCreation() = 0;
  // true: shapes print as outlines of their rectangles (alignment tests).
  virtual void SetTestShapePrint(bool on) = 0;
  virtual bool GetTestShapePrint() = 0;
};
