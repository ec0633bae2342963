// Label-level and setting commands of the device dialect. A rejected command
// emits nothing; count errors are reported, failed numeric checks are silent.

#include "parsers/zpl/ZPLParser.h"

using zpl::ParameterRule;

// Nothing looks back past a label's start: the labels before it can print.
bool CZPLParser::StartLabel(const ZPLCommand&) {
  HandOverLabel();
  Append(START_LABEL);
  fieldState_ = NO_ORIGIN;
  return true;
}

bool CZPLParser::EndLabel(const ZPLCommand&) {
  Append(END_LABEL);
  Append(PRINT_LABEL);
  fieldState_ = NO_ORIGIN;
  return true;
}

// The pending object stays: a font or barcode without data is completed by
// the next "^FD".
bool CZPLParser::EndField(const ZPLCommand&) {
  fieldState_ = NO_ORIGIN;
  return true;
}

bool CZPLParser::ChangeDefaultFont(const ZPLCommand& command) {
  const ParameterRule rule{3,
                           {data_->font, data_->fontHeight, data_->fontWidth},
                           {{1}, {2}},
                           L"Incorrect Number of Parameters for CHANGE ALPHANUMERIC DEFAULT FONT"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) {
    data_->font = params[0];
    data_->fontHeight = params[1];
    data_->fontWidth = params[2];
  }
  return true;
}

bool CZPLParser::BarcodeFieldDefault(const ZPLCommand& command) {
  const ParameterRule rule{3,
                           {data_->barcodeModuleWidth, data_->barcodeRatio, data_->barcodeHeight},
                           {{0}, {1, true}, {2}},
                           L"Incorrect Number of Parameters for BARCODE FIELD DEFAULT"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) {
    data_->barcodeModuleWidth = params[0];
    data_->barcodeRatio = params[1];
    data_->barcodeHeight = params[2];
    data_->density = params[0];
    data_->ratio = params[1];
  }
  return true;
}

bool CZPLParser::FieldOrientationDefault(const ZPLCommand& command) {
  const ParameterRule rule{
      1, {data_->fieldOrientation}, {}, L"Incorrect Number of Parameters for Field Orientation"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) data_->fieldOrientation = params[0];
  return true;
}

bool CZPLParser::FieldReverse(const ZPLCommand&) {
  Append(LABEL_NEGATIVE, {data_->LabelNegative()});
  return true;
}

bool CZPLParser::PrintQuantity(const ZPLCommand& command) {
  static const ParameterRule rule{4,
                                  {L"1", L"0", L"0", L"N"},
                                  {{0}, {1}, {2}},
                                  L"Incorrect Number of Parameters for PRINT QUANTITY"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) Append(PRINT_QUANTITY, std::move(params));
  return true;
}

// Exactly one value; an empty one is handed on as it is.
bool CZPLParser::LabelLength(const ZPLCommand& command) {
  static const ParameterRule rule{1, {}, {{0}}, L"Incorrect Number of Parameters for LABEL LENGTH"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) Append(LABEL_LENGTH, std::move(params));
  return true;
}
