// Shapes, arrows, lines, polygons and pictures against the recording engine.
// The engine is set to 1000 dpi and 1000 units per inch, so dots are units.

#include <map>

#include "session/SessionTestHarness.h"

namespace {

std::vector<std::wstring> With(std::vector<std::wstring> p,
                               const std::map<size_t, std::wstring>& changes) {
  for (const auto& [i, v] : changes) p.at(i) = v;
  return p;
}

// name, x, y, width, height, thickness, unused, corner, fill, rotation
std::vector<std::wstring> ShapeParams(const std::map<size_t, std::wstring>& changes = {}) {
  return With({L"RECTANGLE", L"10", L"20", L"100", L"50", L"25", L"", L"0", L"NONE", L"0"},
              changes);
}

// type, x, y, width, height, rotation, thickness, fill, five unused integers
std::vector<std::wstring> ArrowParams(const std::map<size_t, std::wstring>& changes = {}) {
  return With({L"ARROW_RIGHT", L"10", L"20", L"100", L"50", L"0", L"25", L"NONE", L"0", L"0", L"0",
               L"0", L"0"},
              changes);
}

// name, x, y, width, height, reverse
std::vector<std::wstring> PictureParams(const std::wstring& name, const std::wstring& flag = L"F") {
  return {name, L"10", L"20", L"300", L"150", flag};
}

bool EngineCallback(VFileRequest&, void*) { return false; }

std::vector<int32_t> Corners(const VRect& r) { return {r.left, r.top, r.right, r.bottom}; }

class ShapesTest : public SessionTest {
 protected:
  ShapesTest() {
    engine.dpi = 1000;
    engine.unitsPerInch = 1000;
  }
  // Runs one command on a fresh label; the object made, or null.
  const RecordedObject* Build(int32_t kind, std::vector<std::wstring> params) {
    Run({Cmd(START_LABEL), Cmd(kind, std::move(params))});
    return engine.Objects().empty() ? nullptr : engine.Objects().back().get();
  }
  bool Logged(const std::string& line) const { return Log().find(line) != std::string::npos; }
};

TEST_F(ShapesTest, ShapeNamesAreExactAndRectanglesRounded) {
  struct Case {
    const wchar_t *name, *corner;
    int32_t type;       // 0: nothing drawn
    int32_t roundness;  // -1: not asked
  };
  const Case cases[] = {
      {L"RECTANGLE", L"4", kVObjRectangle, 24},  // r = 4 * 0.125 * 25 = 12.5 -> 12
      {L"RECTANGLE", L"8", kVObjRectangle, 50},
      {L"RECTANGLE", L"0", kVObjRectangle, 0},
      {L"CIRCLE", L"4", kVObjCircle, -1},
      {L"NOT", L"4", kVObjNotSign, -1},
      {L"rectangle", L"4", 0, -1},
      {L"POLYGON", L"4", 0, -1},
  };
  for (const Case& c : cases) {
    engine.ClearCalls();
    const RecordedObject* shape = Build(SHAPE, ShapeParams({{0, c.name}, {7, c.corner}}));
    EXPECT_EQ(engine.CountOf("SetRectangleRoundness"), c.roundness < 0 ? 0u : 1u) << c.name;
    if (c.type == 0) {
      EXPECT_EQ(shape, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(shape, nullptr) << c.name;
    EXPECT_EQ(shape->type, c.type);
    EXPECT_EQ(Corners(shape->rect), (std::vector<int32_t>{10, 20, 110, 70}));
    EXPECT_EQ(shape->roundness.x, std::max(0, c.roundness)) << c.corner;
  }
  EXPECT_TRUE(Logged("Unsupported Object Type:POLYGON\r\n"));
  EXPECT_TRUE(Logged("Unsupported Object Type:rectangle\r\n"));
}

TEST_F(ShapesTest, FillsAndPenWidths) {
  struct Case {
    int32_t kind;
    const wchar_t* fill;
    const wchar_t* thickness;
    int32_t hatch;
    float pen;
  };
  const Case cases[] = {
      {SHAPE, L"SOLID", L"25", kVHatchSolid, 0.25f}, {SHAPE, L"s", L"100", kVHatchSolid, 1.0f},
      {SHAPE, L"NONE", L"0", kVHatchNone, 0.0f},     {SHAPE, L"", L"25", kVHatchNone, 0.25f},
      {ARROW, L"solid", L"50", kVHatchSolid, 0.5f},  {ARROW, L"N", L"25", kVHatchNone, 0.25f},
      {POLYGON, L"s", L"25", kVHatchNone, 25.0f},    {POLYGON, L"S", L"3", kVHatchSolid, 3.0f},
  };
  for (const Case& c : cases) {
    std::vector<std::wstring> params;
    if (c.kind == SHAPE) params = ShapeParams({{8, c.fill}, {5, c.thickness}});
    if (c.kind == ARROW) params = ArrowParams({{7, c.fill}, {6, c.thickness}});
    if (c.kind == POLYGON) params = {L"2", L"0", L"0", L"10", L"10", c.fill, c.thickness};
    const RecordedObject* object = Build(c.kind, params);
    ASSERT_NE(object, nullptr) << c.fill;
    EXPECT_EQ(object->hatch, c.hatch) << c.kind << " " << c.fill;
    EXPECT_FLOAT_EQ(object->penWidth, c.pen);
  }
  for (const auto& call : engine.CallsNamed("SetHatchPattern")) EXPECT_EQ(call.args.at(1), L"1");
}

TEST_F(ShapesTest, ArrowTypesAndRotations) {
  struct Case {
    const wchar_t* type;
    const wchar_t* rotation;
    int32_t objectType;  // 0: nothing drawn
    int32_t engineRotation;
  };
  const Case cases[] = {
      {L"ARROW_RIGHT", L"0", kVObjStraightArrow, 360},
      {L"  arrow_left ", L"0", kVObjStraightArrow, 180},
      {L"ARROW_UP", L"0", kVObjStraightArrow, 90},
      {L"ARROW_DOWN", L"0", kVObjStraightArrow, 270},
      {L"ARROW_LEFT", L"90", kVObjStraightArrow, 90},
      {L"ARROW_CLOCKWISE", L"45", kVObjRotationalArrow, 315},
      {L"ARROW_BOTHDIRECTIONS", L"-90", kVObjRotationalArrow, 450},
      {L"ARROW_COUNTERCLOCKWISE", L"2147483647", kVObjRotationalArrow, 233},
      {L"arrow_sideways", L"0", 0, 0},
  };
  for (const Case& c : cases) {
    const RecordedObject* arrow = Build(ARROW, ArrowParams({{0, c.type}, {5, c.rotation}}));
    if (c.objectType == 0) {
      EXPECT_EQ(arrow, nullptr);
      continue;
    }
    ASSERT_NE(arrow, nullptr) << c.type;
    EXPECT_EQ(arrow->type, c.objectType);
    EXPECT_EQ(arrow->rotation, c.engineRotation) << c.type << " " << c.rotation;
  }
  EXPECT_TRUE(Logged("Unsupported Arrow Type:ARROW_SIDEWAYS\r\n"));

  std::vector<std::wstring> shortArrow = ArrowParams();
  shortArrow.pop_back();
  EXPECT_EQ(Build(ARROW, shortArrow), nullptr);
}

TEST_F(ShapesTest, LinesRiseOrFall) {
  struct Case {
    std::vector<std::wstring> params;
    std::vector<int32_t> bounds, ends;  // ends: x1, y1, x2, y2
  };
  const Case cases[] = {
      {{L"100", L"10", L"10", L"100", L"3"}, {10, 10, 100, 100}, {10, 100, 100, 10}},
      {{L"10", L"100", L"100", L"10", L"3"}, {10, 10, 100, 100}, {10, 100, 100, 10}},
      {{L"10", L"10", L"100", L"100", L"3"}, {10, 10, 100, 100}, {10, 10, 100, 100}},
      {{L"100", L"100", L"10", L"10", L"3"}, {10, 10, 100, 100}, {10, 10, 100, 100}},
      {{L"90", L"50", L"10", L"50", L"3"}, {10, 50, 90, 50}, {10, 50, 90, 50}},
  };
  for (const Case& c : cases) {
    const RecordedObject* line = Build(LINE, c.params);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->type, kVObjLine);
    EXPECT_EQ(Corners(line->rect), c.bounds);
    const VLineFormat& f = line->lineFormat;
    EXPECT_EQ((std::vector<int32_t>{f.x1, f.y1, f.x2, f.y2}), c.ends) << c.params[0];
    EXPECT_EQ(f.thicknessDots, 3);
    EXPECT_EQ(line->hatch, kVHatchNone);
  }
  TestSession headless(nullptr);
  EXPECT_TRUE(headless.CreateDiagonalLine(cases[0].params));
}

TEST_F(ShapesTest, PolygonsTakeTheirPointsAsGivenOrNothingWhenShort) {
  struct Case {
    std::vector<std::wstring> params;
    int points;  // -1: skipped before the engine is asked
    bool drawn;
  };
  const Case cases[] = {
      {{L"0", L"S", L"1"}, 0, false},
      {{L"-3", L"S", L"1"}, 0, false},
      {{L"1", L"5", L"5", L"S", L"1"}, 1, false},
      {{L"3", L"0", L"8", L"0", L"0", L"200", L"300", L"S"}, -1, false},  // no thickness
      {{L"2147483647", L"0", L"0"}, -1, false},
      {{L"0", L"S"}, -1, false},
      {{L"3", L"0", L"0", L"400", L"0", L"200", L"300", L"S", L"2"}, 3, true},
  };
  for (const Case& c : cases) {
    engine.ClearCalls();
    const RecordedObject* polygon = Build(POLYGON, c.params);
    EXPECT_EQ(polygon != nullptr, c.drawn) << c.params[0];
    EXPECT_EQ(engine.CountOf("AddMultiLinePoints"), static_cast<size_t>(std::max(0, c.points)));
    EXPECT_EQ(engine.CountOf("CreateMultiLine"), c.points < 0 ? 0u : 1u) << c.params[0];
    EXPECT_EQ(engine.CountOf("ClearMultiLinePoints"), c.points < 0 ? 0u : 2u);
  }
  const RecordedObject& triangle = *engine.Objects().back();
  ASSERT_EQ(triangle.points.size(), 3u);
  EXPECT_EQ(triangle.points[1].x, 400);  // engine units, not converted
  EXPECT_EQ(engine.CountOf("SetSelectByObject"), 2u);
  EXPECT_TRUE(Logged("POLYGON of 3 points skipped: it has 8 parameters, it needs 9\r\n"));
}

TEST_F(ShapesTest, PicturesLoadThroughTheSessionsCallbackWhichIsThenRestored) {
  int engineParam = 0;
  engine.SetFileRequestCallback(&EngineCallback);
  engine.SetCallbackParam(&engineParam);
  const RecordedObject* picture = Build(GRAPHIC, PictureParams(L"logo.png", L"T"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->type, kVObjPicture);
  EXPECT_EQ(picture->picturePath, L"\\SD\\Store\\Graphics\\logo.png");
  EXPECT_EQ(picture->rect.left, 10);
  EXPECT_EQ(picture->rect.bottom, 170);
  EXPECT_FALSE(picture->keepAspect);
  EXPECT_TRUE(picture->pictureReverse);
  EXPECT_EQ(engine.answeredFileRequests,
            (std::vector<std::wstring>{L"\\SD\\Store\\Graphics\\logo.png"}));
  EXPECT_EQ(engine.Trace({"OpenSelected", "CloseSelected"}),
            (std::vector<std::wstring>{L"OpenSelected()", L"CloseSelected(0)"}));
  EXPECT_EQ(engine.GetFileRequestCallback(), &EngineCallback);
  EXPECT_EQ(engine.GetCallbackParam(), &engineParam);

  engine.failObjectCreation = true;  // nothing to load: the callback is not touched
  engine.ClearCalls();
  EXPECT_EQ(Build(GRAPHIC, PictureParams(L"logo.png")), nullptr);
  EXPECT_EQ(engine.CountOf("SetFileRequestCallback"), 0u);
}

TEST_F(ShapesTest, PictureNamesMayNotLeaveThePictureFolder) {
  struct Case {
    const wchar_t* name;
    const wchar_t* path;  // null: refused
  };
  const Case cases[] = {
      {L"..\\..\\secret.png", nullptr},
      {L"..\\Logging\\SESSIONMANAGER_ERROR_LOG.TXT", nullptr},
      {L"sub/../../../x.png", nullptr},
      {L"C:\\secret.png", nullptr},
      {L"sub\\..\\logo.png", L"\\SD\\Store\\Graphics\\sub\\..\\logo.png"},
      {L"Logos\\big.bmp", L"\\SD\\Store\\Graphics\\Logos\\big.bmp"},
  };
  for (const Case& c : cases) {
    engine.ClearCalls();
    const RecordedObject* picture = Build(GRAPHIC, PictureParams(c.name));
    if (!c.path) {
      EXPECT_EQ(picture, nullptr) << c.name;
      EXPECT_EQ(engine.CountOf("CreateNewGraphic"), 0u);
      continue;
    }
    ASSERT_NE(picture, nullptr) << c.name;
    EXPECT_EQ(picture->picturePath, c.path);
  }
  EXPECT_TRUE(Logged("Picture outside the picture folder not loaded: ..\\..\\secret.png\r\n"));
  EXPECT_TRUE(Logged("Picture outside the picture folder not loaded: C:\\secret.png\r\n"));
}

}  // namespace
