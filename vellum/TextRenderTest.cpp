// Text placement and size, measured by the ink's bounding box. Only the fonts
// the install script provides are used (Liberation, DejaVu).
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "vellum/VellumTestSupport.h"

namespace vellum::testing {
namespace {

platform::LOGFONTW Face(const wchar_t* name) {
  platform::LOGFONTW font;
  font.lfFaceName = name;
  return font;
}

InkBox PrintText(const std::wstring& text, int x, int y, int w, int h, int points,
                 int justification = kVJustifyLeft,
                 const std::function<void(VellumEngine&)>& tweak = nullptr) {
  TestPrinter printer(300);
  printer.AddText(text, x, y, w, h, points, justification);
  printer.engine->GetVInterfaceTextProperties()->SetTextFontName(kVTextSelected, 0,
                                                                 Face(L"Liberation Sans"), 0);
  if (tweak) tweak(*printer.engine);
  return InkBounds(printer.PrintOnce());
}

// A tweak that changes one field of the selected text's alignment.
std::function<void(VellumEngine&)> Aligned(int32_t VTextAlignment::*field, int32_t value) {
  return [field, value](VellumEngine& e) {
    VTextAlignment a;
    e.GetTextAlignment(a);
    a.*field = value;
    e.SetTextAlignment(a);
  };
}

TEST(TextRender, JustificationPlacesTheInkInTheBox) {
  // Box from x 100 to 900; side bearings of "HIH" are a few dots at most.
  const InkBox left = PrintText(L"HIH", 100, 100, 800, 200, 24, kVJustifyLeft);
  const InkBox centre = PrintText(L"HIH", 100, 100, 800, 200, 24, kVJustifyCentre);
  const InkBox right = PrintText(L"HIH", 100, 100, 800, 200, 24, kVJustifyRight);
  EXPECT_NEAR(left.left, 100, 12);
  EXPECT_NEAR(right.right, 899, 12);
  EXPECT_NEAR((centre.left + centre.right) / 2.0, 500, 2);
  EXPECT_EQ(left.width(), right.width());
  // Vertically centred in the frame.
  EXPECT_NEAR((left.top + left.bottom) / 2.0, 200, 8);
}

TEST(TextRender, CapitalHeightFollowsThePointSize) {
  // Liberation Sans capitals are 1409/2048 of the em; at 300 dpi a point is 300/72 dots.
  for (int points : {8, 12, 24, 48}) {
    SCOPED_TRACE(points);
    const InkBox ink = PrintText(L"H", 50, 50, 1000, 400, points);
    const double expected = points * 300.0 / 72.0 * 1409.0 / 2048.0;
    EXPECT_NEAR(ink.height(), expected, 1.5);
  }
}

TEST(TextRender, BoxBoundTextWrapsAtTheFrameWidth) {
  const std::wstring words = L"one two three four five six seven eight";
  const InkBox wide = PrintText(words, 50, 50, 1100, 600, 14);
  const InkBox narrow = PrintText(words, 50, 50, 300, 600, 14);
  EXPECT_LE(narrow.right, 350);
  EXPECT_GT(narrow.height(), 3 * wide.height());
  const InkBox unwrapped =
      PrintText(words, 50, 50, 300, 600, 14, kVJustifyLeft, Aligned(&VTextAlignment::wordWrap, 0));
  // One line, cut off at the frame's edge.
  EXPECT_LE(unwrapped.height(), wide.height());
  EXPECT_NEAR(unwrapped.right, 349, 1);
}

TEST(TextRender, AutosizeFillsTheBoxWithoutLeavingIt) {
  struct Case {
    const wchar_t* text;
    int w, h;
  };
  const Case cases[] = {
      {L"WIDE LABEL TEXT", 900, 300}, {L"Tall", 300, 300}, {L"two words", 200, 400}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.w * 1000 + c.h);
    const InkBox ink = PrintText(c.text, 100, 100, c.w, c.h, 10, kVJustifyCentre,
                                 Aligned(&VTextAlignment::autoSize, 1));
    EXPECT_GE(ink.left, 100);
    EXPECT_GE(ink.top, 100);
    EXPECT_LE(ink.right, 100 + c.w);
    EXPECT_LE(ink.bottom, 100 + c.h);
    // It fills one side: wider than 75 % of the box or taller than half of it.
    EXPECT_TRUE(ink.width() > c.w * 3 / 4 || ink.height() > c.h / 2);
  }
}

TEST(TextRender, VerticalReverseBorderBoldUnderlineAndRotation) {
  const InkBox plain = PrintText(L"ABC", 100, 100, 600, 600, 24);
  const InkBox vertical = PrintText(L"ABC", 100, 100, 600, 600, 24, kVJustifyLeft,
                                    Aligned(&VTextAlignment::vertical, 1));
  EXPECT_GT(vertical.height(), 2 * plain.height());
  EXPECT_LT(vertical.width(), plain.width() / 2);

  const InkBox reverse = PrintText(L"ABC", 100, 100, 400, 200, 24, kVJustifyLeft,
                                   Aligned(&VTextAlignment::reverse, 1));
  EXPECT_EQ(reverse.left, 100);
  EXPECT_EQ(reverse.top, 100);
  EXPECT_EQ(reverse.width(), 400);
  EXPECT_EQ(reverse.height(), 200);
  EXPECT_LT(reverse.dots, 400L * 200L);  // the letters are white
  // A border is drawn inside the frame too.
  const InkBox framed = PrintText(L"x", 100, 100, 400, 200, 12, kVJustifyLeft, [](VellumEngine& e) {
    VTextFormat f;
    e.GetTextFormat(f);
    f.borderThickness = 3;
    e.SetTextFormat(f);
  });
  EXPECT_EQ(framed.left, 100);
  EXPECT_EQ(framed.top, 100);
  EXPECT_EQ(framed.width(), 400);
  EXPECT_EQ(framed.height(), 200);

  const InkBox bold = PrintText(L"ABC", 100, 100, 600, 600, 24, kVJustifyLeft, [](VellumEngine& e) {
    e.GetVInterfaceTextProperties()->SetTextFontBold(kVTextSelected, 0, true, 0);
  });
  EXPECT_GT(bold.dots, plain.dots * 11 / 10);
  const InkBox underlined =
      PrintText(L"ABC", 100, 100, 600, 600, 24, kVJustifyLeft, [](VellumEngine& e) {
        e.GetVInterfaceTextProperties()->SetTextFontUnderline(kVTextSelected, 0, true, 0);
      });
  EXPECT_GT(underlined.bottom, plain.bottom);

  const InkBox turned = PrintText(L"ABCDEF", 100, 300, 600, 100, 24, kVJustifyCentre,
                                  [](VellumEngine& e) { e.RotateSelectedObject(90); });
  EXPECT_GT(turned.height(), turned.width());
  // The turned 100 x 600 frame keeps its corner at (100, 300).
  EXPECT_NEAR((turned.top + turned.bottom) / 2.0, 600, 4);
  EXPECT_GE(turned.left, 100);
  EXPECT_LT(turned.right, 200);
}

TEST(TextRender, FreeFormTextStartsAtItsCornerAndSizeZeroFollowsTheBoxHeight) {
  TestPrinter printer(300);
  printer.AddText(L"Hg", 200, 150, 10, 120, 0, kVJustifyLeft, /*boxBound=*/false);
  const InkBox ink = InkBounds(printer.PrintOnce());
  EXPECT_NEAR(ink.left, 200, 10);
  EXPECT_GE(ink.top, 150);
  EXPECT_LE(ink.bottom, 150 + 120);
  EXPECT_GT(ink.height(), 120 * 7 / 10);  // the line fills most of the box height
  EXPECT_GT(ink.right, 210);              // the frame follows the text, not the box width

  // Centred or right-justified free-form text still starts at its position.
  for (int32_t justify : {kVJustifyCentre, kVJustifyRight}) {
    TestPrinter other(300);
    other.AddText(L"SN-1001", 200, 150, 10, 60, 0, justify, /*boxBound=*/false);
    EXPECT_NEAR(InkBounds(other.PrintOnce()).left, 200, 10) << justify;
  }
}

// A bordered text keeps clear of its border: 3 dots of border, then at least
// 0.02 in (6 dots at 300 dpi) of paper, whether the frame is given or follows
// the text.
TEST(TextRender, BorderedTextKeepsClearOfItsBorder) {
  for (bool boxBound : {true, false}) {
    SCOPED_TRACE(boxBound);
    TestPrinter printer(300);
    printer.AddText(L"HH", 100, 100, 600, 200, 24, kVJustifyLeft, boxBound);
    VTextFormat format;
    printer.engine->GetTextFormat(format);
    format.borderThickness = 3;
    printer.engine->SetTextFormat(format);
    const MonoBitmap& page = printer.PrintOnce();
    const InkBox frame = InkBounds(page);
    EXPECT_EQ(frame.left, 100);
    EXPECT_EQ(frame.top, 100);
    const InkBox text =
        InkBounds(page, frame.left + 3, frame.top + 3, frame.right - 2, frame.bottom - 2);
    ASSERT_FALSE(text.empty());
    EXPECT_GE(text.left - (frame.left + 3), 6);
    EXPECT_GE(text.top - (frame.top + 3), 6);
    EXPECT_GE(frame.right - 3 - text.right, 6);
    EXPECT_GE(frame.bottom - 3 - text.bottom, 6);
  }
}

// Faces jobs commonly name print in their metric twins without remark; any
// other missing face falls back too and is reported once per label.
TEST(TextRender, MissingFacesFallBackAndOnlyUnknownOnesAreReported) {
  const struct {
    const wchar_t* face;
    const wchar_t* twin;  // prints as wide as this installed face
    const wchar_t* said;  // in the one diagnostic; null: none
  } cases[] = {
      {L"Arial", L"Liberation Sans", nullptr},
      {L"courier new", L"Liberation Mono", nullptr},
      {L"Verdana", L"DejaVu Sans", nullptr},
      {L"Swiss Imaginary 721", L"DejaVu Sans", L"font \"Swiss Imaginary 721\" is not installed"},
  };
  const auto widthIn = [](const wchar_t* face, TestPrinter& printer) {
    for (int row = 0; row < 2; ++row) {
      printer.AddText(L"Same width", 50, 50 + row * 200, 1000, 150, 20);
      printer.engine->GetVInterfaceTextProperties()->SetTextFontName(kVTextSelected, 0, Face(face),
                                                                     0);
    }
    return InkBounds(printer.PrintOnce(), 0, 0, 1200, 200).width();
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::WideToUtf8(c.face));
    TestPrinter asked(300), twin(300);
    EXPECT_EQ(widthIn(c.face, asked), widthIn(c.twin, twin));
    const auto& diagnostics = asked.engine->LastPrintDiagnostics();
    ASSERT_EQ(diagnostics.size(), c.said ? 1u : 0u);
    if (c.said == nullptr) continue;
    EXPECT_NE(diagnostics[0].message.find(c.said), std::wstring::npos);
    EXPECT_EQ(diagnostics[0].kind, DiagnosticKind::kFontSubstituted);
  }
}

}  // namespace
}  // namespace vellum::testing
