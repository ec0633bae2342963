// The full dialect's format and label-setting commands. A format prints a
// label only when it has a field: one that merely sets the printer up prints
// nothing. Settings such as the label home, the encoding and the default font
// last from format to format, as on a full ZPL printer.

#include <algorithm>

#include "parsers/zpl/ZPLEncoding.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

using zpl::IsNumeric;
using zpl::SplitParameters;

namespace {

// Every non-empty parameter must be a number (a decimal point allowed).
bool AllNumeric(const std::vector<std::wstring>& params) {
  return std::all_of(params.begin(), params.end(),
                     [](const std::wstring& p) { return IsNumeric(p, true); });
}

int64_t NumberOr(const std::vector<std::wstring>& params, size_t i, int64_t fallback) {
  if (i >= params.size() || params[i].empty()) return fallback;
  return platform::LeadingInt(params[i]);
}

}  // namespace

std::wstring ZPLFullParser::ShortCommand(std::wstring_view command) {
  constexpr size_t kMost = 60;
  return command.size() <= kMost ? std::wstring(command)
                                 : std::wstring(command.substr(0, kMost)) + L"...";
}

bool ZPLFullParser::Numbers(const ZPLCommand& command, size_t most, std::wstring_view name,
                            std::vector<std::wstring>& params) {
  SplitParameters(command.parameters, params);
  if (params.size() > most) {
    ReportError(L"Incorrect Number of Parameters for " + std::wstring(name));
    return false;
  }
  if (!AllNumeric(params)) {
    ReportBadParameters(name, command);
    return false;
  }
  return true;
}

void ZPLFullParser::ReportBadParameters(std::wstring_view name, const ZPLCommand& command) {
  ReportError(L"Invalid parameters for " + std::wstring(name) + L", command skipped: " +
              ShortCommand(command.text));
}

// The last field of what came before is placed first; after that nothing
// looks back past the new format; the labels before it may go when its
// label starts.
bool ZPLFullParser::StartLabel(const ZPLCommand&) {
  EmitField();
  ReleaseRecords(L"1");
  formatHasSerial_ = false;
  recalls_.clear();
  fieldValues_.clear();
  field_ = ZPLFullField{};
  // Settings of a format left without its end are written without a label.
  inFormat_ = false;
  WriteSettings();
  inFormat_ = true;
  labelStarted_ = false;
  formatPrints_ = false;
  quantity_.clear();
  replicates_ = 0;
  return true;
}

bool ZPLFullParser::EndLabel(const ZPLCommand&) {
  EmitField();
  RunRecalls();
  // Serial numbers step from label to label: the quantity becomes their
  // label count, and each label is printed once more per replicate.
  const std::wstring labels = quantity_.empty() ? L"1" : quantity_;
  ReleaseRecords(labels);
  if (!formatPrints_) {
    if (labelStarted_) Append(END_LABEL);
    inFormat_ = labelStarted_ = false;
    WriteSettings();
    return true;
  }
  const ZPLFullSettings& full = data_->full;
  if (!full.labelLength.empty() || !full.printWidth.empty()) {
    record::RecordWriter length(LABEL_LENGTH);
    length.Set(record::LabelLengthParam::kLength, full.labelLength)
        .Set(record::LabelLengthParam::kWidth, full.printWidth);
    Append(length.Take());
  }
  const int64_t copies = formatHasSerial_ ? 1 + replicates_ : platform::LeadingInt(labels);
  Append(PRINT_QUANTITY, {platform::IntToWide(copies), L"0", L"0", L"N"});
  Append(END_LABEL);
  Append(PRINT_LABEL);
  inFormat_ = labelStarted_ = false;
  return true;
}

bool ZPLFullParser::LabelHome(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  if (!Numbers(command, 2, L"LABEL HOME", p)) return true;
  data_->full.homeX = NumberOr(p, 0, 0);
  data_->full.homeY = NumberOr(p, 1, 0);
  return true;
}

