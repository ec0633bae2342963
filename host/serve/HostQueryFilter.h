#pragma once
// Takes the host's status queries out of a raw connection's byte stream: the
// questions printing software asks a printer on its job port ("~HS", "~HI",
// "~HQES", "~HD", "! U1 getvar", "^HH", "^HZA") are answered by the port, not
// printed. The raw port feeds every read through one filter per connection;
// the bytes that are not queries come out in order and go on to intake.
//
// A query may arrive cut across reads: bytes that may still begin one are
// held until the bytes after them tell (at most kMostHeld of them), or until
// Finish. The blanks and line ends after a query are part of it, so a client
// that only asks hands intake nothing. A format that holds nothing but
// queries ("^XA^HH^XZ") is taken whole: answering never prints a label.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace host {

enum class QueryKind {
  kHostStatus,         // ~HS
  kIdentification,     // ~HI
  kErrorsAndWarnings,  // ~HQES
  kHeadDiagnostic,     // ~HD
  kGetVariable,        // ! U1 getvar "name"
  kConfigurationText,  // ^HH
  kConfigurationXml,   // ^HZA
};

struct HostQuery {
  QueryKind kind;
  std::string variable;  // of kGetVariable

  bool operator==(const HostQuery&) const = default;
};

class HostQueryFilter {
 public:
  // The most bytes held while waiting to tell whether they are a query.
  static constexpr size_t kMostHeld = 512;

  // Appends the bytes of `bytes` that are not queries to `passed` and the
  // queries, in order, to `queries`.
  void Add(std::string_view bytes, std::vector<char>& passed, std::vector<HostQuery>& queries);
  // The stream ends: what is held was not a query and is passed on.
  void Finish(std::vector<char>& passed);
  bool holding() const { return !held_.empty(); }

 private:
  std::string held_;
  bool afterQuery_ = false;  // blanks and line ends are still part of the last query
};

}  // namespace host
