// Text objects and the session's font list. One builder serves the four text
// kinds; the data source decides what is set up besides the text itself
// (a prompt, a sequence or a date-time picture). Parameters are read by the
// names of record::TextParam.

#include <algorithm>

#include "intake/Notifications.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"
#include "session/SessionManager.h"
#include "session/ShapeGeometry.h"

namespace {

using P = record::TextParam;

bool Flag(const std::wstring& value) { return value == L"T"; }

int32_t Justification(const std::wstring& value) {
  if (value == L"L") return kVJustifyLeft;
  if (value == L"C") return kVJustifyCentre;
  return kVJustifyRight;
}

}  // namespace

void CSessionManager::CreateGenericText(const Params& params, int32_t dataSource) {
  if (!engine_ || params.size() < P::kRequired) return;
  dataSource = TextDataSource(params, dataSource);
  const EngineScale scale = GetEngineScale();
  VDrawObj* object = CreateTextObject(params, scale);
  if (!object) return;
  if (Flag(params[P::kBoxDrawn])) {
    const std::wstring& thickness = params[P::kBoxThickness];
    SetBorderThickness(thickness.empty() ? 1 : ConvertToInt(thickness));
  }
  const VTextAlignment alignment = TextAlignmentFor(params);
  if (dataSource != DATA_SOURCE_PROMPT) engine_->SetTextFromObject(object, params[P::kText], true);
  engine_->SetTextAlignment(alignment);
  SetTextDataSource(params, dataSource);
  SetTextFont(params);
  engine_->RotateSelectedObject(ConvertToInt(params[P::kRotation]));
  if (dataSource == DATA_SOURCE_SEQUENCE) SetUpSequence(TextSequence(params));
  if (params[P::kSizing] == L"FREEFORM") PlaceFreeformText(params, scale);
  if (dataSource == DATA_SOURCE_PROMPT) Notify(NOTIFY_PROMPT_CREATED, 0);
}

// A sequence needs its whole set-up; without it the text prints as it stands.
int32_t CSessionManager::TextDataSource(const Params& params, int32_t dataSource) {
  if (dataSource != DATA_SOURCE_SEQUENCE || params.size() >= P::kWithSequence) return dataSource;
  log_->Write(L"SEQUENCE_TEXT with " + platform::IntToWide(static_cast<int64_t>(params.size())) +
              L" parameters has no sequence set-up; created as static text");
  return DATA_SOURCE_STATIC;
}

VDrawObj* CSessionManager::CreateTextObject(const Params& params, const EngineScale& scale) {
  const int32_t x = scale.ToUnits(params, P::kX), y = scale.ToUnits(params, P::kY);
  const VRect rect{x, y, AddSaturated(x, scale.ToUnits(params, P::kWidth)),
                   AddSaturated(y, scale.ToUnits(params, P::kHeight))};
  VDrawObj* object = engine_->CreateNewObject(kVObjText, rect, engine_->GetNextFreeObjectId());
  if (!object) {
    log_->Write(L"Unable to create text object: " + params[P::kText]);
    return nullptr;
  }
  engine_->SetSelectByObject(object);
  return object;
}

// The engine's alignment with the record's; written back once the text is in.
VTextAlignment CSessionManager::TextAlignmentFor(const Params& params) {
  const std::wstring& sizing = params[P::kSizing];
  VTextAlignment alignment;
  engine_->GetTextAlignment(alignment);
  alignment.boxBound = sizing == L"FREEFORM" ? 0 : 1;
  alignment.justification = Justification(params[P::kJustification]);
  alignment.verticalCentre = 1;
  alignment.reverse = Flag(params[P::kReverse]) ? 1 : 0;
  alignment.autoSize = sizing == L"AUTOSIZE" ? 1 : 0;
  alignment.vertical = Flag(params[P::kVertical]) ? 1 : 0;
  alignment.wordWrap = 1;
  return alignment;
}

