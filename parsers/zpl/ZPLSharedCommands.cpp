// The setting commands both dialects read the device's way. A rejected
// command emits nothing; count errors are reported, failed numeric checks are
// silent.

#include "parsers/zpl/ZPLParserCore.h"
#include "platform/Clock.h"
#include "platform/Text.h"

using zpl::ParameterRule;

bool ZPLParserCore::Ignore(const ZPLCommand&) { return true; }

// Values are dots throughout, so the unit is checked and then ignored.
bool ZPLParserCore::UnitsOfMeasure(const ZPLCommand& command) {
  static const ParameterRule rule{
      3, {L"D"}, {}, L"Incorrect Number of Parameters for ParseUnitsOfMeasure"};
  std::vector<std::wstring> params;
  ReadParameters(command.parameters, rule, params);
  return true;
}

bool ZPLParserCore::SetDateAndTime(const ZPLCommand& command) {
  const platform::LocalTime now = platform::Now();
  const ParameterRule rule{7,
                           {platform::IntToWide(now.month), platform::IntToWide(now.day),
                            platform::IntToWide(now.year), platform::IntToWide(now.hour),
                            platform::IntToWide(now.minute), platform::IntToWide(now.second), L"M"},
                           {{0}, {1}, {2}, {3}, {4}, {5}},
                           L"Incorrect Number of Parameters for SET DATE AND TIME"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) Append(DATE_AND_TIME, std::move(params));
  return true;
}

bool ZPLParserCore::PrintMirror(const ZPLCommand& command) {
  static const ParameterRule rule{
      1, {L"N"}, {}, L"Incorrect Number of Parameters for PRINT MIRROR"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) Append(MIRROR_PRINTING, std::move(params));
  return true;
}

bool ZPLParserCore::PrintOrientation(const ZPLCommand& command) {
  const bool inverted = !command.text.empty() && platform::ToUpperChar(command.text.back()) == L'I';
  Append(PRINT_ROTATION, {inverted ? L"180" : L"0"});
  return true;
}

bool ZPLParserCore::TearOffAdjust(const ZPLCommand& command) {
  static const ParameterRule rule{
      1, {}, {{0}}, L"Incorrect Number of Parameters for TEAROFF ADJUST"};
  std::vector<std::wstring> params;
  if (ReadParameters(command.parameters, rule, params)) Append(TEAROFF_POSITION, std::move(params));
  return true;
}

bool ZPLParserCore::ConfigurationLabel(const ZPLCommand&) {
  Append(PRINT_CONFIGURATION_LABEL);
  return true;
}
