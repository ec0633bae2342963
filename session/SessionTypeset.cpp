// Typeset text: the full ZPL dialect appends to its text records how the
// printer sets the field (font cell, field block, origin, reverse). The text
// builder copies them into the engine's text format here; the device dialect
// and the other languages never write them, so their text is unchanged.

#include <algorithm>
#include <cmath>

#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "session/SessionManager.h"

namespace {

using record::TextParam;

const std::wstring& At(const CSessionManager::Params& params, size_t i) {
  return platform::ItemOrEmpty(params, i);
}

float DotsAt(const CSessionManager::Params& params, size_t i) {
  return static_cast<float>(std::clamp(platform::LeadingInt(At(params, i)), -100000, 100000));
}

bool IsTypeset(const CSessionManager::Params& params) {
  return !At(params, TextParam::kCellHeight).empty();
}

int32_t BlockJustify(const std::wstring& word) {
  if (word == L"C") return kVJustifyCentre;
  if (word == L"R") return kVJustifyRight;
  if (word == L"J") return kVJustifyBoth;
  return kVJustifyLeft;
}

int32_t OriginKind(const std::wstring& word) {
  if (word == L"BASELINE") return kVOriginBaseline;
  if (word == L"FOLLOW") return kVOriginFollow;
  return kVOriginTop;
}

}  // namespace

void CSessionManager::ApplyTypesetting(const Params& params, VTextFormat& format) {
  if (!IsTypeset(params)) return;
  format.cellHeightDots = std::max(1.0f, DotsAt(params, TextParam::kCellHeight));
  format.capHeightDots = std::max(0.0f, DotsAt(params, TextParam::kCapHeight));
  format.baselineDots = std::max(0.0f, DotsAt(params, TextParam::kBaseline));
  format.advanceDots = std::max(0.0f, DotsAt(params, TextParam::kAdvance));
  format.blockWidthDots = std::max(0.0f, DotsAt(params, TextParam::kBlockWidth));
  format.blockLines = std::max(1, platform::LeadingInt(At(params, TextParam::kBlockLines)));
  format.blockSpacingDots = DotsAt(params, TextParam::kBlockSpacing);
  format.blockJustify = BlockJustify(At(params, TextParam::kBlockJustify));
  format.hangingIndentDots = std::max(0.0f, DotsAt(params, TextParam::kHangingIndent));
  format.originKind = OriginKind(At(params, TextParam::kOriginKind));
  format.originRight = At(params, TextParam::kOriginJustify) == L"R" ? 1 : 0;
  format.reverseBelow = At(params, TextParam::kReverseBelow) == L"T" ? 1 : 0;
}

double CSessionManager::TypesetWidthScale(const Params& params) {
  if (!IsTypeset(params)) return 0.0;
  const std::wstring& percent = At(params, TextParam::kWidthPercent);
  if (percent.empty()) return 0.0;
  return std::clamp(platform::LeadingInt(percent), 1, 2000) / 100.0;
}
