// The document's structure, the printer defaults and the label element. A
// misplaced structural tag has no effect but its SCRIPT_ERROR.

#include "parsers/xtpl/XTPLParser.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

void XTPLParser::CloseDocument(xtpl::Tag&) {
  if (!IsState(kDocumentOpen)) {
    ReportError(L"XMl TPL /document command encountered at incorrect point.");
    return;
  }
  RemoveState(kDocumentOpen);
}

void XTPLParser::OpenDocument(xtpl::Tag&) { AddState(kDocumentOpen); }

void XTPLParser::OpenDefaults(xtpl::Tag&) {
  if (!IsState(kDocumentOpen)) {
    ReportError(L"XML TPL <defaults> command encountered at incorrect point.");
    return;
  }
  AddState(kDefaultsOpen);
}

void XTPLParser::CloseDefaults(xtpl::Tag&) {
  if (!IsState(kDefaultsOpen)) {
    ReportError(L"XML TPL </defaults> command encountered at incorrect point.");
    return;
  }
  RemoveState(kDefaultsOpen);
}

void XTPLParser::PrinterDefaults(xtpl::Tag& tag) {
  tag.RemoveString(L"<PRINTER");
  ParseDefaultsValues(tag);
}

namespace {

// HEAT runs the printer's darkness scale from 100 up.
std::wstring Darkness(const std::wstring& heat) {
  const int64_t h = platform::LeadingInt(heat);
  return platform::IntToWide(h == 0 ? 100 : static_cast<int64_t>(h * 1.75 + 97.0));
}

}  // namespace

void XTPLParser::ParseDefaultsValues(xtpl::Tag& tag) {
  TPLData& d = *data_;
  if (Read(tag, L"MATCH-MEDIA", d.matchTape)) AddSetting(MATCH_TAPE, d.matchTape);
  if (Read(tag, L"MATCH-RIBBON", d.matchRibbon)) AddSetting(MATCH_RIBBON, d.matchRibbon);
  if (std::optional<std::wstring> speed = tag.GetValue(L"SPEED")) {
    d.printSpeed = platform::IntToWide(int64_t{platform::LeadingInt(*speed)} * 1000);
    AddSetting(PRINT_SPEED, d.printSpeed);
  }
  if (std::optional<std::wstring> heat = tag.GetValue(L"HEAT")) {
    d.printDensity = Darkness(*heat);
    AddSetting(PRINT_DENSITY, d.printDensity);
  }
  if (std::optional<std::wstring> cut = tag.GetValue(L"TEAR-OR-CUT-BETWEEN")) {
    if (*cut == L"BETWEEN-LABELS") {
      d.cuttingOption = L"0";
    } else if (*cut == L"NEVER") {
      d.cuttingOption = L"2";
    } else {
      if (*cut != L"AFTER-JOB") ReportError(L"Invalid Value for TEAR-OR-CUT-BETWEEN Parameter");
      d.cuttingOption = L"1";
    }
    AddSetting(CUTTING_OPTION, d.cuttingOption);
  }
}

// Only the units are read from the document defaults.
void XTPLParser::DocumentDefaults(xtpl::Tag& tag) {
  if (std::optional<std::wstring> units = tag.GetValue(L"UNITS")) SetParserUnits(*units);
}

void XTPLParser::OpenLabels(xtpl::Tag&) {
  if (!IsState(kDocumentOpen)) {
    ReportError(L"XMl TPL labels command encountered at incorrect point.");
    return;
  }
  AddState(kLabelsOpen);
}

void XTPLParser::CloseLabels(xtpl::Tag&) {
  if (!IsState(kLabelsOpen)) {
    ReportError(L"XMl TPL /labels command encountered at incorrect point.");
    return;
  }
  RemoveState(kLabelsOpen);
}

void XTPLParser::CloseLabel(xtpl::Tag&) {
  if (!IsState(kLabelOpen)) {
    ReportError(L"XMl TPL /label command encountered at incorrect point.");
    return;
  }
  commandList_.push_back(LabelCommand{PRINT_LABEL, {}});
  RemoveState(kLabelOpen);
}

void XTPLParser::OpenLabel(xtpl::Tag& tag) {
  if (!IsState(kLabelsOpen)) {
    ReportError(L"XMl TPL label command encountered at incorrect point.");
    return;
  }
  AddState(kLabelOpen);
  ParseLabelCommand(tag);
}

namespace {

bool BeginsWithT(const std::optional<std::wstring>& value) {
  return value && !value->empty() && (*value)[0] == L'T';
}

}  // namespace

// The length and offsets are kept in dots, the unit every language sharing
// TPLData reads them in; a label without HEIGHT reuses the stored length as it is.
void XTPLParser::ParseLabelCommand(xtpl::Tag& tag) {
  TPLData& d = *data_;
  commandList_.push_back(LabelCommand{START_LABEL, {}});
  if (std::optional<std::wstring> height = tag.GetValue(L"HEIGHT")) {
    d.labelLength = d.labelHeight = Dots(*height);
  }
  AddSetting(LABEL_LENGTH, d.labelLength);
  d.offsetX = Dots(tag.GetValue(L"OFFSET-X").value_or(L"0"));
  d.offsetY = Dots(tag.GetValue(L"OFFSET-Y").value_or(L"0"));
  commandList_.push_back(record::RecordWriter(LABEL_OFFSET, record::LabelOffsetParam::kRequired)
                             .Set(record::LabelOffsetParam::kX, d.offsetX)
                             .Set(record::LabelOffsetParam::kY, d.offsetY)
                             .Take());
  Read(tag, L"ORIENTATION", d.labelOrientation);
  AddSetting(LABEL_ORIENTATION, d.labelOrientation);
  if (BeginsWithT(tag.GetValue(L"LABEL-NEGATIVE"))) AddSetting(LABEL_NEGATIVE, d.labelLength);
  if (BeginsWithT(tag.GetValue(L"LABEL-MIRROR"))) AddSetting(MIRROR_PRINTING, L"Y");
  if (std::optional<std::wstring> tearBar = tag.GetValue(L"TEAR-BAR-ADJUSTMENT")) {
    AddSetting(TEAROFF_POSITION, Dots(*tearBar));
  }
  Read(tag, L"FONT-NAME", d.fontName);
  Read(tag, L"FONT-SIZE", d.fontSize);
  d.copies = tag.GetValue(L"COPIES").value_or(L"1");
  AddSetting(PRINT_QUANTITY, d.copies);
}
