#include "parsers/xtpl/XTPLParser.h"

#include <algorithm>
#include <cwctype>

#include "intake/Languages.h"
#include "parsers/tpl/TPLParser.h"
#include "parsers/xtpl/XTPLTagReader.h"
#include "platform/Text.h"
#include "record/CommandRecord.h"

namespace {

constexpr wchar_t kNoClose[] =
    L"No > (End XML Line) for corresponding < (Start XML Line). Please check your script";
constexpr wchar_t kNoOpen[] =
    L"No < (Start XML Line) for corresponding > (End XML Line). Please check your script";

constexpr uint32_t kDefaults = XTPLParser::kDefaultsOpen;
constexpr uint32_t kLabels = XTPLParser::kLabelsOpen;
constexpr uint32_t kLabel = XTPLParser::kLabelOpen;
constexpr uint32_t kText = XTPLParser::kTextOpen;
constexpr uint32_t kSizing = XTPLParser::kTextSizingOpen;
constexpr uint32_t kSource = XTPLParser::kDataSourceOpen;
constexpr uint32_t kBarcode = XTPLParser::kBarcodeOpen;

}  // namespace

using P = XTPLParser;

// The closing names come before the opening ones they contain; rows guarded
// by their own flag let the closing tags through to the rows after them.
const XTPLParser::Row XTPLParser::kDocumentRows[] = {
    {L"!--", 0, 0, &P::Ignore},
    {L"/TPL-DOCUMENT", 0, 0, &P::CloseDocument},
    {L"TPL-DOCUMENT", 0, 0, &P::OpenDocument},
    {L"<DEFAULTS", 0, 0, &P::OpenDefaults},
    {L"</DEFAULTS", 0, 0, &P::CloseDefaults},
    {L"<PRINTER", kDefaults, 0, &P::PrinterDefaults},
    {L"<DOCUMENT", kDefaults, 0, &P::DocumentDefaults},
    {L"LABELS", 0, kLabels, &P::OpenLabels},
    {L"/LABELS", 0, 0, &P::CloseLabels},
    {L"/LABEL", 0, 0, &P::CloseLabel},
    {L"LABEL", 0, kLabel, &P::OpenLabel},
    {L"", 0, kLabel, &P::Ignore},  // objects exist only inside a label
    {L"", 0, 0, &P::ObjectElement},
};

const XTPLParser::Row XTPLParser::kObjectRows[] = {
    {L"/GRAPHIC", 0, 0, &P::Ignore},
    {L"GRAPHIC", 0, 0, &P::ParseGraphic},
    {L"BARCODE", 0, kBarcode, &P::OpenBarcode},
    {L"/BARCODE", 0, 0, &P::CloseBarcode},
    {L"", kBarcode, 0, &P::BarcodeBody},
    // From here on, the rows a barcode's body also runs (kFreeRows).
    {nullptr, 0, 0, &P::Shape},
    {L"<ARROW", 0, 0, &P::ParseArrowCommand},
    {L"<LINE", 0, 0, &P::ParseLineCommand},
    {L"TEXT", 0, kText, &P::OpenText},
    {L"", 0, kText, &P::UnknownElement},
    {L"TEXT-SIZING", 0, kSizing, &P::OpenSizing},
    {L"/TEXT-SIZING", 0, 0, &P::CloseSizing},
    {L"", kSizing, 0, &P::ParseTextSizing},
    {L"DATASOURCE", 0, kSource, &P::OpenDataSource},
    {L"DATASOURCE", 0, 0, &P::CloseDataSource},
    {L"/TEXT", 0, 0, &P::CloseText},
    {L"", kSource, 0, &P::ParseDataSource},
    {L"", 0, 0, &P::UnknownElement},
};

// Inside a barcode a data-source part gives the barcode's data; any other
// element (a shape, a line, even a text) is read as it is outside.
const XTPLParser::Row XTPLParser::kBarcodeBodyRows[] = {
    {L"DATASOURCE", 0, kSource, &P::OpenDataSource},
    {L"DATASOURCE", 0, 0, &P::CloseDataSource},
    {L"", 0, kSource, &P::FreeElement},
    {L"", 0, 0, &P::ParseDataSource},
};

namespace {
constexpr size_t kFreeRows = 5;  // the first row of kObjectRows a barcode's body runs
}  // namespace

XTPLParser::XTPLParser(TPLData* data) : CLanguageParserBase(data), data_(data) {
  errorLog_ = std::make_unique<CLogging>(LanguageOf(LANGUAGE_XTPL).errorLog);
  state_ = 0;
  data_->ResetAll();
}

XTPLParser::~XTPLParser() = default;

bool XTPLParser::ParseData(const char* bytes, int32_t length, CommandList& out) {
  const size_t count = (bytes != nullptr && length > 0) ? static_cast<size_t>(length) : 0;
  Parse(std::string_view(bytes, count));
  HandOverCommands(out);
  return true;
}

bool XTPLParser::ParseData(const std::wstring& job, int32_t length, CommandList& out) {
  const size_t count = std::min(job.size(), static_cast<size_t>(std::max(length, 0)));
  Parse(std::wstring_view(job).substr(0, count));
  HandOverCommands(out);
  return true;
}