bool ZPLFullParser::LabelShift(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  if (Numbers(command, 1, L"LABEL SHIFT", p)) data_->full.shift = NumberOr(p, 0, 0);
  return true;
}

bool ZPLFullParser::LabelTop(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  if (Numbers(command, 1, L"LABEL TOP", p)) {
    data_->full.top = std::clamp<int64_t>(NumberOr(p, 0, 0), -120, 120);
  }
  return true;
}

bool ZPLFullParser::PrintWidth(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  if (Numbers(command, 1, L"PRINT WIDTH", p) && NumberOr(p, 0, 0) > 0) {
    data_->full.printWidth = platform::IntToWide(NumberOr(p, 0, 0));
  }
  return true;
}

bool ZPLFullParser::LabelLength(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  if (Numbers(command, 1, L"LABEL LENGTH", p) && NumberOr(p, 0, 0) > 0) {
    data_->full.labelLength = platform::IntToWide(NumberOr(p, 0, 0));
  }
  return true;
}

// "^PQ" labels, pause count, replicates, override: the labels and replicates
// count here.
bool ZPLFullParser::PrintQuantity(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  SplitParameters(command.parameters, p);
  if (p.size() > 4) {
    ReportError(L"Incorrect Number of Parameters for PRINT QUANTITY");
    return true;
  }
  p.resize(4);
  if (!IsNumeric(p[0], false) || !IsNumeric(p[2], false)) {
    ReportBadParameters(L"PRINT QUANTITY", command);
    return true;
  }
  quantity_ = platform::IntToWide(std::max<int64_t>(1, NumberOr(p, 0, 1)));
  replicates_ = std::clamp<int64_t>(NumberOr(p, 2, 0), 0, 10000);
  return true;
}

// "^CI" set[,from,to...]: the remapping pairs are not kept.
bool ZPLFullParser::Encoding(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  SplitParameters(command.parameters, p);
  const int64_t set = p[0].empty() || !IsNumeric(p[0], false) ? -1 : platform::LeadingInt(p[0]);
  if (!IsKnownZplEncoding(set)) {
    ReportBadParameters(L"CHANGE INTERNATIONAL FONT/ENCODING", command);
    return true;
  }
  data_->full.encoding = static_cast<int32_t>(set);
  return true;
}

// "^CW" letter,font file: the letter names that font from now on.
bool ZPLFullParser::FontAlias(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  SplitParameters(command.parameters, p);
  if (p.size() != 2 || p[0].size() != 1 || p[1].empty()) {
    ReportBadParameters(L"FONT IDENTIFIER", command);
    return true;
  }
  data_->full.fontAliases[platform::ToUpperChar(p[0][0])] = p[1];
  return true;
}

// "^CF" font,height,width. A height without a width (or the other way round)
// lets the other follow it.
bool ZPLFullParser::DefaultFont(const ZPLCommand& command) {
  std::vector<std::wstring> p;
  SplitParameters(command.parameters, p);
  p.resize(std::max<size_t>(p.size(), 3));
  if (p.size() > 3 || !IsNumeric(p[1], true) || !IsNumeric(p[2], true)) {
    ReportBadParameters(L"CHANGE ALPHANUMERIC DEFAULT FONT", command);
    return true;
  }
  // The font is one character: what follows it ("^CFB0,30", an orientation
  // written out of habit) is not read.
  ZPLFullSettings& full = data_->full;
  if (!p[0].empty()) full.font = std::wstring(1, platform::ToUpperChar(p[0][0]));
  if (!p[1].empty() || !p[2].empty()) {
    full.fontHeight = p[1];
    full.fontWidth = p[2];
  }
  return true;
}

// "^LRY" / "^LRN": every later field reverses what lies below it, or not.
bool ZPLFullParser::LabelReverse(const ZPLCommand& command) {
  const std::wstring value = platform::ToUpper(platform::Trim(command.parameters));
  if (value != L"Y" && value != L"N") {
    ReportBadParameters(L"LABEL REVERSE", command);
    return true;
  }
  data_->full.labelReverse = value == L"Y";
  return true;
}
