// Typeset text (the full ZPL dialect's fields), measured by its ink at 300
// dpi: capitals fitted to the cell, baselines, advances, field blocks,
// origins and reverse printing. Faces from the install script only.
#include <gtest/gtest.h>

#include <functional>

#include "vellum/VellumTestSupport.h"

namespace vellum::testing {
namespace {

struct Field {
  std::wstring text = L"H";
  int x = 100, y = 100;
  float cell = 40, cap = 30, baseline = 30, advance = 0;
  float blockWidth = 0, spacing = 0, indent = 0;
  int lines = 1, justify = kVJustifyLeft, origin = kVOriginTop, right = 0, reverse = 0;
  int rotation = 0;
  const wchar_t* face = L"DejaVu Sans Mono";
};

void AddField(TestPrinter& printer, const Field& f) {
  printer.AddText(f.text, f.x, f.y, 0, 0, 10, kVJustifyLeft, false);
  platform::LOGFONTW font;
  font.lfFaceName = f.face;
  printer.engine->GetVInterfaceTextProperties()->SetTextFontName(kVTextSelected, 0, font, 0);
  VTextFormat format;
  printer.engine->GetTextFormat(format);
  format.cellHeightDots = f.cell;
  format.capHeightDots = f.cap;
  format.baselineDots = f.baseline;
  format.advanceDots = f.advance;
  format.blockWidthDots = f.blockWidth;
  format.blockLines = f.lines;
  format.blockSpacingDots = f.spacing;
  format.blockJustify = f.justify;
  format.hangingIndentDots = f.indent;
  format.originKind = f.origin;
  format.originRight = f.right;
  format.reverseBelow = f.reverse;
  printer.engine->SetTextFormat(format);
  printer.engine->RotateSelectedObject(f.rotation);
}

InkBox Print(std::initializer_list<Field> fields,
             const std::function<void(TestPrinter&)>& before = nullptr) {
  TestPrinter printer(300);
  if (before) before(printer);
  for (const Field& f : fields) AddField(printer, f);
  return InkBounds(printer.PrintOnce());
}

TEST(TypesetText, CapitalsFillTheirPartOfTheCellFromTheOrigin) {
  for (float cap : {21.f, 30.f, 75.f}) {
    SCOPED_TRACE(cap);
    const float cell = cap * 4 / 3;
    const InkBox top = Print({{.cell = cell, .cap = cap, .baseline = cap}});
    EXPECT_NEAR(top.height(), cap, 1);
    EXPECT_NEAR(top.top, 100, 1);
    const InkBox base =
        Print({{.y = 300, .cell = cell, .cap = cap, .baseline = cap, .origin = kVOriginBaseline}});
    EXPECT_NEAR(base.bottom, 299, 1);
    EXPECT_NEAR(base.height(), cap, 1);
  }
}

TEST(TypesetText, TheDigitAdvanceSetsTheWidth) {
  for (float advance : {12.f, 20.f, 45.f}) {
    SCOPED_TRACE(advance);
    const InkBox one = Print({{.text = L"0", .advance = advance}});
    const InkBox ten = Print({{.text = L"0000000000", .advance = advance}});
    EXPECT_NEAR(ten.width() - one.width(), 9 * advance, 2);
  }
}

// Cell 40, spacing 10: each line stands 50 dots below the one before; lines
// past the block's last print over the last one.
TEST(TypesetText, BlockLinesStandOneCellPlusSpacingApart) {
  const std::tuple<std::wstring, int, int> cases[] = {
      {L"H\nH\nH", 3, 2 * 50 + 30},
      {L"H\nH\nH\nH", 2, 50 + 30},
      {L"H", 3, 30},
  };
  for (const auto& [text, lines, height] : cases) {
    const InkBox ink = Print({{.text = text, .blockWidth = 400, .spacing = 10, .lines = lines}});
    EXPECT_NEAR(ink.height(), height, 1) << lines;
    EXPECT_NEAR(ink.top, 100, 1);
  }
  // A baseline origin is the last line's baseline, so the block grows upward.
  const InkBox up = Print(
      {{.text = L"H\nH", .y = 400, .blockWidth = 400, .lines = 3, .origin = kVOriginBaseline}});
  EXPECT_NEAR(up.bottom, 399 - 40, 1);
  EXPECT_NEAR(up.top, 400 - 2 * 40 - 30, 1);
}

TEST(TypesetText, BlocksWrapAndJustifyInsideTheirWidth) {
  const InkBox wrapped =
      Print({{.text = L"HHHH HHHH HHHH", .advance = 30, .blockWidth = 200, .lines = 3}});
  EXPECT_LE(wrapped.right, 100 + 200);
  EXPECT_NEAR(wrapped.height(), 2 * 40 + 30, 1);  // three lines
  const InkBox right =
      Print({{.text = L"HH", .advance = 30, .blockWidth = 300, .justify = kVJustifyRight}});
  EXPECT_NEAR(right.right, 399, 6);
  const InkBox centre =
      Print({{.text = L"HH", .advance = 30, .blockWidth = 300, .justify = kVJustifyCentre}});
  EXPECT_NEAR((centre.left + centre.right) / 2.0, 250, 3);
  const InkBox indented =
      Print({{.text = L"HHHH HHHH", .advance = 30, .blockWidth = 150, .indent = 60, .lines = 2}},
            nullptr);
  EXPECT_NEAR(indented.left, 100, 6);  // the first line is not indented
}

TEST(TypesetText, ARightOriginEndsTheFieldThere) {
  const InkBox ink = Print({{.text = L"HHH", .x = 600, .advance = 30, .right = 1}});
  EXPECT_NEAR(ink.right, 599, 6);
  EXPECT_NEAR(ink.left, 600 - 90, 6);
}

TEST(TypesetText, AFollowingFieldStartsWhereThePreviousEnded) {
  const InkBox first =
      Print({{.text = L"HHH", .y = 200, .advance = 30, .origin = kVOriginBaseline}});
  const InkBox both =
      Print({{.text = L"HHH", .y = 200, .advance = 30, .origin = kVOriginBaseline},
             {.text = L"HHH", .x = 0, .y = 0, .advance = 30, .origin = kVOriginFollow}});
  EXPECT_NEAR(both.right - first.right, 90, 3);
  EXPECT_EQ(both.bottom, first.bottom);  // on the same baseline
}

// Turned a quarter clockwise about its baseline origin, the text runs down
// from the origin with its capitals to the right of it.
TEST(TypesetText, ABaselineFieldTurnsAboutItsOrigin) {
  const InkBox ink = Print({{.text = L"HHH",
                             .x = 500,
                             .y = 100,
                             .advance = 30,
                             .origin = kVOriginBaseline,
                             .rotation = 270}});
  EXPECT_NEAR(ink.top, 100, 6);
  EXPECT_NEAR(ink.bottom, 190, 6);
  EXPECT_NEAR(ink.left, 501, 2);
  EXPECT_NEAR(ink.width(), 30, 1);
}

TEST(TypesetText, ReverseTurnsWhatLiesBelowToPaper) {
  auto box = [](TestPrinter& p) {
    p.Add(kVObjRectangle, 90, 90, 200, 60);
    p.engine->SetHatchPattern(kVHatchSolid, 1);
  };
  TestPrinter plain(300);
  box(plain);
  const long boxDots = InkBounds(plain.PrintOnce()).dots;
  TestPrinter reversed(300);
  box(reversed);
  AddField(reversed, {.text = L"HH", .reverse = 1});
  const MonoBitmap& bitmap = reversed.PrintOnce();
  const InkBox inside = InkBounds(bitmap, 90, 90, 289, 149);
  EXPECT_LT(inside.dots, boxDots - 200);  // the capitals cut out of the box
  // Where nothing lies below, reversed text prints as ink.
  const InkBox alone = Print({{.text = L"HH", .y = 400, .reverse = 1}});
  EXPECT_NEAR(alone.height(), 30, 1);
}

}  // namespace
}  // namespace vellum::testing
