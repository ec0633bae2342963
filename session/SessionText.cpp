// Text objects and the session's font list. One builder serves the four text
// kinds; the data source decides what is set up besides the text itself
// (a prompt, a sequence or a date-time picture).

#include <algorithm>

#include "intake/Notifications.h"
#include "platform/Text.h"
#include "session/SessionManager.h"
#include "session/ShapeGeometry.h"

namespace {

// Positions of a text command's parameters.
enum TextParam : size_t {
  kText = 0,
  kX = 1,
  kY = 2,
  kWidth = 3,
  kHeight = 4,
  kFontName = 5,
  kSizing = 6,
  kFontSize = 7,
  kJustification = 8,
  kRotation = 10,
  kBoxDrawn = 11,
  kBoxThickness = 12,
  kBold = 13,
  kItalic = 14,
  kUnderline = 15,
  kReverse = 16,
  kVertical = 17,
  kSourceText = 18,  // prompt, date-time picture or sequence start
  kIncrement = 19,
  kLabelCount = 20,
  kPrefix = 21,
  kPostfix = 22,
};

constexpr size_t kSequenceParams = 23;

bool Flag(const std::wstring& value) { return value == L"T"; }

int32_t Justification(const std::wstring& value) {
  if (value == L"L") return kVJustifyLeft;
  if (value == L"C") return kVJustifyCentre;
  return kVJustifyRight;
}

// x + size in engine units, kept inside 32 bits.
int32_t FarEdge(int32_t origin, int32_t size) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{origin} + size, INT32_MIN, INT32_MAX));
}

const std::wstring& ParamOrEmpty(const CSessionManager::Params& params, size_t i) {
  static const std::wstring kEmpty;
  return i < params.size() ? params[i] : kEmpty;
}

}  // namespace

void CSessionManager::CreateGenericText(const Params& params, int32_t dataSource) {
  if (!engine_ || params.size() <= kVertical) return;
  if (dataSource == DATA_SOURCE_SEQUENCE && params.size() < kSequenceParams) {
    log_->Write(L"SEQUENCE_TEXT with " + platform::IntToWide(static_cast<int64_t>(params.size())) +
                L" parameters has no sequence set-up; created as static text");
    dataSource = DATA_SOURCE_STATIC;
  }
  const bool prompt = dataSource == DATA_SOURCE_PROMPT;
  const std::wstring& sizing = params[kSizing];
  const bool freeform = sizing == L"FREEFORM";

  const int32_t dpi = EngineDpi();
  const int32_t units = EngineUnitsPerInch();
  auto toUnits = [&](size_t i) { return DotsToEngineUnits(ConvertToInt(params[i]), units, dpi); };
  const int32_t x = toUnits(kX), y = toUnits(kY);
  const VRect rect{x, y, FarEdge(x, toUnits(kWidth)), FarEdge(y, toUnits(kHeight))};

  VDrawObj* object = engine_->CreateNewObject(kVObjText, rect, engine_->GetNextFreeObjectId());
  if (!object) {
    log_->Write(L"Unable to create text object: " + params[kText]);
    return;
  }
  engine_->SetSelectByObject(object);

  if (Flag(params[kBoxDrawn])) {
    const std::wstring& thickness = params[kBoxThickness];
    SetBorderThickness(thickness.empty() ? 1 : ConvertToInt(thickness));
  }

  VTextAlignment alignment;
  engine_->GetTextAlignment(alignment);
  alignment.boxBound = freeform ? 0 : 1;
  alignment.justification = Justification(params[kJustification]);
  alignment.verticalCentre = 1;
  alignment.reverse = Flag(params[kReverse]) ? 1 : 0;
  alignment.autoSize = sizing == L"AUTOSIZE" ? 1 : 0;
  alignment.vertical = Flag(params[kVertical]) ? 1 : 0;
  alignment.wordWrap = 1;

  const platform::LOGFONTW* font = GetSystemFont(params[kFontName]);
  if (!prompt) engine_->SetTextFromObject(object, params[kText], true);
  engine_->SetTextAlignment(alignment);

  if (prompt) {
    variableDataKind_ = 2;
    engine_->SetDataSource(kVSourcePrompt);
    engine_->SetPrompt(ParamOrEmpty(params, kSourceText), params[kText], 0, L"Message", 1, L"",
                       L"");
  }
  if (dataSource == DATA_SOURCE_DATE_TIME) {
    engine_->SetDataSource(kVSourceDateTime);
    engine_->SetDateTimeFormat(ParamOrEmpty(params, kSourceText), 1);
  }

  VInterfaceTextProperties* properties = engine_->GetVInterfaceTextProperties();
  if (!font) {
    log_->Write(L"Unable to locate font: " + params[kFontName] + L", System Default will be used");
  }
  if (properties) {
    if (font) properties->SetTextFontName(kVTextSelected, 0, *font, 0);
    properties->SetTextFontBold(kVTextSelected, 0, Flag(params[kBold]), 0);
    properties->SetTextFontItalic(kVTextSelected, 0, Flag(params[kItalic]), 0);
    properties->SetTextFontUnderline(kVTextSelected, 0, Flag(params[kUnderline]), 0);
    if (freeform || sizing == L"MANUAL") {
      properties->SetTextFontSize(kVTextSelected, 0, ConvertToInt(params[kFontSize]), 0,
                                  TypesetWidthScale(params), true);
    }
  }

  engine_->RotateSelectedObject(ConvertToInt(params[kRotation]));

  if (dataSource == DATA_SOURCE_SEQUENCE) {
    const int32_t count = ConvertToInt(params[kLabelCount]);
    engine_->SetDataSource(kVSourceSequence);
    engine_->SetSequence(params[kSourceText], count, ConvertToInt(params[kIncrement]), 1,
                         params[kPrefix], params[kPostfix], L"");
    variableDataKind_ = 1;
    sequencedMark_ = 1;
    largestLabelCount_ = std::max(largestLabelCount_, count);
  }

  if (freeform) {
    VTextFormat format;
    engine_->GetTextFormat(format);
    format.xInches = static_cast<float>(x) / static_cast<float>(units);
    format.yInches = static_cast<float>(y) / static_cast<float>(units);
    ApplyTypesetting(params, format);
    engine_->SetTextFormat(format);
  }

  if (prompt) Notify(NOTIFY_PROMPT_CREATED, 0);
}

void CSessionManager::SetBorderThickness(int32_t thickness) {
  if (!engine_) return;
  VTextFormat format;
  engine_->GetTextFormat(format);
  format.borderThickness = thickness;
  engine_->SetTextFormat(format);
}

void CSessionManager::SetSystemFonts(const std::vector<platform::LOGFONTW>& fonts) {
  systemFonts_.clear();
  for (const platform::LOGFONTW& font : fonts) {
    auto copy = std::make_unique<platform::LOGFONTW>(font);
    if (engine_) engine_->CopyLogicalFont(font, *copy, 0);
    systemFonts_.push_back(std::move(copy));
  }
}

const platform::LOGFONTW* CSessionManager::GetSystemFont(const std::wstring& faceName) const {
  for (const auto& font : systemFonts_) {
    if (platform::EqualsIgnoreCase(font->lfFaceName, faceName)) return font.get();
  }
  return nullptr;
}
