#pragma once
// JSON descriptions of a label, written for people and tools: the label's
// settings and every object with its meaning-bearing fields, plus, for a
// printed label, the values it printed and what went wrong. Used by
// SaveToFile and by the JSON output of the sinks. UTF-8.

#include <cstdint>
#include <string>
#include <vector>

#include "vellum/Diagnostics.h"
#include "vellum/LabelModel.h"

namespace vellum {

// A minimal streaming writer: commas and escapes are its business.
class JsonBuilder {
 public:
  JsonBuilder& BeginObject();
  JsonBuilder& EndObject();
  JsonBuilder& BeginArray();
  JsonBuilder& EndArray();
  JsonBuilder& Key(const char* name);
  JsonBuilder& String(std::wstring_view text);
  JsonBuilder& String(const char* text);
  JsonBuilder& Int(int64_t value);
  JsonBuilder& Real(double value);
  JsonBuilder& Bool(bool value);
  const std::string& text() const { return out_; }

 private:
  void Separate();
  std::string out_;
  bool needComma_ = false;
};

struct PrintedLabelInfo {
  std::wstring jobName;
  int32_t number = 0;      // file number of the printed label
  int32_t labelIndex = 0;  // 0-based label of the job
  int32_t copy = 0;
  int32_t dpi = 0;
  int32_t widthDots = 0;
  int32_t heightDots = 0;
  bool cutAfter = false;
  int32_t quantity = 1;
  int32_t sequencedMark = 1;
  int32_t labelCount = 1;
  int32_t variableDataKind = 0;
};

// `values` and `printed` may be null (a saved label); `diagnostics` likewise.
std::string DescribeLabel(const LabelSnapshot& label, int unitsPerInch,
                          const std::vector<std::wstring>* values, const PrintedLabelInfo* printed,
                          const std::vector<Diagnostic>* diagnostics);

}  // namespace vellum
