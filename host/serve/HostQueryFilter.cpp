#include "host/serve/HostQueryFilter.h"

#include <cctype>
#include <utility>

namespace host {
namespace {

// Whether the text at a position is a query: not, not yet known, or one.
enum class Fit { kNo, kMore, kYes };

struct Found {
  Fit fit = Fit::kNo;
  size_t end = 0;  // just past the query
  std::vector<HostQuery> queries;
};

// Command names are taken in either case, as the printer's language takes them.
constexpr struct {
  std::string_view text;
  QueryKind kind;
} kCommands[] = {
    {"~HS", QueryKind::kHostStatus},          {"~HI", QueryKind::kIdentification},
    {"~HQES", QueryKind::kErrorsAndWarnings}, {"~HD", QueryKind::kHeadDiagnostic},
    {"^HH", QueryKind::kConfigurationText},   {"^HZA", QueryKind::kConfigurationXml},
};

// A variable's name is short; a longer quoted text is not a query.
constexpr size_t kLongestName = 128;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

Found Only(Fit fit) { return Found{fit, 0, {}}; }

Fit Starts(std::string_view text, size_t pos, std::string_view word) {
  for (size_t i = 0; i < word.size(); ++i) {
    if (pos + i >= text.size()) return Fit::kMore;
    if (std::toupper(static_cast<unsigned char>(text[pos + i])) !=
        std::toupper(static_cast<unsigned char>(word[i])))
      return Fit::kNo;
  }
  return Fit::kYes;
}

size_t SkipSpaces(std::string_view text, size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  return pos;
}

Found Command(std::string_view text, size_t pos) {
  Found found;
  for (const auto& command : kCommands) {
    const Fit fit = Starts(text, pos, command.text);
    if (fit == Fit::kYes) return {Fit::kYes, pos + command.text.size(), {{command.kind, ""}}};
    if (fit == Fit::kMore) found.fit = Fit::kMore;
  }
  return found;
}

// ! U1 getvar "name"
Found GetVariable(std::string_view text, size_t pos) {
  size_t i = pos + 1;
  for (std::string_view word : {"U1", "getvar"}) {
    i = SkipSpaces(text, i);
    if (i == text.size()) return Only(Fit::kMore);
    const Fit fit = Starts(text, i, word);
    if (fit != Fit::kYes) return Only(fit);
    i += word.size();
  }
  i = SkipSpaces(text, i);
  if (i == text.size()) return Only(Fit::kMore);
  if (text[i] != '"') return Only(Fit::kNo);
  const size_t name = ++i;
  for (; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] == '\r' || text[i] == '\n' || i - name > kLongestName) return Only(Fit::kNo);
  }
  if (i == text.size()) return Only(Fit::kMore);
  return {Fit::kYes, i + 1, {{QueryKind::kGetVariable, std::string(text.substr(name, i - name))}}};
}

// ^XA, then only queries, then ^XZ.
Found QueryFormat(std::string_view text, size_t pos) {
  const Fit start = Starts(text, pos, "^XA");
  if (start != Fit::kYes) return Only(start);
  Found found;
  size_t i = pos + 3;
  for (;;) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return Only(Fit::kMore);
    Found query = Command(text, i);
    if (query.fit == Fit::kMore) return Only(Fit::kMore);
    if (query.fit == Fit::kYes) {
      found.queries.push_back(std::move(query.queries.front()));
      i = query.end;
      continue;
    }
    const Fit end = Starts(text, i, "^XZ");
    if (end != Fit::kYes || found.queries.empty())
      return Only(end == Fit::kMore ? Fit::kMore : Fit::kNo);
    found.fit = Fit::kYes;
    found.end = i + 3;
    return found;
  }
}

Found Query(std::string_view text, size_t pos) {
  if (text[pos] == '!') return GetVariable(text, pos);
  Found format = QueryFormat(text, pos);
  if (format.fit != Fit::kNo) return format;
  return Command(text, pos);
}

}  // namespace

void HostQueryFilter::Add(std::string_view bytes, std::vector<char>& passed,
                          std::vector<HostQuery>& queries) {
  std::string text = std::move(held_);
  held_.clear();
  text.append(bytes);
  size_t start = 0;  // the first byte not yet passed on
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (afterQuery_) {
      if (IsBlank(c)) {
        start = ++i;
        continue;
      }
      afterQuery_ = false;
    }
    if (c != '~' && c != '^' && c != '!') {
      ++i;
      continue;
    }
    Found found = Query(text, i);
    if (found.fit == Fit::kMore && text.size() - i > kMostHeld) found.fit = Fit::kNo;
    if (found.fit == Fit::kNo) {
      ++i;
      continue;
    }
    passed.insert(passed.end(), text.begin() + start, text.begin() + i);
    if (found.fit == Fit::kMore) {
      held_ = text.substr(i);
      return;
    }
    for (HostQuery& query : found.queries) queries.push_back(std::move(query));
    i = start = found.end;
    afterQuery_ = true;
  }
  passed.insert(passed.end(), text.begin() + start, text.end());
}

void HostQueryFilter::Finish(std::vector<char>& passed) {
  passed.insert(passed.end(), held_.begin(), held_.end());
  held_.clear();
  afterQuery_ = false;
}

}  // namespace host