// The prompt's default answer is the text itself; a date-time text prints its
// picture.
void CSessionManager::SetTextDataSource(const Params& params, int32_t dataSource) {
  const std::wstring& source = platform::ItemOrEmpty(params, P::kSourceText);
  if (dataSource == DATA_SOURCE_PROMPT) {
    variableDataKind_ = kVVariablePrompt;
    engine_->SetDataSource(kVSourcePrompt);
    engine_->SetPrompt(source, params[P::kText], 0, L"Message", 1, L"", L"");
  } else if (dataSource == DATA_SOURCE_DATE_TIME) {
    engine_->SetDataSource(kVSourceDateTime);
    engine_->SetDateTimeFormat(source, 1);
  }
}

// The font size counts only where the text is not sized to its box.
void CSessionManager::SetTextFont(const Params& params) {
  const platform::LOGFONTW* font = GetSystemFont(params[P::kFontName]);
  if (!font) {
    log_->Write(L"Unable to locate font: " + params[P::kFontName] +
                L", System Default will be used");
  }
  VInterfaceTextProperties* properties = engine_->GetVInterfaceTextProperties();
  if (!properties) return;
  if (font) properties->SetTextFontName(kVTextSelected, 0, *font, 0);
  properties->SetTextFontBold(kVTextSelected, 0, Flag(params[P::kBold]), 0);
  properties->SetTextFontItalic(kVTextSelected, 0, Flag(params[P::kItalic]), 0);
  properties->SetTextFontUnderline(kVTextSelected, 0, Flag(params[P::kUnderline]), 0);
  const std::wstring& sizing = params[P::kSizing];
  if (sizing == L"FREEFORM" || sizing == L"MANUAL") {
    properties->SetTextFontSize(kVTextSelected, 0, ConvertToInt(params[P::kFontSize]), 0,
                                TypesetWidthScale(params), true);
  }
}

SerialSequence CSessionManager::TextSequence(const Params& params) {
  return {params[P::kSourceText], ConvertToInt(params[P::kIncrement]),
          ConvertToInt(params[P::kLabelCount]), params[P::kPrefix], params[P::kPostfix]};
}

// A free-form text is not bound to its box: the engine places it by the
// position, in inches.
void CSessionManager::PlaceFreeformText(const Params& params, const EngineScale& scale) {
  const float units = static_cast<float>(scale.unitsPerInch);
  VTextFormat format;
  engine_->GetTextFormat(format);
  format.xInches = static_cast<float>(scale.ToUnits(params, P::kX)) / units;
  format.yInches = static_cast<float>(scale.ToUnits(params, P::kY)) / units;
  ApplyTypesetting(params, format);
  engine_->SetTextFormat(format);
}

void CSessionManager::SetBorderThickness(int32_t thickness) {
  if (!engine_) return;
  VTextFormat format;
  engine_->GetTextFormat(format);
  format.borderThickness = thickness;
  engine_->SetTextFormat(format);
}

void CSessionManager::SetSystemFonts(const std::vector<platform::LOGFONTW>& fonts) {
  systemFontSource_ = nullptr;
  systemFonts_.clear();
  for (const platform::LOGFONTW& font : fonts) {
    auto copy = std::make_unique<platform::LOGFONTW>(font);
    if (engine_) engine_->CopyLogicalFont(font, *copy, 0);
    systemFonts_.push_back(std::move(copy));
  }
}

void CSessionManager::SetSystemFontSource(SystemFontSource source) {
  systemFonts_.clear();
  systemFontSource_ = std::move(source);
}

const platform::LOGFONTW* CSessionManager::GetSystemFont(const std::wstring& faceName) {
  if (systemFontSource_) SetSystemFonts(systemFontSource_());
  for (const auto& font : systemFonts_) {
    if (platform::EqualsIgnoreCase(font->lfFaceName, faceName)) return font.get();
  }
  return nullptr;
}
