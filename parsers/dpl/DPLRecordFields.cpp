#include "parsers/dpl/DPLRecordFields.h"

#include <algorithm>

#include "platform/Text.h"

namespace dpl {

std::wstring_view FieldReader::Take(size_t width) {
  const size_t n = std::min(width, rest_.size());
  std::wstring_view field = rest_.substr(0, n);
  rest_.remove_prefix(n);
  return field;
}

int64_t FieldValue(std::wstring_view field) { return platform::LeadingInt(field); }

bool StartsWithDigits(std::wstring_view text, size_t count) {
  if (text.size() < count) return false;
  return std::all_of(text.begin(), text.begin() + static_cast<ptrdiff_t>(count),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

ObjectHeader ReadObjectHeader(std::wstring_view line) {
  FieldReader fields(line);
  ObjectHeader header;
  header.rotation = fields.Peek();
  fields.Take(1);
  header.kind = fields.Peek();
  fields.Take(1);
  header.wide = fields.Take(1);
  header.narrow = fields.Take(1);
  header.size = fields.Take(3);
  header.row = fields.Take(4);
  header.column = fields.Take(4);
  header.rest = fields.Rest();
  return header;
}

}  // namespace dpl
