#pragma once
// One object of a Vellum label: its kind, where it sits, how it is drawn and
// where its printed value comes from. ObjectData is plain data, so a print
// job can keep a snapshot of the label while the session goes on editing it;
// LabelObject is the handle the session holds (a VDrawObj owned by the
// engine's LabelModel).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/VInterface.h"

namespace vellum {

struct PictureMask;

// The font of a text object, as the session set it.
struct FontData {
  std::wstring faceName;  // empty: the engine's default family
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int32_t points = 10;
  int32_t heightDots = 0;   // non-zero: cell height instead of `points`
  double widthScale = 0.0;  // 0: natural width
};

struct SequenceData {
  std::wstring start = L"1";  // digits; leading zeros set the minimum width
  int32_t labelCount = 1;
  int32_t increment = 1;
  int32_t repeatEach = 1;  // labels printed before the value steps on
  std::wstring prefix;
  std::wstring postfix;
};

struct PromptData {
  std::wstring prompt;
  std::wstring defaultValue;
  std::wstring caption;
  int32_t maxLength = 0;
};

// A picture file and what became of loading it.
struct PictureData {
  std::wstring cardPath;
  bool keepAspect = false;
  bool reverse = false;
  bool attempted = false;
  std::shared_ptr<const PictureMask> mask;  // null until loaded (or when loading failed)
  std::wstring failure;                     // why loading failed
  bool overBudget = false;                  // refused for the label's picture memory
};

struct ObjectData {
  int32_t id = 0;
  int32_t type = 0;      // a VObjectType
  VRect rect;            // engine units, normalised (left <= right, top <= bottom)
  int32_t rotation = 0;  // degrees counter-clockwise about the rectangle's centre
  int32_t hatch = kVHatchNone;
  int32_t ink = kVInkBlack;  // shapes: a VInk
  float penPoints = 0.0f;    // outline width; thinner than a dot draws one dot
  VPoint roundness;          // rounded rectangle corner ellipse, engine units
  int32_t autoSize = 0;
  bool prompted = false;

  int32_t dataSource = kVSourceStatic;
  SequenceData sequence;
  std::wstring dateTimePicture;
  int32_t dateTimeUpdate = 1;  // 1: the clock is read for every label
  PromptData prompt;

  std::wstring text;  // text objects' own text
  FontData font;
  VTextFormat textFormat;  // frame position/size fields are kept in `rect`
  VTextAlignment alignment;

  VBarcodeFormat barcode;
  VBarcodeLayout barcodeLayout;
  std::wstring barcodeRejection;  // why the last data given was refused
  VLineFormat line;
  std::vector<VPoint> points;  // polygon corners, engine units
  PictureData picture;
};

// The static value an object prints when no data source replaces it.
const std::wstring& StaticValue(const ObjectData& object);

// Short English name of an object type ("rectangle", "text" ...), for JSON and
// diagnostics; "unknown" for other codes.
const char* ObjectTypeName(int32_t type);

// True for the types CreateNewObject makes.
bool IsKnownObjectType(int32_t type);

class LabelObject : public VDrawObj {
 public:
  explicit LabelObject(ObjectData data) : data_(std::move(data)) {}

  int32_t GetObjectId() const override { return data_.id; }
  int32_t GetObjectType() const override { return data_.type; }
  VRect GetObjectRect() const override { return data_.rect; }
  void SetPrompted(int32_t prompted, int32_t reserved1, int32_t reserved2) override;
  void SetPictureReverse(bool reverse) override { data_.picture.reverse = reverse; }
  void CreateObjectWindow(int32_t, VWindow*, int32_t) override {}  // headless

  ObjectData& data() { return data_; }
  const ObjectData& data() const { return data_; }

 private:
  ObjectData data_;
};

// Left <= right and top <= bottom.
VRect Normalised(const VRect& rect);

}  // namespace vellum
