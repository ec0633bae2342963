#include "parsers/zpl/ZPLParser.h"

#include <memory>
#include <utility>

#include "platform/Text.h"

namespace {

constexpr std::wstring_view kPrefixes = L"^~";

}  // namespace

CZPLParser::CZPLParser(ZPLData* data) : CLanguageParserBase(data), data_(data) {
  state_ = 0;
  pendingObject_ = PENDING_NONE;
  errorLog_ = std::make_unique<CLogging>(L"ZPL_ERROR_LOG.TXT");
}

bool CZPLParser::ParseData(const char* bytes, int32_t length, CommandList& out) {
  std::wstring text;
  if (bytes != nullptr && length > 0) {
    text = platform::BytesToWide(bytes, static_cast<size_t>(length));
  }
  parseCommandList(CutCommands(text));
  HandOverCommands(out);
  return true;
}

std::vector<std::wstring> CZPLParser::CutCommands(std::wstring_view text) {
  std::vector<std::wstring> commands;
  size_t start = text.find_first_of(kPrefixes);
  while (start != std::wstring_view::npos) {
    size_t end = text.find_first_of(kPrefixes, start + 1);
    std::wstring_view piece =
        text.substr(start, end == std::wstring_view::npos ? end : end - start);
    std::wstring command;
    command.reserve(piece.size());
    for (wchar_t c : piece) {
      if (c != L'\r' && c != L'\n') command.push_back(c);
    }
    commands.push_back(std::move(command));
    start = end;
  }
  return commands;
}

// The order is the order of recognition: the first keyword the command starts
// with wins, and anything beginning "^A" is the font command.
const std::vector<CZPLParser::DispatchEntry>& CZPLParser::DispatchTable() {
  using D = ZPLData;
  static const std::vector<DispatchEntry> table = {
      {D::kXA, &CZPLParser::StartLabel},
      {D::kXZ, &CZPLParser::EndLabel},
      {D::kFS, &CZPLParser::EndField},
      {D::kFO, &CZPLParser::FieldOrigin},
      {D::kGB, &CZPLParser::Box},
      {D::kGC, &CZPLParser::Circle},
      {D::kGE, &CZPLParser::Ellipse},
      {D::kGD, &CZPLParser::DiagonalLine},
      {D::kA, &CZPLParser::Font},
      {D::kMU, &CZPLParser::UnitsOfMeasure},
      {D::kFD, &CZPLParser::FieldData},
      {D::kB0, &CZPLParser::Barcode},
      {D::kBO, &CZPLParser::Barcode},
      {D::kB4, &CZPLParser::Barcode},
      {D::kB7, &CZPLParser::Barcode},
      {D::kB8, &CZPLParser::Barcode},
      {D::kB9, &CZPLParser::Barcode},
      {D::kBA, &CZPLParser::Barcode},
      {D::kBF, &CZPLParser::Barcode},
      {D::kBK, &CZPLParser::Barcode},
      {D::kBM, &CZPLParser::Barcode},
      {D::kBP, &CZPLParser::Barcode},
      {D::kBQ, &CZPLParser::Barcode},
      {D::kBS, &CZPLParser::Barcode},
      {D::kBX, &CZPLParser::Barcode},
      {D::kBZ, &CZPLParser::Barcode},
      {D::kB3, &CZPLParser::Barcode},
      {D::kBC, &CZPLParser::Barcode},
      {D::kBU, &CZPLParser::Barcode},
      {D::kBE, &CZPLParser::Barcode},
      {D::kB2, &CZPLParser::Barcode},
      {D::kBY, &CZPLParser::BarcodeFieldDefault},
      {D::kFW, &CZPLParser::FieldOrientationDefault},
      {D::kCF, &CZPLParser::ChangeDefaultFont},
      {D::kST, &CZPLParser::SetDateAndTime},
      {D::kPM, &CZPLParser::PrintMirror},
      {D::kFR, &CZPLParser::FieldReverse},
      {D::kPQ, &CZPLParser::PrintQuantity},
      {D::kLL, &CZPLParser::LabelLength},
      {D::kPO, &CZPLParser::PrintOrientation},
      {D::kTA, &CZPLParser::TearOffAdjust},
      {D::kWC, &CZPLParser::ConfigurationLabel},
      {D::kGF, &CZPLParser::GraphicField},
      {D::kFX, &CZPLParser::Comment},
  };
  return table;
}

bool CZPLParser::parseCommandList(const std::vector<std::wstring>& commands) {
  // Earlier records were handed over and belong to their callers.
  commandList_.clear();
  originX_.clear();
  originY_.clear();
  pendingFont_.clear();
  pendingBarcode_.clear();

  const auto& table = DispatchTable();
  for (const std::wstring& command : commands) {
    std::wstring_view view = command;
    Handler handler = nullptr;
    for (const DispatchEntry& entry : table) {
      if (view.starts_with(entry.keyword)) {
        handler = entry.handler;
        break;
      }
    }
    if (handler == nullptr) {
      ReportError(L"Unsupported command: " + command);
    } else if (!(this->*handler)(command)) {
      return false;
    }
  }
  return true;
}

void CZPLParser::SplitParameters(std::wstring_view text, std::vector<std::wstring>& params) {
  params.clear();
  size_t start = 0;
  while (true) {
    size_t comma = text.find(L',', start);
    std::wstring_view piece =
        text.substr(start, comma == std::wstring_view::npos ? comma : comma - start);
    params.push_back(platform::Trim(piece));
    if (comma == std::wstring_view::npos) break;
    start = comma + 1;
  }
}

void CZPLParser::FillDefault(std::vector<std::wstring>& params, size_t index,
                             const std::wstring& value) {
  if (params.size() < index + 1) params.resize(index + 1);
  if (params[index].empty()) params[index] = value;
}

bool CZPLParser::IsNumeric(std::wstring_view value, bool decimalPointAllowed) {
  bool pointSeen = false;
  for (size_t i = 0; i < value.size(); ++i) {
    wchar_t c = value[i];
    if (c >= L'0' && c <= L'9') continue;
    if (c == L'-' && i == 0) continue;
    if (c == L'.' && decimalPointAllowed && !pointSeen) {
      pointSeen = true;
      continue;
    }
    return false;
  }
  return true;
}

void CZPLParser::ReportError(const std::wstring& message) {
  errorLog_->Write(message);
  AddCommand(SCRIPT_ERROR, {message});
}

bool CZPLParser::StopForMissingOrigin(const std::wstring& logMessage,
                                      const std::wstring& recordMessage) {
  errorLog_->Write(logMessage);
  AddCommand(SCRIPT_ERROR, {recordMessage});
  return false;
}

bool CZPLParser::ReadParameters(std::wstring_view text, const ParameterRule& rule,
                                std::vector<std::wstring>& params) {
  SplitParameters(text, params);
  if (params.size() > rule.most) {
    ReportError(std::wstring(rule.countMessage));
    return false;
  }
  for (size_t i = 0; i < rule.defaults.size(); ++i) FillDefault(params, i, rule.defaults[i]);
  for (const NumericCheck& check : rule.numeric) {
    if (check.position < params.size() && !IsNumeric(params[check.position], check.decimal)) {
      return false;
    }
  }
  return true;
}
