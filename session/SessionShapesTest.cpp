// Shapes, arrows, lines, polygons and pictures against the recording engine.
// The engine is set to 1000 dpi and 1000 units per inch, so dots are units.

#include "intake/Languages.h"
#include "platform/ScriptingData.h"
#include "session/SessionTestHarness.h"

namespace {

using S = record::ShapeParam;
using A = record::ArrowParam;
using Poly = record::PolygonParam;

// name, x, y, width, height, thickness, unused, corner, fill, rotation
std::vector<std::wstring> ShapeParams(const std::map<size_t, std::wstring>& changes) {
  return With({L"RECTANGLE", L"10", L"20", L"100", L"50", L"25", L"", L"0", L"NONE", L"0"},
              changes);
}

// type, x, y, width, height, rotation, thickness, fill, five unused integers
std::vector<std::wstring> ArrowParams(const std::map<size_t, std::wstring>& changes,
                                      size_t count = 13) {
  return With({L"ARROW_RIGHT", L"10", L"20", L"100", L"50", L"0", L"25", L"NONE"}, changes, count);
}

bool EngineCallback(VFileRequest&, void*) { return false; }

std::vector<char> ToBytes(std::string_view text) { return {text.begin(), text.end()}; }

class ShapesTest : public SessionTest {
 protected:
  ShapesTest() { engine.dpi = engine.unitsPerInch = 1000; }
};

TEST_F(ShapesTest, ShapeNamesAreExactAndRectanglesRounded) {
  const struct {
    const wchar_t *name, *corner;
    int32_t type;                                         // 0: nothing drawn
    int32_t roundness;                                    // -1: not asked
  } cases[] = {{L"RECTANGLE", L"4", kVObjRectangle, 24},  // 4 * 0.125 * 25 = 12.5 -> 12, doubled
               {L"RECTANGLE", L"8", kVObjRectangle, 50},
               {L"RECTANGLE", L"0", kVObjRectangle, 0},
               {L"CIRCLE", L"4", kVObjCircle, -1},
               {L"NOT", L"4", kVObjNotSign, -1},
               {L"rectangle", L"4", 0, -1},
               {L"POLYGON", L"4", 0, -1}};
  for (const auto& c : cases) {
    const RecordedObject* shape =
        Build(SHAPE, ShapeParams({{S::kName, c.name}, {S::kCorner, c.corner}}));
    EXPECT_EQ(shape ? shape->type : 0, c.type) << c.name;
    EXPECT_EQ(engine.CountOf("SetRectangleRoundness"), c.roundness < 0 ? 0u : 1u) << c.name;
    if (!shape) continue;
    EXPECT_EQ(Corners(shape->rect), (std::vector<int32_t>{10, 20, 110, 70}));
    EXPECT_EQ(shape->roundness.x, std::max(0, c.roundness)) << c.corner;
  }
  EXPECT_TRUE(Logged("Unsupported Object Type:POLYGON\r\n"));
  EXPECT_TRUE(Logged("Unsupported Object Type:rectangle\r\n"));
}

// Shapes and arrows take pens in hundredths of a point, polygons in whole points.
TEST_F(ShapesTest, FillsAndPenWidths) {
  const struct {
    int32_t kind;
    const wchar_t *fill, *thickness;
    int32_t hatch;
    float pen;
  } cases[] = {
      {SHAPE, L"SOLID", L"25", kVHatchSolid, 0.25f}, {SHAPE, L"s", L"100", kVHatchSolid, 1.0f},
      {SHAPE, L"NONE", L"0", kVHatchNone, 0.0f},     {SHAPE, L"", L"25", kVHatchNone, 0.25f},
      {ARROW, L"solid", L"50", kVHatchSolid, 0.5f},  {ARROW, L"N", L"25", kVHatchNone, 0.25f},
      {POLYGON, L"s", L"25", kVHatchNone, 25.0f},    {POLYGON, L"S", L"3", kVHatchSolid, 3.0f}};
  for (const auto& c : cases) {
    const RecordedObject* object = Build(
        c.kind, c.kind == SHAPE ? ShapeParams({{S::kFill, c.fill}, {S::kThickness, c.thickness}})
                : c.kind == ARROW
                    ? ArrowParams({{A::kFill, c.fill}, {A::kThickness, c.thickness}})
                    : With({L"2", L"0", L"0", L"10", L"10"},
                           {{Poly::Fill(2), c.fill}, {Poly::Thickness(2), c.thickness}}));
    ASSERT_NE(object, nullptr) << c.fill;
    EXPECT_EQ(object->hatch, c.hatch) << record::KindName(c.kind) << " " << c.fill;
    EXPECT_FLOAT_EQ(object->penWidth, c.pen);
    for (const auto& call : engine.CallsNamed("SetHatchPattern")) EXPECT_EQ(call.args.at(1), L"1");
  }
}

// Full ZPL shapes name their ink in a position of their own; a record without
// it (every other language's) leaves the engine's black alone.
TEST_F(ShapesTest, ShapesAndPolygonsTakeTheInkTheirRecordNames) {
  const struct {
    int32_t kind;
    const wchar_t* ink;   // null: no ink position
    const wchar_t* call;  // null: no call
  } cases[] = {{SHAPE, nullptr, nullptr},           {SHAPE, L"W", L"SetSelectedInk(1)"},
               {SHAPE, L"R", L"SetSelectedInk(2)"}, {SHAPE, L"B", L"SetSelectedInk(0)"},
               {POLYGON, nullptr, nullptr},         {POLYGON, L"W", L"SetSelectedInk(1)"}};
  for (const auto& c : cases) {
    engine.ClearCalls();
    std::vector<std::wstring> params =
        c.kind == SHAPE ? ShapeParams({}) : With({L"2", L"0", L"0", L"10", L"10", L"S", L"0"}, {});
    if (c.ink != nullptr) params.push_back(c.ink);
    ASSERT_NE(Build(c.kind, params), nullptr);
    const auto calls = engine.CallsNamed("SetSelectedInk");
    ASSERT_EQ(calls.size(), c.call ? 1u : 0u) << (c.ink ? c.ink : L"none");
    if (c.call) {
      EXPECT_EQ(calls[0].ToString(), c.call);
    }
  }
}

// Arrow types are trimmed and upper-cased; the engine turns the other way
// round from a start that depends on the type.
TEST_F(ShapesTest, ArrowTypesAndRotations) {
  const struct {
    const wchar_t *type, *rotation;
    int32_t objectType;  // 0: nothing drawn
    int32_t engineRotation;
  } cases[] = {{L"ARROW_RIGHT", L"0", kVObjStraightArrow, 360},
               {L"  arrow_left ", L"0", kVObjStraightArrow, 180},
               {L"ARROW_UP", L"0", kVObjStraightArrow, 90},
               {L"ARROW_DOWN", L"0", kVObjStraightArrow, 270},
               {L"ARROW_LEFT", L"90", kVObjStraightArrow, 90},
               {L"ARROW_CLOCKWISE", L"45", kVObjRotationalArrow, 315},
               {L"ARROW_BOTHDIRECTIONS", L"-90", kVObjRotationalArrow, 450},
               {L"ARROW_COUNTERCLOCKWISE", L"2147483647", kVObjRotationalArrow, 233},
               {L"arrow_sideways", L"0", 0, 0}};
  for (const auto& c : cases) {
    const RecordedObject* arrow =
        Build(ARROW, ArrowParams({{A::kType, c.type}, {A::kRotation, c.rotation}}));
    EXPECT_EQ(arrow ? arrow->type : 0, c.objectType) << c.type;
    EXPECT_EQ(arrow ? arrow->rotation : 0, c.engineRotation) << c.type << " " << c.rotation;
  }
  EXPECT_TRUE(Logged("Unsupported Arrow Type:ARROW_SIDEWAYS\r\n"));
  EXPECT_EQ(Build(ARROW, ArrowParams({}, 12)), nullptr);
}

TEST_F(ShapesTest, LinesRiseOrFall) {
  const struct {
    std::vector<std::wstring> params;
    std::vector<int32_t> bounds, ends;  // ends: x1, y1, x2, y2
  } cases[] = {{{L"100", L"10", L"10", L"100", L"3"}, {10, 10, 100, 100}, {10, 100, 100, 10}},
               {{L"10", L"100", L"100", L"10", L"3"}, {10, 10, 100, 100}, {10, 100, 100, 10}},
               {{L"10", L"10", L"100", L"100", L"3"}, {10, 10, 100, 100}, {10, 10, 100, 100}},
               {{L"100", L"100", L"10", L"10", L"3"}, {10, 10, 100, 100}, {10, 10, 100, 100}},
               {{L"90", L"50", L"10", L"50", L"3"}, {10, 50, 90, 50}, {10, 50, 90, 50}}};
  for (const auto& c : cases) {
    const RecordedObject* line = Build(LINE, c.params);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->type, kVObjLine);
    EXPECT_EQ(Corners(line->rect), c.bounds);
    const VLineFormat& f = line->lineFormat;
    EXPECT_EQ((std::vector<int32_t>{f.x1, f.y1, f.x2, f.y2}), c.ends) << c.params[0];
    EXPECT_EQ(f.thicknessDots, 3);
    EXPECT_EQ(line->hatch, kVHatchNone);
  }
}

