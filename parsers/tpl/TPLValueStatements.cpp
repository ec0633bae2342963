// Value statements of the object blocks that check their value before they
// store it. A bad value is logged and leaves the fields as they were.

#include <array>
#include <string_view>

#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLStatements.h"

namespace {

// A shape type is accepted when any of these stands anywhere in it.
constexpr std::array<std::wstring_view, 7> kShapeWords = {L"RECTANGLE", L"CIRCLE", L"CROSS", L"NOT",
                                                          L"TRIANGLE",  L"STAR",   L"SEAL"};

constexpr std::array<std::wstring_view, 7> kArrowTypes = {
    L"ARROW_RIGHT",         L"ARROW_LEFT",      L"ARROW_UP",
    L"ARROW_DOWN",          L"ARROW_CLOCKWISE", L"ARROW_COUNTERCLOCKWISE",
    L"ARROW_BOTHDIRECTIONS"};

template <size_t N>
bool AnyWithin(std::wstring_view text, const std::array<std::wstring_view, N>& words) {
  for (std::wstring_view word : words) {
    if (text.find(word) != std::wstring_view::npos) return true;
  }
  return false;
}

template <size_t N>
bool AnyEqual(std::wstring_view text, const std::array<std::wstring_view, N>& words) {
  for (std::wstring_view word : words) {
    if (text == word) return true;
  }
  return false;
}

}  // namespace

void TPLParser::Position(const std::wstring& value) {
  if (!tpl::SplitPair(value, data_->positionX, data_->positionY)) {
    Log(L"Invalid Syntax for POSITION command: " + value);
  }
}

void TPLParser::StartPoint(const std::wstring& value) {
  if (!tpl::SplitPair(value, data_->startX, data_->startY)) {
    Log(L"Invalid Syntax for STARTPOINT command: " + value);
  }
}

void TPLParser::EndPoint(const std::wstring& value) {
  if (!tpl::SplitPair(value, data_->endX, data_->endY)) {
    Log(L"Invalid Syntax for ENDPOINT command: " + value);
  }
}

void TPLParser::ShapeType(const std::wstring& value) {
  if (!AnyWithin(value, kShapeWords)) {
    Log(L"Invalid Shape Type, " + value + L" unsupported");
    return;
  }
  data_->objectType = value;
}

void TPLParser::ArrowType(const std::wstring& value) {
  if (!AnyEqual(value, kArrowTypes)) {
    Log(L"Invalid Arrow Type, " + value + L" unsupported");
    return;
  }
  data_->objectType = value;
}

void TPLParser::HumanReadable(const std::wstring& value) {
  if (!tpl::SplitPair(value, data_->humanReadable, data_->humanReadableLocation)) {
    Log(L"Invalid Syntax for HUMAN READABLE command: " + value);
  }
}
