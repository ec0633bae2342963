// Label-level and setting commands of CZPLParser. A rejected command emits
// nothing; count errors are reported, failed numeric checks are silent.

#include "parsers/zpl/ZPLParser.h"
#include "platform/Clock.h"
#include "platform/Text.h"

namespace {

constexpr size_t kKeywordLength = 3;

}  // namespace

// Nothing looks back past a label's start: the labels before it can print.
bool CZPLParser::StartLabel(const std::wstring&) {
  HandOverLabel();
  AddCommand(START_LABEL);
  fieldState_ = NO_ORIGIN;
  return true;
}

bool CZPLParser::EndLabel(const std::wstring&) {
  AddCommand(END_LABEL);
  AddCommand(PRINT_LABEL);
  fieldState_ = NO_ORIGIN;
  return true;
}

// The pending object stays: a font or barcode without data is completed by
// the next "^FD".
bool CZPLParser::EndField(const std::wstring&) {
  fieldState_ = NO_ORIGIN;
  return true;
}

bool CZPLParser::Comment(const std::wstring&) { return true; }

// Values are dots throughout, so the unit is checked and then ignored.
bool CZPLParser::UnitsOfMeasure(const std::wstring& command) {
  static const ParameterRule rule{
      3, {L"D"}, {}, L"Incorrect Number of Parameters for ParseUnitsOfMeasure"};
  std::vector<std::wstring> params;
  ReadParameters(ParameterText(command, kKeywordLength), rule, params);
  return true;
}

bool CZPLParser::ChangeDefaultFont(const std::wstring& command) {
  const ParameterRule rule{3,
                           {data_->font, data_->fontHeight, data_->fontWidth},
                           {{1}, {2}},
                           L"Incorrect Number of Parameters for CHANGE ALPHANUMERIC DEFAULT FONT"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    data_->font = params[0];
    data_->fontHeight = params[1];
    data_->fontWidth = params[2];
  }
  return true;
}

bool CZPLParser::BarcodeFieldDefault(const std::wstring& command) {
  const ParameterRule rule{3,
                           {data_->barcodeModuleWidth, data_->barcodeRatio, data_->barcodeHeight},
                           {{0}, {1, true}, {2}},
                           L"Incorrect Number of Parameters for BARCODE FIELD DEFAULT"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    data_->barcodeModuleWidth = params[0];
    data_->barcodeRatio = params[1];
    data_->barcodeHeight = params[2];
    data_->density = params[0];
    data_->ratio = params[1];
  }
  return true;
}

bool CZPLParser::FieldOrientationDefault(const std::wstring& command) {
  const ParameterRule rule{
      1, {data_->fieldOrientation}, {}, L"Incorrect Number of Parameters for Field Orientation"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    data_->fieldOrientation = params[0];
  }
  return true;
}

bool CZPLParser::SetDateAndTime(const std::wstring& command) {
  const platform::LocalTime now = platform::Now();
  const ParameterRule rule{7,
                           {platform::IntToWide(now.month), platform::IntToWide(now.day),
                            platform::IntToWide(now.year), platform::IntToWide(now.hour),
                            platform::IntToWide(now.minute), platform::IntToWide(now.second), L"M"},
                           {{0}, {1}, {2}, {3}, {4}, {5}},
                           L"Incorrect Number of Parameters for SET DATE AND TIME"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    AddCommand(DATE_AND_TIME, std::move(params));
  }
  return true;
}

bool CZPLParser::PrintMirror(const std::wstring& command) {
  static const ParameterRule rule{
      1, {L"N"}, {}, L"Incorrect Number of Parameters for PRINT MIRROR"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    AddCommand(MIRROR_PRINTING, std::move(params));
  }
  return true;
}

bool CZPLParser::FieldReverse(const std::wstring&) {
  AddCommand(LABEL_NEGATIVE, {data_->LabelNegative()});
  return true;
}

bool CZPLParser::PrintQuantity(const std::wstring& command) {
  static const ParameterRule rule{4,
                                  {L"1", L"0", L"0", L"N"},
                                  {{0}, {1}, {2}},
                                  L"Incorrect Number of Parameters for PRINT QUANTITY"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    AddCommand(PRINT_QUANTITY, std::move(params));
  }
  return true;
}

// Exactly one value; an empty one is handed on as it is.
bool CZPLParser::LabelLength(const std::wstring& command) {
  static const ParameterRule rule{1, {}, {{0}}, L"Incorrect Number of Parameters for LABEL LENGTH"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    AddCommand(LABEL_LENGTH, std::move(params));
  }
  return true;
}

bool CZPLParser::PrintOrientation(const std::wstring& command) {
  const bool inverted = !command.empty() && platform::ToUpperChar(command.back()) == L'I';
  AddCommand(PRINT_ROTATION, {inverted ? L"180" : L"0"});
  return true;
}

bool CZPLParser::TearOffAdjust(const std::wstring& command) {
  static const ParameterRule rule{
      1, {}, {{0}}, L"Incorrect Number of Parameters for TEAROFF ADJUST"};
  std::vector<std::wstring> params;
  if (ReadParameters(ParameterText(command, kKeywordLength), rule, params)) {
    AddCommand(TEAROFF_POSITION, std::move(params));
  }
  return true;
}

bool CZPLParser::ConfigurationLabel(const std::wstring&) {
  AddCommand(PRINT_CONFIGURATION_LABEL);
  return true;
}