TEST_F(ShapesTest, PolygonsTakeTheirPointsOrNothingWhenShort) {
  const struct {
    std::vector<std::wstring> params;
    int points;  // -1: skipped before the engine is asked
    bool drawn;
  } cases[] = {{{L"0", L"S", L"1"}, 0, false},
               {{L"-3", L"S", L"1"}, 0, false},
               {{L"1", L"5", L"5", L"S", L"1"}, 1, false},
               {{L"3", L"0", L"8", L"0", L"0", L"200", L"300", L"S"}, -1, false},  // no thickness
               {{L"2147483647", L"0", L"0"}, -1, false},
               {{L"0", L"S"}, -1, false},
               {{L"3", L"0", L"0", L"400", L"0", L"200", L"300", L"S", L"2"}, 3, true}};
  for (const auto& c : cases) {
    const RecordedObject* polygon = Build(POLYGON, c.params);
    EXPECT_EQ(polygon != nullptr, c.drawn) << c.params[0];
    EXPECT_EQ(engine.CountOf("AddMultiLinePoints"), static_cast<size_t>(std::max(0, c.points)));
    EXPECT_EQ(engine.CountOf("CreateMultiLine"), c.points < 0 ? 0u : 1u) << c.params[0];
    EXPECT_EQ(engine.CountOf("ClearMultiLinePoints"), c.points < 0 ? 0u : 2u);
  }
  const RecordedObject& triangle = *engine.Objects().back();
  ASSERT_EQ(triangle.points.size(), 3u);
  EXPECT_EQ(triangle.points[1].x, 400);  // dots, here one per unit
  EXPECT_EQ(engine.CountOf("SetSelectByObject"), 2u);
  EXPECT_TRUE(Logged("POLYGON of 3 points skipped: it has 8 parameters, it needs 9\r\n"));
}

