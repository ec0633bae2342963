#include "parsers/zpl/ZPLParser.h"

#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "intake/Languages.h"
#include "platform/Text.h"

namespace {

constexpr size_t kKeywordLength = 3;

// One wide character per byte (Latin-1), as every job's bytes become text.
wchar_t Widen(char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }
wchar_t Widen(wchar_t c) { return c; }

// Calls `each` with every command in turn, one at a time, so that a job of
// many labels is never held whole as commands; stops when `each` says false.
template <typename Char, typename Each>
void Cut(std::basic_string_view<Char> text, Each&& each) {
  constexpr Char kPrefixes[] = {Char('^'), Char('~'), Char(0)};
  constexpr auto npos = std::basic_string_view<Char>::npos;
  std::wstring command;
  size_t start = text.find_first_of(kPrefixes);
  while (start != npos) {
    size_t end = text.find_first_of(kPrefixes, start + 1);
    auto piece = text.substr(start, end == npos ? end : end - start);
    command.clear();
    command.reserve(piece.size());
    for (Char c : piece) {
      if (c != Char('\r') && c != Char('\n')) command.push_back(Widen(c));
    }
    if (!each(command)) return;
    start = end;
  }
}

}  // namespace

CZPLParser::CZPLParser(ZPLData* data, ZplDialect dialect)
    : CLanguageParserBase(data), data_(data), dialect_(dialect) {
  state_ = 0;
  pendingObject_ = PENDING_NONE;
  errorLog_ = std::make_unique<CLogging>(LanguageOf(LANGUAGE_ZPL).errorLog);
}

bool CZPLParser::ParseData(const char* bytes, int32_t length, CommandList& out) {
  std::string_view text;
  if (bytes != nullptr && length > 0) text = std::string_view(bytes, static_cast<size_t>(length));
  // Cut straight from the bytes, a command at a time: a large job is never
  // held again as wide text.
  BeginPass();
  auto run = [this](const std::wstring& command) { return RunCommand(command); };
  if (dialect_ == ZplDialect::kFull) {
    CutFullCommands(text, run);
  } else {
    Cut(text, run);
  }
  FullResetStoredFormats();
  HandOverCommands(out);
  return true;
}

std::vector<std::wstring> CZPLParser::CutCommands(std::wstring_view text) {
  std::vector<std::wstring> commands;
  Cut(text, [&commands](const std::wstring& command) {
    commands.push_back(command);
    return true;
  });
  return commands;
}

// The order is the order of recognition: the first keyword the command starts
// with wins, and anything beginning "^A" is the font command. The barcode
// commands have a table of their own (ZPLBarcodeCommands.cpp).
const std::vector<CZPLParser::DispatchEntry>& CZPLParser::DispatchTable() {
  using D = ZPLData;
  static const std::vector<DispatchEntry> shared = {
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
  static const std::vector<DispatchEntry> table = [] {
    std::vector<DispatchEntry> rows = FullDialectRows();
    rows.insert(rows.end(), shared.begin(), shared.end());
    return rows;
  }();
  return table;
}

// Looking a command up by its first three characters gives the same answer as
// walking the table in order: the only shorter keyword, "^A", begins no
// three-character keyword.
CZPLParser::Handler CZPLParser::FindHandler(std::wstring_view command, ZplDialect dialect) {
  struct Index {
    std::unordered_map<std::wstring_view, Handler> byKeyword;
    std::vector<DispatchEntry> shorter;
  };
  auto build = [](uint8_t row) {
    Index index;
    for (const DispatchEntry& entry : DispatchTable()) {
      if ((entry.dialects & row) == 0) continue;
      if (entry.keyword.size() == kKeywordLength) {
        index.byKeyword.emplace(entry.keyword, entry.handler);
      } else {
        index.shorter.push_back(entry);
      }
    }
    return index;
  };
  static const Index device = build(kDeviceRow);
  static const Index full = build(kFullRow);
  const Index& index = dialect == ZplDialect::kFull ? full : device;
  for (const DispatchEntry& entry : index.shorter) {
    if (command.starts_with(entry.keyword)) return entry.handler;
  }
  auto it = index.byKeyword.find(command.substr(0, kKeywordLength));
  return it == index.byKeyword.end() ? nullptr : it->second;
}

bool CZPLParser::FullDialectHandles(std::wstring_view command) {
  const Handler handler = FindHandler(command, ZplDialect::kFull);
  return handler != nullptr && handler != &CZPLParser::FullIgnored &&
         handler != &CZPLParser::FullNotYet;
}

bool CZPLParser::parseCommandList(const std::vector<std::wstring>& commands) {
  BeginPass();
  for (const std::wstring& command : commands) {
    if (!RunCommand(command)) return false;
  }
  FullResetStoredFormats();
  return true;
}

void CZPLParser::BeginPass() {
  // Earlier records were handed over and belong to their callers.
  commandList_.clear();
  originX_.clear();
  originY_.clear();
  pendingFont_.clear();
  pendingBarcode_.clear();

  field_ = ZPLFullField{};
  formatOpen_ = formatPrints_ = false;
  serialRecords_.clear();
  quantity_.clear();
  FullResetStoredFormats();
}

// Barcode commands all begin "^B" and none of them is "^BY", so asking their
// table first changes no command's meaning.
bool CZPLParser::RunCommand(const std::wstring& command) {
  if (dialect_ == ZplDialect::kFull) return RunFullCommand(command);
  if (const ZPLBarcodeRule* rule = FindBarcodeRule(command)) return Barcode(command, *rule);
  Handler handler = FindHandler(command, ZplDialect::kDevice);
  if (handler == nullptr) {
    ReportError(L"Unsupported command: " + command);
    NoteProblem({ScriptProblem::kUnsupportedCommand, command});
    return true;
  }
  return (this->*handler)(command);
}

// The full dialect's rows first; a barcode command is placed the full way and
// then read by its row of the barcode table.
bool CZPLParser::RunFullCommand(const std::wstring& command) {
  if (!storingFormat_.empty()) return FullStoreCommand(command);
  Handler handler = FindHandler(command, ZplDialect::kFull);
  if (handler == nullptr && FindBarcodeRule(command) != nullptr) handler = &CZPLParser::FullObject;
  if (handler == nullptr) {
    ReportError(L"Unsupported command: " + ShortCommand(command));
    return true;
  }
  return (this->*handler)(command);
}

bool CZPLParser::RunSharedCommand(const std::wstring& command) {
  if (const ZPLBarcodeRule* rule = FindBarcodeRule(command)) return Barcode(command, *rule);
  const Handler handler = FindHandler(command, ZplDialect::kDevice);
  return handler == nullptr || (this->*handler)(command);
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
