#include "parsers/jpl/JPLParser.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

#include "intake/Languages.h"
#include "platform/Text.h"

namespace {

constexpr std::wstring_view kCommentStart = L"//";
constexpr wchar_t kCommentLine = L';';

// A line's text within the job: `piece`, which starts at `start`, without
// the white space around it (an empty line stands after the line feed that
// starts it).
CJPLParser::LineSpan SpanOf(std::string_view piece, size_t start) {
  size_t first = 0;
  size_t last = piece.size();
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (first < last && space(piece[first])) ++first;
  while (last > first && space(piece[last - 1])) --last;
  if (first == last) first = last = (!piece.empty() && piece[0] == '\n') ? 1 : 0;
  return CJPLParser::LineSpan{start + first, last - first};
}

bool IsCommentLine(const std::wstring& line) {
  return line.starts_with(kCommentStart) || (!line.empty() && line[0] == kCommentLine);
}

}  // namespace

CJPLParser::CJPLParser(JPLData* data) : CLanguageParserBase(data), data_(data) {
  state_ = 0;
  pendingObject_ = 0;
  errorLog_ = std::make_unique<CLogging>(LanguageOf(LANGUAGE_JPL).errorLog);
}

bool CJPLParser::ParseData(const char* bytes, int32_t length, CommandList& out) {
  std::string_view text;
  if (bytes != nullptr && length > 0) text = std::string_view(bytes, static_cast<size_t>(length));
  const std::vector<std::wstring> lines = CutLines(text, lineSpans_);
  parseCommandList(lines);
  std::vector<LineSpan>().swap(lineSpans_);
  HandOverCommands(out);
  return true;
}

// A line runs to the first line feed after its own first character, so the
// feed that ends one line starts the next; a job that ends in a line feed
// therefore ends in an empty line. Cut straight from the bytes (one character
// per byte) so a large job is never held twice.
std::vector<std::wstring> CJPLParser::CutLines(std::string_view bytes) {
  std::vector<LineSpan> spans;
  return CutLines(bytes, spans);
}

std::vector<std::wstring> CJPLParser::CutLines(std::string_view bytes,
                                               std::vector<LineSpan>& spans) {
  spans.clear();
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (true) {
    const size_t end = bytes.find('\n', start + 1);
    const std::string_view piece =
        bytes.substr(start, end == std::string_view::npos ? end : end - start);
    std::wstring line;
    line.reserve(piece.size());
    for (char c : piece) {
      if (c != '\r' && c != '\n')
        line.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    if (!IsCommentLine(line)) {
      lines.push_back(std::move(line));
      spans.push_back(SpanOf(piece, start));
    }
    if (end == std::string_view::npos) break;
    start = end;
  }
  lines.emplace_back(JPLData::kJZ);
  spans.push_back(LineSpan{bytes.size(), 0});
  return lines;
}

bool CJPLParser::parseCommandList(const std::vector<std::wstring>& lines) {
  // Earlier records were handed over and belong to their callers.
  commandList_.clear();
  state_ = 0;
  namedTexts_.clear();
  size_t jobLength = 0;
  for (const std::wstring& line : lines) jobLength += line.size();
  referenceBudget_ = jobLength + kReferenceAllowance;
  budgetReported_ = false;
  SetParserUnits(std::wstring(JPLData::km));

  for (size_t i = 0; i < lines.size(); ++i) {
    if (i < lineSpans_.size()) SetCommandSpan(lineSpans_[i].offset, lineSpans_[i].length);
    DispatchLine(lines[i]);
  }
  if (!lines.empty() && lines.back().find(JPLData::kJZ) != std::wstring::npos) {
    Append(LabelCommand{PRINT_LABEL, {}});
  }
  return true;
}

// The order of the table is the order in which letters are compared; a null
// handler marks a letter of the vocabulary that this printer rejects.
CJPLParser::Handler CJPLParser::FindHandler(std::wstring_view letter) {
  using D = JPLData;
  struct Entry {
    std::wstring_view letter;
    Handler handler;
  };
  static const Entry kTable[] = {
      {D::kJ, &CJPLParser::Job},
      {D::km, &CJPLParser::Units},
      {D::kT, &CJPLParser::Text},
      {D::kM, nullptr},
      {D::kz, nullptr},
      {D::kH, nullptr},
      {D::kO, &CJPLParser::Options},
      {D::kS, &CJPLParser::Size},
      {D::kI, &CJPLParser::Picture},
      {D::kA, &CJPLParser::Quantity},
      {D::kD, &CJPLParser::Offset},
      {D::kB, &CJPLParser::Barcode},
      {D::kC, nullptr},
      {D::kG, &CJPLParser::Graphics},
  };
  auto it = std::find_if(std::begin(kTable), std::end(kTable),
                         [letter](const Entry& e) { return e.letter == letter; });
  return it == std::end(kTable) ? nullptr : it->handler;
}

void CJPLParser::DispatchLine(const std::wstring& rawLine) {
  const std::wstring line = platform::Trim(rawLine);
  if (line.starts_with(kCommentStart)) return;
  if (IsState(kIgnoredBlock)) {
    if (line.find(JPLData::kBlockEnd) != std::wstring::npos) RemoveState(kIgnoredBlock);
    return;
  }
  if (line.find(JPLData::kBlockStart) != std::wstring::npos) {
    AddState(kIgnoredBlock);
    return;
  }
  Fields fields;
  SplitFields(line, fields);
  const Handler handler = fields.empty() ? nullptr : FindHandler(fields[0]);
  if (handler == nullptr) {
    LogError(L"Unsupported command: " + line);
    NoteProblem({ScriptProblem::kUnsupportedCommand, line});
    return;
  }
  (this->*handler)(fields);
}

void CJPLParser::OpenLabel() {
  commandList_.push_back(LabelCommand{START_LABEL, {}});
  AddState(kLabelOpen);
  RemoveState(kLabelHasObjects);
}

void CJPLParser::Append(LabelCommand record) {
  if (!IsState(kLabelOpen)) OpenLabel();
  commandList_.push_back(std::move(record));
}

void CJPLParser::AppendObject(LabelCommand record) {
  Append(std::move(record));
  AddState(kLabelHasObjects);
}

size_t CJPLParser::ValueStart(const Fields& fields) {
  if (fields.size() < 2 || fields[1].empty()) return 1;
  return fields[1][0] == L'[' || fields[1][0] == L':' ? 2 : 1;
}

const std::wstring& CJPLParser::FieldAt(const Fields& fields, size_t index) {
  return platform::ItemOrEmpty(fields, index);
}

std::wstring CJPLParser::Dots(std::wstring value) const {
  ConvertUnitsToDots(value);
  return value;
}

// Shapes carry their outline in hundredths of a point; the script gives dots.
std::wstring CJPLParser::PenInHundredthsOfPoint(int64_t thicknessDots) const {
  const int64_t dpi = GetParserDPI();
  return platform::IntToWide((thicknessDots * 7200 + dpi / 2) / dpi);
}