// Points are dots like the rest of the geometry, converted at the engine's
// resolution; fill and pen are not lengths.
TEST_F(ShapesTest, PolygonPointsAreDots) {
  const struct {
    int32_t dpi, unitsPerInch;
    std::vector<int32_t> expected;  // x0, y0, x1, y1, x2, y2
  } cases[] = {{300, 1000, {0, 1000, 2000, 1000, 3333, 6666}},
               {203, 1000, {0, 1477, 2955, 1477, 4926, 9852}},
               {600, 600, {0, 300, 600, 300, 1000, 2000}}};
  for (const auto& c : cases) {
    engine.dpi = c.dpi;
    engine.unitsPerInch = c.unitsPerInch;
    const RecordedObject* polygon =
        Build(POLYGON, {L"3", L"0", L"300", L"600", L"300", L"1000", L"2000", L"SOLID", L"2"});
    ASSERT_NE(polygon, nullptr);
    std::vector<int32_t> points;
    for (const VPoint& p : polygon->points) points.insert(points.end(), {p.x, p.y});
    EXPECT_EQ(points, c.expected) << c.dpi;
    EXPECT_EQ(polygon->hatch, kVHatchSolid);
    EXPECT_FLOAT_EQ(polygon->penWidth, 2.0f);
  }
}

