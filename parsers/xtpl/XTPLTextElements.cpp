// Texts: the opening tag's attributes, the sizing part, and the data-source
// part that texts and barcodes share. A text appends its record at "/TEXT".

#include "parsers/tpl/TPLRecordBuilders.h"
#include "parsers/xtpl/XTPLParser.h"

void XTPLParser::OpenText(xtpl::Tag& tag) {
  AddState(kTextOpen);
  data_->ResetText();
  tag.RemoveString(L"TEXT");
  ParseTextparameters(tag);
}

void XTPLParser::ParseTextparameters(xtpl::Tag& tag) {
  TPLData& d = *data_;
  Read(tag, L"POSITION-X", d.positionX, L"No position-x found in shape command");
  Read(tag, L"POSITION-Y", d.positionY, L"No position-y found in shape command");
  Read(tag, L"ROTATION", d.rotation);
  if (std::optional<std::wstring> align = tag.GetValue(L"ALIGN")) {
    if (*align == L"LEFT") {
      d.justification = L"L";
    } else if (*align == L"RIGHT") {
      d.justification = L"R";
    } else if (*align == L"CENTER") {
      d.justification = L"C";
    } else {
      ReportError(L"Incorrect align parameter");
    }
  }
  Read(tag, L"FONT-NAME", d.fontName);
  ReadFlag(tag, L"ITALIC", d.italic);
  ReadFlag(tag, L"BOLD", d.bold);
  ReadFlag(tag, L"UNDERLINE", d.underline);
  ReadFlag(tag, L"VERTICAL-TEXT", d.vertical);
  if (IsTrue(tag, L"MIRROR-TEXT")) AddSetting(MIRROR_PRINTING, L"Y");  // the whole label
  if (IsTrue(tag, L"REVERSE-TEXT")) d.reverse = L"T";
  if (IsTrue(tag, L"SHOW-BOUNDING-BOX")) d.boundingBox = L"T";
  Read(tag, L"BOUNDING-BOX-LINE-THICKNESS", d.lineThickness);
}

// XTPL gives every text box in the script's units, so it always goes to dots.
void XTPLParser::CloseText(xtpl::Tag&) {
  RemoveState(kTextOpen);
  commandList_.push_back(tpl::TextRecord(*data_, *this, dataSource_, tpl::TextBox::kAlwaysDots));
}

void XTPLParser::OpenSizing(xtpl::Tag&) { AddState(kTextSizingOpen); }
void XTPLParser::CloseSizing(xtpl::Tag&) { RemoveState(kTextSizingOpen); }

void XTPLParser::ParseTextSizing(xtpl::Tag& tag) {
  constexpr wchar_t kNoHeight[] = L"No height found in text command";
  constexpr wchar_t kNoWidth[] = L"No width found in text command";
  TPLData& d = *data_;
  for (const wchar_t* mode : {L"AUTOSIZE", L"FREEFORM", L"MANUAL"}) {
    if (!tag.Contains(mode)) continue;
    d.fontType = mode;
    tag.RemoveString(mode);
    Read(tag, L"HEIGHT", d.height, kNoHeight);
    if (d.fontType == L"FREEFORM") return;
    Read(tag, L"WIDTH", d.width, kNoWidth);
    if (d.fontType == L"MANUAL") {
      Read(tag, L"FONT-SIZE", d.fontSize, L"No font-size found in text command");
    }
    return;
  }
}

void XTPLParser::OpenDataSource(xtpl::Tag&) { AddState(kDataSourceOpen); }
void XTPLParser::CloseDataSource(xtpl::Tag&) { RemoveState(kDataSourceOpen); }

void XTPLParser::ParseDataSource(xtpl::Tag& tag) {
  if (tag.Contains(L"STATIC-TEXT")) return StaticText(tag);
  if (tag.Contains(L"PROMPT-TEXT")) return PromptText(tag);
  if (tag.Contains(L"DATE-TIME")) return DateTime(tag);
  if (tag.Contains(L"SEQUENCE")) return Sequence(tag);
  ReportError(L"No DataSource Found.");
}

// The text is the first quoted value after the element's name, whatever the
// attribute is called.
void XTPLParser::StaticText(xtpl::Tag& tag) {
  dataSource_ = DATA_SOURCE_STATIC;
  ReadAsWritten(tag, L"STATIC-TEXT", data_->objectData);
}

// DEFAULT is read first: the prompt is the first quoted value after the word
// PROMPT, which the element's own name holds, so with DEFAULT gone it is the
// prompt's value whichever order the two are written in. The default becomes
// the text the field shows until the operator answers.
void XTPLParser::PromptText(xtpl::Tag& tag) {
  dataSource_ = DATA_SOURCE_PROMPT;
  ReadAsWritten(tag, L"DEFAULT", data_->objectData);
  ReadAsWritten(tag, L"PROMPT", data_->promptText, L"No Prompt found for DataSource");
}

void XTPLParser::DateTime(xtpl::Tag& tag) {
  dataSource_ = DATA_SOURCE_DATE_TIME;
  std::wstring code;
  if (ReadAsWritten(tag, L"DATE-TIME-FORMAT", code, L"No date-time-format found for DataSource")) {
    data_->dateTimeFormat = GetDateTimeFormat(code);
  }
}

void XTPLParser::Sequence(xtpl::Tag& tag) {
  TPLData& d = *data_;
  dataSource_ = DATA_SOURCE_SEQUENCE;
  ReadAsWritten(tag, L"START", d.serialStart, L"No start Sequence value found for DataSource");
  ReadAsWritten(tag, L"INCREMENT", d.serialIncrement,
                L"No increment Sequence value found for DataSource");
  ReadAsWritten(tag, L"NUMBER-OF-LABELS", d.serialCount,
                L"No number-of-labels value found for DataSource");
  ReadAsWritten(tag, L"PREFIX", d.serialPrefix);
  ReadAsWritten(tag, L"POSTFIX", d.serialSuffix);
}
