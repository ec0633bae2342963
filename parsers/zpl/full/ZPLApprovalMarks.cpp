// The approval marks of the "^GS" symbol font: "D" the UL mark, a ring round
// the letters "UL", and "E" the CSA mark, a heavy ring round "SA". No face
// has them, so each is drawn as the fields a job would use to draw it: a
// circle and a line of font 0 centred in the mark's cell. Marks stand one
// symbol-font pitch apart (the cell and a twelfth), as the other marks do.

#include <algorithm>

#include "parsers/zpl/full/ZPLFullParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

struct ApprovalMark {
  wchar_t letter;
  const wchar_t* text;
  int64_t ringDivisor;  // the ring is the cell over this thick
  int64_t textTop;      // the letters' cell starts this many 24ths down
  int64_t textHeight;   // in 24ths of the cell
};

constexpr ApprovalMark kMarks[] = {
    {L'D', L"UL", 15, 5, 14},
    {L'E', L"SA", 7, 6, 12},
};

const ApprovalMark* FindMark(wchar_t letter) {
  for (const ApprovalMark& mark : kMarks) {
    if (mark.letter == letter) return &mark;
  }
  return nullptr;
}

}  // namespace

void ZPLFullParser::EmitApprovalMarks(const std::wstring& marks, int64_t left, int64_t top,
                                      int64_t cell) {
  const ZPLFullField field = field_;
  const int64_t pitch = cell + cell / 12;
  for (size_t i = 0; i < marks.size(); ++i) {
    const ApprovalMark* mark = FindMark(marks[i]);
    if (mark == nullptr) continue;
    const int64_t x = left + static_cast<int64_t>(i) * pitch;
    const std::wstring side = platform::IntToWide(cell);
    const Shape ring{L"CIRCLE", side,
                     side,      platform::IntToWide(std::max<int64_t>(2, cell / mark->ringDivisor)),
                     L"B",      std::nullopt};
    field_ = ZPLFullField{};
    field_.reverse = field.reverse;
    AddObject(ShapeRecord(ring, platform::IntToWide(x), platform::IntToWide(top)),
              record::ShapeParam::kInk, false);
    WriteObjects();

    field_.hasOrigin = true;
    field_.x = x;
    field_.y = top + cell * mark->textTop / 24;
    field_.justification = 0;
    field_.hasFont = true;
    field_.font = L"0";
    field_.orientation = L'N';
    field_.height = platform::IntToWide(std::max<int64_t>(1, cell * mark->textHeight / 24));
    field_.block = true;
    field_.blockWidth = cell;
    field_.blockJustify = L'C';
    field_.hasData = true;
    field_.data = mark->text;
    EmitText();
  }
  field_ = field;
}
