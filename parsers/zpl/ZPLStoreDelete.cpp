// "^ID": the deletion of stored objects by name and wildcard, confined to the
// store's Graphics and Formats folders.

#include <filesystem>
#include <vector>

#include "parsers/zpl/ZPLStore.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMostPatternLength = 16;
constexpr size_t kMostExtensionPatternLength = 3;

bool IsPatternCharacter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-' ||
         c == L'*' || c == L'?';
}

bool IsPattern(std::wstring_view text, size_t most) {
  if (text.empty() || text.size() > most) return false;
  for (wchar_t c : text) {
    if (!IsPatternCharacter(c)) return false;
  }
  return true;
}

// Whether `name` matches `pattern` ("*" any run, "?" one character), both
// upper case. Linear in their lengths: the last star is the only one retried.
bool Matches(std::wstring_view pattern, std::wstring_view name) {
  size_t p = 0, n = 0, star = std::wstring_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = n;
    } else if (star != std::wstring_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

// The file names in a store folder that match, regular files only.
std::vector<fs::path> MatchingFiles(const wchar_t* folder, std::wstring_view name,
                                    std::wstring_view extension) {
  std::vector<fs::path> found;
  const auto root = platform::CardPathToHost(folder);
  if (!root) return found;
  std::error_code ec;
  for (fs::directory_iterator it(*root, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->symlink_status(typeError).type() != fs::file_type::regular) continue;
    const std::wstring file =
        platform::ToUpper(platform::BytesToWide(it->path().filename().string()));
    const size_t dot = file.rfind(L'.');
    if (dot == std::wstring::npos) continue;
    if (Matches(name, std::wstring_view(file).substr(0, dot)) &&
        Matches(extension, std::wstring_view(file).substr(dot + 1))) {
      found.push_back(it->path());
    }
  }
  return found;
}

}  // namespace

std::optional<size_t> DeleteZplObjects(std::wstring_view object) {
  if (const size_t colon = object.find(L':'); colon != std::wstring_view::npos) {
    object.remove_prefix(colon + 1);
  }
  const std::wstring upper = platform::ToUpper(object);
  const size_t dot = upper.find(L'.');
  const std::wstring name = upper.substr(0, dot);
  const std::wstring extension = dot == std::wstring::npos ? L"GRF" : upper.substr(dot + 1);
  if (!IsPattern(name, kMostPatternLength) || !IsPattern(extension, kMostExtensionPatternLength)) {
    return std::nullopt;
  }
  size_t deleted = 0;
  for (const wchar_t* folder : {kZplGraphicsFolder, kZplFormatsFolder}) {
    for (const fs::path& file : MatchingFiles(folder, name, extension)) {
      std::error_code ec;
      if (fs::remove(file, ec)) ++deleted;
    }
  }
  return deleted;
}