bool XTPLParser::parseCommandList(const std::vector<std::wstring>& tags) {
  commandList_.clear();
  for (const std::wstring& tag : tags) RunTag(tag);
  return true;
}

// Tags are read and run one at a time, so a large job is never held twice.
// A job whose tags do not close runs nothing: what its earlier tags did is
// undone, and the job yields its one message.
template <typename CharT>
void XTPLParser::Parse(std::basic_string_view<CharT> job) {
  commandList_.clear();
  const TPLData dataBefore = *data_;
  const uint32_t stateBefore = state_;
  const int32_t sourceBefore = dataSource_;
  const int32_t unitsBefore = units_;
  xtpl::TagReader<CharT> reader(job);
  std::wstring tag;
  for (xtpl::TagResult result; (result = reader.Next(tag)) != xtpl::TagResult::kEnd;) {
    SetCommandSpan(reader.offset(), reader.length());
    if (result == xtpl::TagResult::kTag) {
      RunTag(std::move(tag));
      continue;
    }
    *data_ = dataBefore;
    state_ = stateBefore;
    dataSource_ = sourceBefore;
    units_ = unitsBefore;
    commandList_.clear();
    ReportError(result == xtpl::TagResult::kNoClose ? kNoClose : kNoOpen);
    return;
  }
}

void XTPLParser::RunTag(std::wstring text) {
  xtpl::Tag tag(std::move(text));
  if (tag.Empty()) return;
  RunRows(kDocumentRows, tag);
}

void XTPLParser::RunRows(std::span<const Row> rows, xtpl::Tag& tag) {
  for (const Row& row : rows) {
    if (Matches(row, tag)) {
      (this->*row.action)(tag);
      return;
    }
  }
}

bool XTPLParser::Matches(const Row& row, const xtpl::Tag& tag) const {
  if ((state_ & row.whenSet) != row.whenSet || (state_ & row.whenClear) != 0) return false;
  return row.word == nullptr ? IsHotShape(tag) : tag.Contains(row.word);
}

void XTPLParser::ObjectElement(xtpl::Tag& tag) { RunRows(kObjectRows, tag); }

// An element inside a label that nothing here reads (a name the language
// does not know, or one out of its place) prints nothing; it is said, as a
// misspelt element name is a slip the printer's user wants to hear of.
// Closing tags, comments and declarations pass quietly.
void XTPLParser::UnknownElement(xtpl::Tag& tag) {
  const std::wstring& text = tag.upper();
  if (text.size() < 2 || text[0] != L'<' || !std::iswalpha(text[1])) return;
  constexpr size_t kLongestName = 40;
  const size_t end = text.find_first_of(L" \t\r\n/>", 1);
  ReportError(L"Element ignored, not known here: " +
              text.substr(1, std::min(end - 1, kLongestName)));
}

void XTPLParser::BarcodeBody(xtpl::Tag& tag) { RunRows(kBarcodeBodyRows, tag); }

void XTPLParser::FreeElement(xtpl::Tag& tag) {
  RunRows(std::span<const Row>(kObjectRows).subspan(kFreeRows), tag);
}

// Every script error is logged as well as recorded, as in the other
// languages, so the printer's log tells what went wrong with a job.
void XTPLParser::ReportError(const std::wstring& message) {
  LogError(message);
  commandList_.push_back(
      record::RecordWriter(SCRIPT_ERROR).Set(record::ScriptErrorParam::kMessage, message).Take());
}

void XTPLParser::AddSetting(int32_t kind, const std::wstring& value) {
  commandList_.push_back(record::RecordWriter(kind).Set(0, value).Take());
}

std::wstring XTPLParser::Dots(std::wstring value) const {
  ConvertUnitsToDots(value);
  return value;
}

std::wstring XTPLParser::GetDateTimeFormat(const std::wstring& code) {
  return TPLParser::GetDateTimeFormat(code);
}

bool XTPLParser::Read(xtpl::Tag& tag, std::wstring_view name, std::wstring& field,
                      const wchar_t* missing) {
  return Store(tag.GetValue(name), field, missing);
}

bool XTPLParser::ReadAsWritten(xtpl::Tag& tag, std::wstring_view name, std::wstring& field,
                               const wchar_t* missing) {
  return Store(tag.GetValueAsWritten(name), field, missing);
}

bool XTPLParser::Store(std::optional<std::wstring> value, std::wstring& field,
                       const wchar_t* missing) {
  if (value) {
    field = std::move(*value);
  } else if (missing != nullptr) {
    ReportError(missing);
  }
  return value.has_value();
}

void XTPLParser::ReadFlag(xtpl::Tag& tag, std::wstring_view name, std::wstring& field) {
  if (std::optional<std::wstring> value = tag.GetValue(name))
    field = *value == L"TRUE" ? L"T" : L"F";
}

bool XTPLParser::IsTrue(xtpl::Tag& tag, std::wstring_view name) {
  std::optional<std::wstring> value = tag.GetValue(name);
  return value && *value == L"TRUE";
}
