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

// LABELWIDTH and LABELHEIGHT both give the length along the feed.
void TPLParser::LabelLength(const std::wstring& value) {
  data_->labelLength = value;
  AddCommand(LABEL_LENGTH, {Dots(data_->labelLength)});
}

// The session takes this as a label length in dots, like LABEL_LENGTH, so the
// stored length is converted too; an empty length stays empty.
void TPLParser::LabelNegative(const std::wstring&) {
  const std::wstring& length = data_->labelLength;
  AddCommand(LABEL_NEGATIVE, {length.empty() ? length : Dots(length)});
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

// A bad pair keeps the old offsets, which are still sent.
void TPLParser::LabelOffset(const std::wstring& value) {
  if (!tpl::SplitPair(value, data_->offsetX, data_->offsetY)) {
    Log(L"Invalid Syntax for LABELOFFSET command: " + value);
  }
  using P = record::LabelOffsetParam;
  AddCommand(record::RecordWriter(LABEL_OFFSET, P::kRequired)
                 .Set(P::kX, Dots(data_->offsetX))
                 .Set(P::kY, Dots(data_->offsetY))
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
