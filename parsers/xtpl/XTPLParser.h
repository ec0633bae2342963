#pragma once
// Parses an XTPL job: the TPL vocabulary written as XML-like elements inside
// a "TPL-DOCUMENT" element, all data in attribute values. The job is cut into
// tags; each tag is recognised by the words it contains, outside its quoted
// values, and fills the shared TPLData or appends records the way TPL's
// statements do. Structural errors and missing attributes become SCRIPT_ERROR
// records where they arise; a job whose tags do not close also writes its
// message to "XTPL_ERROR_LOG.TXT" and yields that SCRIPT_ERROR alone.
//
// Made by the parser factory for one job. The TPLData is owned by the factory
// and must outlive the parser; the constructor resets its object fields.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "parsers/LanguageParserBase.h"
#include "parsers/tpl/TPLData.h"
#include "parsers/xtpl/XTPLTag.h"

class XTPLParser : public CLanguageParserBase {
 public:
  // Bits of the state word.
  enum StateFlag : uint32_t {
    kDocumentOpen = 0x01,
    kLabelsOpen = 0x02,
    kLabelOpen = 0x04,
    kTextOpen = 0x08,
    kTextSizingOpen = 0x10,
    kDataSourceOpen = 0x20,
    kBarcodeOpen = 0x40,
    kDefaultsOpen = 0x80,
  };

  explicit XTPLParser(TPLData* data);
  ~XTPLParser() override;

  // Reads the job tag by tag and appends its records to `out`. Always true.
  bool ParseData(const char* bytes, int32_t length, CommandList& out) override;
  // The same for a job already in wide text; `length` characters of it are read.
  bool ParseData(const std::wstring& job, int32_t length, CommandList& out);

  // The element pass over tags already cut from a job. Always true; the
  // records stay with the parser until the next ParseData hands them over.
  bool parseCommandList(const std::vector<std::wstring>& tags);

  // The data source of the text or barcode being built (DATA_SOURCE_*): set
  // only by a data-source element, so it carries on to later elements.
  int32_t dataSource() const { return dataSource_; }

  // The date/time picture for a code "0" to "19", as TPL's.
  static std::wstring GetDateTimeFormat(const std::wstring& code);
  // XTPL's arrow names to the session's; "ARROW_LEFT" for any other.
  static std::wstring MapArrowTypetoAPI(const std::wstring& type);
  // XTPL's barcode names to the session's, upper-cased; others pass unchanged.
  static std::wstring MapBarcodeType(const std::wstring& type);

 private:
  using Action = void (XTPLParser::*)(xtpl::Tag& tag);
  // One row of a recognition table: the first row whose word the tag
  // contains and whose flags hold wins.
  struct Row {
    const wchar_t* word;  // "" for any tag; null for one of the hot shapes
    uint32_t whenSet;     // every one of these flags is set
    uint32_t whenClear;   // none of these flags is set
    Action action;
  };
  static const Row kDocumentRows[];
  static const Row kObjectRows[];
  static const Row kBarcodeBodyRows[];

  template <typename CharT>
  void Parse(std::basic_string_view<CharT> job);
  void RunTag(std::wstring text);
  void RunRows(std::span<const Row> rows, xtpl::Tag& tag);
  bool Matches(const Row& row, const xtpl::Tag& tag) const;

  void ReportError(const std::wstring& message);
  // Appends a one-parameter setting record.
  void AddSetting(int32_t kind, const std::wstring& value);
  std::wstring Dots(std::wstring value) const;
  void Ignore(xtpl::Tag&) {}
  void UnknownElement(xtpl::Tag& tag);

  // Document structure, defaults and the label element.
  void CloseDocument(xtpl::Tag& tag);
  void OpenDocument(xtpl::Tag& tag);
  void OpenDefaults(xtpl::Tag& tag);
  void CloseDefaults(xtpl::Tag& tag);
  void PrinterDefaults(xtpl::Tag& tag);
  void ParseDefaultsValues(xtpl::Tag& tag);
  void DocumentDefaults(xtpl::Tag& tag);
  void OpenLabels(xtpl::Tag& tag);
  void CloseLabels(xtpl::Tag& tag);
  void CloseLabel(xtpl::Tag& tag);
  void OpenLabel(xtpl::Tag& tag);
  void ParseLabelCommand(xtpl::Tag& tag);
  void ObjectElement(xtpl::Tag& tag);

  // Pictures, shapes, arrows and lines: one tag each.
  void ParseGraphic(xtpl::Tag& tag);
  bool IsHotShape(const xtpl::Tag& tag) const;
  void Shape(xtpl::Tag& tag);
  void ParseObjectParameters(xtpl::Tag& tag);
  void ParseArrowCommand(xtpl::Tag& tag);
  void ParseLineCommand(xtpl::Tag& tag);

  // Barcodes.
  void OpenBarcode(xtpl::Tag& tag);
  void ParseBarCode(xtpl::Tag& tag);
  void CloseBarcode(xtpl::Tag& tag);
  void BarcodeBody(xtpl::Tag& tag);
  void FreeElement(xtpl::Tag& tag);

  // Texts, their sizing and the data sources of texts and barcodes.
  void OpenText(xtpl::Tag& tag);
  void ParseTextparameters(xtpl::Tag& tag);
  void CloseText(xtpl::Tag& tag);
  void OpenSizing(xtpl::Tag& tag);
  void CloseSizing(xtpl::Tag& tag);
  void ParseTextSizing(xtpl::Tag& tag);
  void OpenDataSource(xtpl::Tag& tag);
  void CloseDataSource(xtpl::Tag& tag);
  void ParseDataSource(xtpl::Tag& tag);
  void StaticText(xtpl::Tag& tag);
  void PromptText(xtpl::Tag& tag);
  void DateTime(xtpl::Tag& tag);
  void Sequence(xtpl::Tag& tag);

  // Reads `name` into `field`; a missing value reports `missing` (when
  // given) and keeps the field. True when the value was there.
  bool Read(xtpl::Tag& tag, std::wstring_view name, std::wstring& field,
            const wchar_t* missing = nullptr);
  bool ReadAsWritten(xtpl::Tag& tag, std::wstring_view name, std::wstring& field,
                     const wchar_t* missing = nullptr);
  bool Store(std::optional<std::wstring> value, std::wstring& field, const wchar_t* missing);
  // A TRUE/FALSE attribute: "T" for TRUE, "F" for anything else; absent keeps the field.
  void ReadFlag(xtpl::Tag& tag, std::wstring_view name, std::wstring& field);
  // True when the attribute is present and TRUE.
  bool IsTrue(xtpl::Tag& tag, std::wstring_view name);

  TPLData* data_;  // not owned
  int32_t dataSource_ = DATA_SOURCE_STATIC;
};
