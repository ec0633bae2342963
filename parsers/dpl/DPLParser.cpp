#include "parsers/dpl/DPLParser.h"

#include <cmath>

#include "intake/Languages.h"
#include "parsers/tpl/TPLStatements.h"
#include "platform/Text.h"

namespace {

// Letters after STX that name commands this printer does not carry out.
constexpr std::wstring_view kUnsupportedAfterStx = L"ABCDEFGHJKMNOPQRSTUVWXYZabdefgikopqrstvwxyz";
// First characters of other lines that do the same.
constexpr std::wstring_view kUnsupportedLineStart = L"+-DGSTUXYZ^prsz";

// Truncates toward zero; values beyond 64 bits (or not a number) are clamped
// rather than left undefined.
int64_t Truncated(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMax = 9.2e18;
  return static_cast<int64_t>(std::trunc(std::fmax(-kMax, std::fmin(kMax, value))));
}

}  // namespace

DPLParser::DPLParser(TPLData* data) : CLanguageParserBase(data), data_(data) {
  errorLog_ = std::make_unique<CLogging>(LanguageOf(LANGUAGE_DPL).errorLog);
  state_ = 0;
  data_->ResetAll();
}

DPLParser::~DPLParser() = default;

// Lines are read and run one at a time, so a large job is never held twice.
bool DPLParser::ParseData(const char* bytes, int32_t length, CommandList& out) {
  const size_t count = (bytes != nullptr && length > 0) ? static_cast<size_t>(length) : 0;
  tpl::StatementReader reader(std::string_view(bytes, count));
  StartPass();
  std::wstring line;
  while (reader.Next(line)) {
    SetCommandSpan(reader.offset(), reader.length());
    RunLine(line);
  }
  // A job often ends with "E" and no line break; that label still prints.
  if (reader.Tail(line)) {
    SetCommandSpan(reader.offset(), reader.length());
    RunLine(line);
  }
  HandOverCommands(out);
  return true;
}

bool DPLParser::parseCommandList(const std::vector<std::wstring>& lines) {
  StartPass();
  for (const std::wstring& line : lines) RunLine(line);
  return true;
}

void DPLParser::StartPass() {
  commandList_.clear();
  labelLengthDots_.clear();
}

// The first step that takes a line ends its processing.
void DPLParser::RunLine(const std::wstring& line) {
  if (IsCommandUnsupported(line)) return;
  if (!line.empty() && line.front() == kStx && HandleSTXCommand(line)) return;
  if (HandleLabelFormatCommand(line)) return;
  HandleObjectCreation(line);
}

bool DPLParser::IsCommandUnsupported(const std::wstring& line) {
  if (line.empty()) return false;
  if (line.front() == kSoh) return true;
  if (line.front() == kStx) {
    if (line.size() < 2 || kUnsupportedAfterStx.find(line[1]) == std::wstring_view::npos) {
      return false;
    }
    Log(std::wstring(L"Unsupported Command <STX>") + line[1]);
    return true;
  }
  if (kUnsupportedLineStart.find(line.front()) == std::wstring_view::npos) return false;
  Log(std::wstring(L"Unsupported Command ") + line.front());
  return true;
}

void DPLParser::ReportError(const std::wstring& message) {
  NoteScriptError(message);
  record::RecordWriter error(SCRIPT_ERROR);
  error.Set(record::ScriptErrorParam::kMessage, message);
  Add(error);
}

std::wstring DPLParser::Dots(std::wstring value) const {
  ConvertUnitsToDots(value);
  ConvertDPLUnits(value);
  return value;
}

void DPLParser::ConvertDPLUnits(std::wstring& value) const {
  const double divisor = GetParserUnits() == UNITS_MILLIMETRES ? 10.0 : 100.0;
  value = platform::IntToWide(Truncated(platform::LeadingNumber(value) / divisor));
}

std::wstring DPLParser::GetFillPattern(std::wstring_view code) {
  switch (dpl::FieldValue(code)) {
    case 0:
      return L"NONE";
    case 1:
      return L"SOLID";
    default:
      Log(L"Unsupported Fill pattern, Value set to Solid");
      return L"SOLID";
  }
}
