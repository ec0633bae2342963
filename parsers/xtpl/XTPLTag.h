#pragma once
// One XTPL tag as the element pass reads it: the tag upper-cased (values of
// most attributes are read from it), the tag as written (values that keep
// their case), and a copy for recognition in which the text of every complete
// quoted value is blanked, so that an element or attribute name is never
// found inside a value ("Scan barcode" does not open a barcode).
//
// The three copies always hold the same characters at the same places except
// for case and blanking: reading an attribute deletes the same stretch from
// all three. Made by XTPLParser for each tag it reads.

#include <optional>
#include <string>
#include <string_view>

namespace xtpl {

class Tag {
 public:
  // `text` is the tag from "<" to ">"; leading white space is dropped.
  explicit Tag(std::wstring text);

  bool Empty() const { return upper_.empty(); }

  // True when `word` (upper case) stands in the tag outside every quoted value.
  bool Contains(std::wstring_view word) const;

  // The attribute reader. Finds the first occurrence of `name` outside the
  // quoted values; the value is the text between the next double quote and
  // the one after it, read from the upper-cased tag. The stretch from the
  // name to the closing quote is then deleted, so the same name is not found
  // twice. No value (the name is absent, or no complete quoted value follows
  // it) gives nothing and leaves the tag unchanged.
  std::optional<std::wstring> GetValue(std::wstring_view name);
  // The same, reading the value as written, letter case kept.
  std::optional<std::wstring> GetValueAsWritten(std::wstring_view name);

  // Deletes the first occurrence of `word` outside the quoted values.
  void RemoveString(std::wstring_view word);

  const std::wstring& upper() const { return upper_; }

 private:
  std::optional<std::wstring> Read(std::wstring_view name, const std::wstring& source);
  void Erase(size_t at, size_t count);

  std::wstring asWritten_;
  std::wstring upper_;
  std::wstring blanked_;  // upper_ with the inside of each complete "..." blanked
};

}  // namespace xtpl
