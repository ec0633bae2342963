// Pictures, shapes, arrows and lines, each a single tag that appends its
// record at once, and barcodes, which append theirs at "/BARCODE".

#include <array>
#include <string_view>
#include <utility>

#include "engine/BarcodeVocabulary.h"
#include "parsers/tpl/TPLRecordBuilders.h"
#include "parsers/xtpl/XTPLParser.h"
#include "platform/Text.h"

namespace {

// The shape elements, in the order they are tried.
constexpr std::array<std::wstring_view, 8> kHotShapes = {
    L"<RECTANGLE", L"<CIRCLE", L"<CROSS", L"<NOT", L"<SEAL", L"<STAR", L"<TRIANGLE", L"<DIAMOND",
};

using NamePair = std::pair<std::wstring_view, std::wstring_view>;

constexpr NamePair kArrowTypes[] = {
    {L"LEFT-ARROW", L"ARROW_LEFT"},
    {L"RIGHT-ARROW", L"ARROW_RIGHT"},
    {L"UP-ARROW", L"ARROW_UP"},
    {L"DOWN-ARROW", L"ARROW_DOWN"},
    {L"ROTATIONAL-ARROW-CLOCKWISE", L"ARROW_CLOCKWISE"},
    {L"ROTATIONAL-ARROW-COUNTER-CLOCKWISE", L"ARROW_COUNTERCLOCKWISE"},
    {L"ROTATIONAL-ARROW-BOTH-DIRECTIONS", L"ARROW_BOTHDIRECTIONS"},
    {L"ANGLED-ARROW-RIGHT", L"ARROW_ANGLED_RIGHT"},
    {L"ANGLED-ARROW-LEFT", L"ARROW_ANGLED_LEFT"},
};

namespace name = barcode_name;

// The document's barcode types that the session's names do not match.
constexpr NamePair kBarcodeTypes[] = {
    {L"UPCE", name::kUPCA},
    {L"CODE 128 A", name::kCode128},
    {L"CODE 128 B", name::kCode128},
    {L"CODE 128 C", name::kCode128},
    {L"CODABAR A/F", name::kCodabar},
    {L"EAN 8", name::kEAN8},
    {L"EAN 13", name::kEAN13},
    {L"EAN 128", name::kUCC128},
    {L"EAN/UCC 128", name::kUCC128},
    {L"EAN/UPC EXT2", name::kUPCE2},
    {L"EAN/UPC EXT5", name::kUPCE5},
    {L"INTERLEAVED 2 OF 5", name::kInterleaved2Of5},
    {L"JAN 8", name::kEAN8},
    {L"JAN 13", name::kEAN13},
    {L"UPC A", name::kUPCA},
    {L"UPC E", name::kUPCA},
    {L"UPC E EXT2", name::kUPCE2},
    {L"UPC E EXT5", name::kUPCE5},
    {L"MICRO PDF 417", name::kMicro417},
    {L"UPS MAXICODE", name::kMaxicode},
    {L"QR-CODE", name::kQRCode},
};

template <size_t N>
const std::wstring_view* Lookup(const NamePair (&table)[N], const std::wstring& name) {
  for (const NamePair& pair : table) {
    if (pair.first == name) return &pair.second;
  }
  return nullptr;
}

}  // namespace

std::wstring XTPLParser::MapArrowTypetoAPI(const std::wstring& type) {
  const std::wstring_view* name = Lookup(kArrowTypes, type);
  return std::wstring(name ? *name : L"ARROW_LEFT");
}

// The session matches type names ignoring case; they are passed upper-cased.
std::wstring XTPLParser::MapBarcodeType(const std::wstring& type) {
  const std::wstring_view* name = Lookup(kBarcodeTypes, type);
  return platform::ToUpper(name ? *name : std::wstring_view(type));
}

// Appended even without a file name: the picture keeps the name it had.
void XTPLParser::ParseGraphic(xtpl::Tag& tag) {
  TPLData& d = *data_;
  d.ResetGraphic();
  tag.RemoveString(L"GRAPHIC");
  Read(tag, L"POSITION-X", d.positionX, L"No position-x found in graphic command");
  Read(tag, L"POSITION-Y", d.positionY, L"No position-y found in graphic command");
  Read(tag, L"HEIGHT", d.height, L"No height found in graphic command");
  Read(tag, L"WIDTH", d.width, L"No width found in graphic command");
  Read(tag, L"FILE-NAME", d.imageName, L"No file-name found in graphic command");
  commandList_.push_back(tpl::GraphicRecord(d, *this));
}

