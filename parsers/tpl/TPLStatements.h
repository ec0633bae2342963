#pragma once
// Cuts a TPL job into statements and splits statement values into their
// parts. Used by TPLParser.

#include <string>
#include <string_view>
#include <vector>

namespace tpl {

// Reads a job's statements one at a time, without copying the whole job.
// A line ends at CR LF, at a lone CR or at a lone LF, so jobs written with any
// of the three conventions, or a mix of them, give the same statements. Each
// statement is trimmed of white space at both ends and widened byte by byte.
// Text after the last line break is not a statement: a job's tail after its
// end marker is ignored. The job's bytes must outlive the reader.
class StatementReader {
 public:
  explicit StatementReader(std::string_view job) : job_(job) {}

  // The next statement; false when no complete line is left.
  bool Next(std::wstring& statement);

  // What follows the last line break, trimmed like a statement; false when
  // that is nothing but white space. For languages whose last line needs no
  // line break; call it once Next has returned false.
  bool Tail(std::wstring& statement);

  // Where the statement last read stands in the job, as trimmed.
  size_t offset() const { return offset_; }
  size_t length() const { return length_; }

 private:
  // Makes the text between `first` and `last`, trimmed, the statement last read.
  void Trim(size_t first, size_t last);

  std::string_view job_;
  size_t next_ = 0;  // where the next line starts
  size_t offset_ = 0;
  size_t length_ = 0;
};

// Splits "x,y" at the first comma into its two trimmed halves. False, with
// both outputs untouched, when there is no comma.
bool SplitPair(std::wstring_view value, std::wstring& first, std::wstring& second);

// Splits at every comma; each item is trimmed. An empty text gives one empty item.
std::vector<std::wstring> SplitList(std::wstring_view value);

}  // namespace tpl
