// Statements that act on the label and the printer as a whole. Each keeps its
// value in TPLData, where the next job finds it, and appends one setting record
// whose value stands at record::SettingParam::kValue (the offsets at their
// own names).

#include "parsers/tpl/TPLParser.h"
#include "parsers/tpl/TPLStatements.h"
#include "platform/Text.h"

void TPLParser::StartTpl(const std::wstring& value) {
  if (!value.empty() && platform::LeadingNumber(value) > 1.0) {
    Log(L"Invalid TPL Version: " + value + L" Script will not be processed.");
    stopped_ = true;
    return;
  }
  AddState(kDocumentOpen);
}

// Intake has already cut the job at its end marker; nothing is left to do.
void TPLParser::EndTpl(const std::wstring&) {}

void TPLParser::StartLabel(const std::wstring&) {
  AddCommand(START_LABEL);
  AddState(kLabelOpen);
}

void TPLParser::EndLabel(const std::wstring& value) {
  AddCommand(PRINT_QUANTITY, {value.empty() ? L"1" : value});
  AddCommand(PRINT_LABEL);
  RemoveState(kLabelOpen);
}

void TPLParser::CutBetweenLabels(const std::wstring&) { SetCutting(L"0"); }
void TPLParser::CutAtEndOfJob(const std::wstring&) { SetCutting(L"1"); }
void TPLParser::DontCut(const std::wstring&) { SetCutting(L"2"); }

void TPLParser::SetCutting(const wchar_t* option) {
  data_->cuttingOption = option;
  AddCommand(CUTTING_OPTION, {data_->cuttingOption});
}

// LABELWIDTH and LABELHEIGHT both give the length along the feed. It is kept
// in dots, the one unit every language sharing TPLData reads it back in.
void TPLParser::LabelLength(const std::wstring& value) {
  data_->labelLength = Dots(value);
  AddCommand(LABEL_LENGTH, {data_->labelLength});
}

// The session takes this as a label length in dots, like LABEL_LENGTH; an
// empty length (none given yet) stays empty.
void TPLParser::LabelNegative(const std::wstring&) {
  AddCommand(LABEL_NEGATIVE, {data_->labelLength});
}

void TPLParser::PrintSpeed(const std::wstring& value) {
  data_->printSpeed = value;
  AddCommand(PRINT_SPEED, {value});
}

void TPLParser::PrintDensity(const std::wstring& value) {
  data_->printDensity = value;
  AddCommand(PRINT_DENSITY, {value});
}

void TPLParser::LabelMirror(const std::wstring&) { AddCommand(MIRROR_PRINTING, {L"Y"}); }

void TPLParser::LabelRotate(const std::wstring& value) {
  data_->labelRotation = value;
  AddCommand(PRINT_ROTATION, {value});
}

void TPLParser::SetUnits(const std::wstring& value) {
  data_->units = value;
  SetParserUnits(data_->units);
}

void TPLParser::LabelOrientation(const std::wstring& value) {
  data_->labelOrientation = value;
  AddCommand(LABEL_ORIENTATION, {value});
}

// The offsets are kept in dots, like the label length. A bad pair keeps the
// old offsets, which are still sent.
void TPLParser::LabelOffset(const std::wstring& value) {
  std::wstring x, y;
  if (tpl::SplitPair(value, x, y)) {
    data_->offsetX = Dots(x);
    data_->offsetY = Dots(y);
  } else {
    Log(L"Invalid Syntax for LABELOFFSET command: " + value);
  }
  using P = record::LabelOffsetParam;
  AddCommand(record::RecordWriter(LABEL_OFFSET, P::kRequired)
                 .Set(P::kX, data_->offsetX)
                 .Set(P::kY, data_->offsetY)
                 .Take());
}

void TPLParser::MatchTape(const std::wstring& value) {
  data_->matchTape = value;
  AddCommand(MATCH_TAPE, {value});
}

void TPLParser::MatchRibbon(const std::wstring& value) {
  data_->matchRibbon = value;
  AddCommand(MATCH_RIBBON, {value});
}
