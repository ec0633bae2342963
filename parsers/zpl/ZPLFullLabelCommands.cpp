// The full dialect's format and label-setting commands. A format prints a
// label only when it has a field: one that merely sets the printer up prints
// nothing. Settings such as the label home, the encoding and the default font
// last from format to format, as on a full ZPL printer.

#include <algorithm>

#include "parsers/zpl/ZPLEncoding.h"
#include "parsers/zpl/ZPLParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

constexpr size_t kKeywordLength = 3;

// Every non-empty parameter must be a number (a decimal point allowed).
bool AllNumeric(const std::vector<std::wstring>& params) {
  return std::all_of(params.begin(), params.end(),
                     [](const std::wstring& p) { return CZPLParser::IsNumeric(p, true); });
}

int64_t NumberOr(const std::vector<std::wstring>& params, size_t i, int64_t fallback) {
  if (i >= params.size() || params[i].empty()) return fallback;
  return platform::LeadingInt(params[i]);
}

}  // namespace

std::wstring CZPLParser::ShortCommand(const std::wstring& command) {
  constexpr size_t kMost = 60;
  return command.size() <= kMost ? command : command.substr(0, kMost) + L"...";
}

bool CZPLParser::FullNumbers(const std::wstring& command, size_t keywordLength, size_t most,
                             std::wstring_view name, std::vector<std::wstring>& params) {
  SplitParameters(ParameterText(command, keywordLength), params);
  if (params.size() > most) {
    ReportError(L"Incorrect Number of Parameters for " + std::wstring(name));
    return false;
  }
  if (!AllNumeric(params)) {
    FullReportBadParameters(name, command);
    return false;
  }
  return true;
}

void CZPLParser::FullReportBadParameters(std::wstring_view name, const std::wstring& command) {
  ReportError(L"Invalid parameters for " + std::wstring(name) + L", command skipped: " +
              ShortCommand(command));
}

bool CZPLParser::FullNotYet(const std::wstring& command) {
  ReportError(L"Unsupported command: " + ShortCommand(command));
  return true;
}

// The last field of what came before is placed first; after that nothing
// looks back past the new format (its serial numbers and "^FR" shape are its
// own), so the labels before it can print.
bool CZPLParser::FullStartLabel(const std::wstring&) {
  FullEmitField();
  recalls_.clear();
  fieldValues_.clear();
  serialRecords_.clear();
  field_ = ZPLFullField{};
  HandOverLabel();
  AddCommand(START_LABEL);
  formatOpen_ = true;
  formatPrints_ = false;
  quantity_.clear();
  replicates_ = 0;
  fieldState_ = NO_ORIGIN;
  pendingObject_ = PENDING_NONE;
  return true;
}

bool CZPLParser::FullEndLabel(const std::wstring&) {
  FullEmitField();
  FullRunRecalls();
  fieldState_ = NO_ORIGIN;
  pendingObject_ = PENDING_NONE;
  formatOpen_ = false;
  if (!formatPrints_) {
    AddCommand(END_LABEL);
    return true;
  }
  const ZPLFullSettings& full = data_->full;
  if (!full.labelLength.empty() || !full.printWidth.empty()) {
    record::RecordWriter length(LABEL_LENGTH);
    length.Set(record::LabelLengthParam::kLength, full.labelLength)
        .Set(record::LabelLengthParam::kWidth, full.printWidth);
    commandList_.push_back(length.Take());
  }
  // Serial numbers step from label to label: the quantity becomes their
  // label count, and each label is printed once more per replicate.
  const std::wstring labels = quantity_.empty() ? L"1" : quantity_;
  for (size_t index : serialRecords_) {
    if (index < commandList_.size() &&
        commandList_[index].params.size() > record::TextParam::kLabelCount) {
      commandList_[index].params[record::TextParam::kLabelCount] = labels;
    }
  }
  const int64_t copies = serialRecords_.empty() ? platform::LeadingInt(labels) : 1 + replicates_;
  AddCommand(PRINT_QUANTITY, {platform::IntToWide(copies), L"0", L"0", L"N"});
  AddCommand(END_LABEL);
  AddCommand(PRINT_LABEL);
  return true;
}