// Pictures load through the session's own file callback, and the engine's
// callback is put back afterwards. Names may not leave the picture folder.
TEST_F(ShapesTest, PicturesLoadFromThePictureFolderOnly) {
  int engineParam = 0;
  engine.SetFileRequestCallback(&EngineCallback);
  engine.SetCallbackParam(&engineParam);
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      // path null: refused
      {L"..\\..\\secret.png", nullptr},
      {L"..\\Logging\\SESSIONMANAGER_ERROR_LOG.TXT", nullptr},
      {L"sub/../../../x.png", nullptr},
      {L"C:\\secret.png", nullptr},
      {L"sub\\..\\logo.png", L"\\SD\\Store\\Graphics\\sub\\..\\logo.png"},
      {L"Logos\\big.bmp", L"\\SD\\Store\\Graphics\\Logos\\big.bmp"},
      {L"logo.png", L"\\SD\\Store\\Graphics\\logo.png"}};
  for (const auto& [name, path] : cases) {
    engine.answeredFileRequests.clear();
    const RecordedObject* picture = Build(GRAPHIC, {name, L"10", L"20", L"300", L"150", L"T"});
    EXPECT_EQ(picture ? picture->picturePath : L"", path ? path : L"") << name;
    EXPECT_EQ(engine.CountOf("CreateNewGraphic"), path ? 1u : 0u);
    EXPECT_EQ(engine.answeredFileRequests, path ? Trace{path} : Trace{});
    EXPECT_EQ(engine.GetFileRequestCallback(), &EngineCallback);
    EXPECT_EQ(engine.GetCallbackParam(), &engineParam);
  }
  EXPECT_TRUE(Logged("Picture outside the picture folder not loaded: ..\\..\\secret.png\r\n"));
  EXPECT_TRUE(Logged("Picture outside the picture folder not loaded: C:\\secret.png\r\n"));
  const RecordedObject& picture = *engine.Objects().back();
  EXPECT_EQ(picture.type, kVObjPicture);
  EXPECT_EQ(Corners(picture.rect), (std::vector<int32_t>{10, 20, 310, 170}));
  EXPECT_FALSE(picture.keepAspect);
  EXPECT_TRUE(picture.pictureReverse);
  EXPECT_EQ(engine.Trace({"CloseSelected"}), Trace{L"CloseSelected(0)"});

  engine.failObjectCreation = true;  // nothing to load: the callback is not touched
  EXPECT_EQ(Build(GRAPHIC, {L"logo.png", L"10", L"20", L"300", L"150", L"F"}), nullptr);
  EXPECT_EQ(engine.CountOf("SetFileRequestCallback"), 0u);
}

// A script's line thickness reaches the engine in the same dots whichever
// object carries it: a 4-dot frame and a 4-dot rule, at 300 dpi.
TEST_F(SessionTest, TplLineThicknessReachesTheEngineAsDots) {
  session.ProcessData(std::make_unique<ScriptingData>(ScriptingData{
      ToBytes("STARTTPL\r\nSETUNITS DOTS\r\nSTARTLABEL\r\nSTARTSHAPE\r\nSHAPETYPE RECTANGLE\r\n"
              "WIDTH 100\r\nHEIGHT 50\r\nLINETHICKNESS 4\r\nENDSHAPE\r\nSTARTLINE\r\n"
              "ENDPOINT 100,0\r\nLINETHICKNESS 4\r\nENDLINE\r\nENDLABEL\r\nENDTPL\r\n"),
      LANGUAGE_TPL}));
  ASSERT_EQ(engine.Objects().size(), 2u);
  const float pointsPerDot = 72.0f / 300.0f;
  EXPECT_FLOAT_EQ(engine.Objects()[0]->penWidth, 4 * pointsPerDot);
  EXPECT_EQ(engine.Objects()[1]->lineFormat.thicknessDots, 4);
}

}  // namespace