bool XTPLParser::IsHotShape(const xtpl::Tag& tag) const {
  for (std::wstring_view shape : kHotShapes) {
    if (tag.Contains(shape)) return true;
  }
  return false;
}

void XTPLParser::Shape(xtpl::Tag& tag) {
  for (std::wstring_view shape : kHotShapes) {
    if (!tag.Contains(shape)) continue;
    data_->ResetShape();
    data_->objectType = shape.substr(1);
    tag.RemoveString(data_->objectType);
    ParseObjectParameters(tag);
    commandList_.push_back(tpl::ShapeRecord(*data_, *this));
    return;
  }
}

void XTPLParser::ParseObjectParameters(xtpl::Tag& tag) {
  TPLData& d = *data_;
  Read(tag, L"POSITION-X", d.positionX, L"No position-x found in shape command");
  Read(tag, L"POSITION-Y", d.positionY, L"No position-y found in shape command");
  Read(tag, L"HEIGHT", d.height, L"No height found in shape command");
  Read(tag, L"WIDTH", d.width, L"No width found in shape command");
  Read(tag, L"ROTATION", d.rotation);
  Read(tag, L"LINE-THICKNESS", d.lineThickness);
  Read(tag, L"FILL", d.fill);
  Read(tag, L"ROUNDED-CORNERS", d.roundedCorners);
}

// No reset: what an arrow does not give, it takes from the element before.
void XTPLParser::ParseArrowCommand(xtpl::Tag& tag) {
  std::wstring type = L"INVALID_ARROW_TYPE";
  Read(tag, L"TYPE", type, L"<Arrow> command must have a type specified. Type missing");
  data_->objectType = MapArrowTypetoAPI(type);
  ParseObjectParameters(tag);
  commandList_.push_back(tpl::ArrowRecord(*data_, *this));
}

void XTPLParser::ParseLineCommand(xtpl::Tag& tag) {
  TPLData& d = *data_;
  Read(tag, L"START-X", d.startX, L"No start-x for <line> command");
  Read(tag, L"START-Y", d.startY, L"No start-y for <line> command");
  Read(tag, L"END-X", d.endX, L"No end-x for <line> command");
  Read(tag, L"END-Y", d.endY, L"No end-y for <line> command");
  Read(tag, L"LINE-THICKNESS", d.lineThickness);
  commandList_.push_back(tpl::LineRecord(d, *this));
}

void XTPLParser::OpenBarcode(xtpl::Tag& tag) {
  AddState(kBarcodeOpen);
  tag.RemoveString(L"BARCODE");
  ParseBarCode(tag);
}

// No reset: what a barcode does not give, it keeps from the barcode before.
// HUMAN-READABLE-LOCATION is read before the name it contains.
void XTPLParser::ParseBarCode(xtpl::Tag& tag) {
  TPLData& d = *data_;
  Read(tag, L"POSITION-X", d.positionX, L"No position-x found in barcode command");
  Read(tag, L"POSITION-Y", d.positionY, L"No position-y found in barcode command");
  Read(tag, L"HEIGHT", d.height, L"No height found in barcode command");
  if (std::optional<std::wstring> type = tag.GetValue(L"TYPE")) {
    d.objectType = MapBarcodeType(*type);
  } else {
    ReportError(L"No type found in barcode command");
  }
  Read(tag, L"ROTATION", d.rotation);
  Read(tag, L"HUMAN-READABLE-LOCATION", d.humanReadableLocation);
  ReadFlag(tag, L"HUMAN-READABLE", d.humanReadable);
  Read(tag, L"DENSITY", d.density);
  ReadFlag(tag, L"CHECK-CHARACTER", d.checkCharacter);
  Read(tag, L"RATIO", d.ratio);
}

// A date-time source gives a plain barcode; no barcode is refused here.
void XTPLParser::CloseBarcode(xtpl::Tag&) {
  commandList_.push_back(tpl::BarcodeRecord(*data_, *this, dataSource_));
  RemoveState(kBarcodeOpen);
}
