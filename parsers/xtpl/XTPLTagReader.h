#pragma once
// Cuts an XTPL job into tags, one at a time: a tag runs from a "<" to the
// next ">", both included. A ">" inside the first quoted value of the text
// that is left does not end a tag (one quoted value may hold a ">"). Text
// between tags is not read: XTPL carries all data in attribute values, and a
// stray ">" before the next "<" is such text. Used by XTPLParser.
//
// Every search remembers where it found its character, so no part of the job
// is scanned twice for the same character: reading a job is linear in its
// size. The job's text must outlive the reader.

#include <cstddef>
#include <string>
#include <string_view>

namespace xtpl {

enum class TagResult {
  kTag,      // a tag was read
  kEnd,      // no "<" and no ">" left: the job ends normally
  kNoClose,  // a "<" with no ">" after it
  kNoOpen,   // a ">" with no "<" after it
};

template <typename CharT>
class TagReader {
 public:
  explicit TagReader(std::basic_string_view<CharT> job) : job_(job) {}

  // The next tag, widened character by character and trimmed of white space.
  TagResult Next(std::wstring& tag);

  // Where the last tag stands in the job, "<" to ">"; after kNoClose or
  // kNoOpen, the "<" or ">" left unpaired.
  size_t offset() const { return offset_; }
  size_t length() const { return length_; }

 private:
  // The first `c` at or after a place, remembered for later searches from
  // places no earlier than the last one.
  class Finder {
   public:
    explicit Finder(CharT c) : c_(c) {}
    size_t Find(std::basic_string_view<CharT> text, size_t from);

   private:
    CharT c_;
    size_t from_ = 0;
    size_t found_ = 0;
    bool searched_ = false;
  };

  std::basic_string_view<CharT> job_;
  size_t next_ = 0;  // where the text that is left starts
  size_t offset_ = 0;
  size_t length_ = 0;
  Finder open_{CharT('<')};
  Finder close_{CharT('>')};
  Finder quote_{CharT('"')};
  Finder closingQuote_{CharT('"')};
};

extern template class TagReader<char>;
extern template class TagReader<wchar_t>;

}  // namespace xtpl