bool CZPLParser::FullLabelHome(const std::wstring& command) {
  std::vector<std::wstring> p;
  if (!FullNumbers(command, kKeywordLength, 2, L"LABEL HOME", p)) return true;
  data_->full.homeX = NumberOr(p, 0, 0);
  data_->full.homeY = NumberOr(p, 1, 0);
  return true;
}

bool CZPLParser::FullLabelShift(const std::wstring& command) {
  std::vector<std::wstring> p;
  if (FullNumbers(command, kKeywordLength, 1, L"LABEL SHIFT", p)) {
    data_->full.shift = NumberOr(p, 0, 0);
  }
  return true;
}

bool CZPLParser::FullLabelTop(const std::wstring& command) {
  std::vector<std::wstring> p;
  if (FullNumbers(command, kKeywordLength, 1, L"LABEL TOP", p)) {
    data_->full.top = std::clamp<int64_t>(NumberOr(p, 0, 0), -120, 120);
  }
  return true;
}

bool CZPLParser::FullPrintWidth(const std::wstring& command) {
  std::vector<std::wstring> p;
  if (FullNumbers(command, kKeywordLength, 1, L"PRINT WIDTH", p) && NumberOr(p, 0, 0) > 0) {
    data_->full.printWidth = platform::IntToWide(NumberOr(p, 0, 0));
  }
  return true;
}

bool CZPLParser::FullLabelLength(const std::wstring& command) {
  std::vector<std::wstring> p;
  if (FullNumbers(command, kKeywordLength, 1, L"LABEL LENGTH", p) && NumberOr(p, 0, 0) > 0) {
    data_->full.labelLength = platform::IntToWide(NumberOr(p, 0, 0));
  }
  return true;
}

// "^PQ" labels, pause count, replicates, override: the labels and replicates
// count here.
bool CZPLParser::FullPrintQuantity(const std::wstring& command) {
  std::vector<std::wstring> p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  if (p.size() > 4) {
    ReportError(L"Incorrect Number of Parameters for PRINT QUANTITY");
    return true;
  }
  p.resize(4);
  if (!IsNumeric(p[0], false) || !IsNumeric(p[2], false)) {
    FullReportBadParameters(L"PRINT QUANTITY", command);
    return true;
  }
  quantity_ = platform::IntToWide(std::max<int64_t>(1, NumberOr(p, 0, 1)));
  replicates_ = std::clamp<int64_t>(NumberOr(p, 2, 0), 0, 10000);
  return true;
}

// "^CI" set[,from,to...]: the remapping pairs are not kept.
bool CZPLParser::FullEncoding(const std::wstring& command) {
  std::vector<std::wstring> p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  const int64_t set = p[0].empty() || !IsNumeric(p[0], false) ? -1 : platform::LeadingInt(p[0]);
  if (!IsKnownZplEncoding(set)) {
    FullReportBadParameters(L"CHANGE INTERNATIONAL FONT/ENCODING", command);
    return true;
  }
  data_->full.encoding = static_cast<int32_t>(set);
  return true;
}

// "^CW" letter,font file: the letter names that font from now on.
bool CZPLParser::FullFontAlias(const std::wstring& command) {
  std::vector<std::wstring> p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  if (p.size() != 2 || p[0].size() != 1 || p[1].empty()) {
    FullReportBadParameters(L"FONT IDENTIFIER", command);
    return true;
  }
  data_->full.fontAliases[platform::ToUpperChar(p[0][0])] = p[1];
  return true;
}

// "^CF" font,height,width. A height without a width (or the other way round)
// lets the other follow it.
bool CZPLParser::FullDefaultFont(const std::wstring& command) {
  std::vector<std::wstring> p;
  SplitParameters(ParameterText(command, kKeywordLength), p);
  p.resize(std::max<size_t>(p.size(), 3));
  if (p.size() > 3 || !IsNumeric(p[1], true) || !IsNumeric(p[2], true) || p[0].size() > 1) {
    FullReportBadParameters(L"CHANGE ALPHANUMERIC DEFAULT FONT", command);
    return true;
  }
  ZPLFullSettings& full = data_->full;
  if (!p[0].empty()) full.font = platform::ToUpper(p[0]);
  if (!p[1].empty() || !p[2].empty()) {
    full.fontHeight = p[1];
    full.fontWidth = p[2];
  }
  return true;
}
