#include "platform/StorageCard.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/Text.h"

namespace platform {
namespace {

std::mutex& RootMutex() {
  static std::mutex mutex;
  return mutex;
}

std::atomic<uint64_t> rootGeneration{0};

std::optional<std::filesystem::path>& Root() {
  static std::optional<std::filesystem::path> root;
  return root;
}

std::filesystem::path DefaultRoot() {
  const char* env = std::getenv("LABELHOST_STORE");
  if (env != nullptr && *env != '\0') return std::filesystem::path(env);
  return std::filesystem::path("store");
}

// Splits on both separators, dropping empty parts and ".".
std::vector<std::wstring> SplitParts(std::wstring_view path) {
  std::vector<std::wstring> parts;
  std::wstring current;
  for (wchar_t c : path) {
    if (c == L'\\' || c == L'/') {
      if (!current.empty() && current != L".") parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty() && current != L".") parts.push_back(current);
  return parts;
}

// The card's file system ignores letter case ("LOGO.PNG" opens logo.png), the
// host's does not: an existing entry of `folder` whose name differs from `name`
// only in case stands in for it; `exact` when there is none.
std::filesystem::path EntryIgnoringCase(const std::filesystem::path& folder,
                                        const std::string& name, std::filesystem::path exact) {
  auto sameIgnoringAsciiCase = [](const std::string& a, const std::string& b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
  };
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (sameIgnoringAsciiCase(entry.path().filename().string(), name)) return entry.path();
  }
  return exact;
}

// True when the file system entry `path` is no link, or a link whose target,
// with every link followed, lies inside the store root. A link to nothing is
// refused too: writing through it would create its target wherever it points.
bool LeadsInside(const std::filesystem::path& path, const std::filesystem::path& root) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) return true;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  if (ec) return false;
  const std::filesystem::path realRoot = std::filesystem::weakly_canonical(root, ec);
  if (ec) return false;
  auto at = real.begin();
  for (const auto& part : realRoot) {
    if (part.empty()) continue;  // a trailing separator
    if (at == real.end() || *at != part) return false;
    ++at;
  }
  return true;
}

// The host entry for `name` in `folder`, or nothing when it leads out of the
// store. An entry that exists under its own name and is no link is the common
// case, told by one look at it; logs are opened this way for every job.
std::optional<std::filesystem::path> ResolveEntry(const std::filesystem::path& folder,
                                                  const std::string& name,
                                                  const std::filesystem::path& root) {
  std::error_code ec;
  std::filesystem::path exact = folder / name;
  const std::filesystem::file_status status = std::filesystem::symlink_status(exact, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) return exact;
  std::filesystem::path entry =
      std::filesystem::is_symlink(status) || !std::filesystem::is_directory(folder, ec)
          ? std::move(exact)
          : EntryIgnoringCase(folder, name, exact);
  if (!LeadsInside(entry, root)) return std::nullopt;
  return entry;
}

}  // namespace

void SetStoreRoot(const std::filesystem::path& root) {
  std::lock_guard<std::mutex> lock(RootMutex());
  Root() = root;
  ++rootGeneration;
}

uint64_t StoreRootGeneration() { return rootGeneration.load(); }

std::filesystem::path StoreRoot() {
  std::lock_guard<std::mutex> lock(RootMutex());
  return Root() ? *Root() : DefaultRoot();
}

std::optional<std::wstring> NormaliseCardPath(std::wstring_view cardPath) {
  // A card path is rooted: it must start with a separator.
  if (cardPath.empty() || (cardPath[0] != L'\\' && cardPath[0] != L'/')) return std::nullopt;
  std::vector<std::wstring> parts = SplitParts(cardPath);
  const std::vector<std::wstring> root = SplitParts(kCardRoot);
  if (parts.size() < root.size()) return std::nullopt;
  for (size_t i = 0; i < root.size(); ++i) {
    if (!EqualsIgnoreCase(parts[i], root[i])) return std::nullopt;
  }
  std::vector<std::wstring> rest;
  for (size_t i = root.size(); i < parts.size(); ++i) {
    const std::wstring& part = parts[i];
    if (part == L"..") {
      if (rest.empty()) return std::nullopt;  // would climb out of the card
      rest.pop_back();
    } else if (part.find(L':') != std::wstring::npos || part.find(L'\0') != std::wstring::npos) {
      return std::nullopt;  // drive letters and stream names have no place on the card
    } else {
      rest.push_back(part);
    }
  }
  std::wstring out(kCardRoot);
  for (const auto& part : rest) out += L"\\" + part;
  return out;
}

bool IsInsideCardFolder(std::wstring_view cardPath, std::wstring_view folder) {
  auto path = NormaliseCardPath(cardPath);
  auto base = NormaliseCardPath(folder);
  if (!path || !base) return false;
  std::wstring p = ToUpper(*path), b = ToUpper(*base);
  if (p == b) return true;
  return p.size() > b.size() && p.compare(0, b.size(), b) == 0 && p[b.size()] == L'\\';
}

std::optional<std::filesystem::path> CardPathToHost(std::wstring_view cardPath) {
  auto normalised = NormaliseCardPath(cardPath);
  if (!normalised) return std::nullopt;
  const std::filesystem::path root = StoreRoot();
  std::filesystem::path host = root;
  std::vector<std::wstring> parts = SplitParts(*normalised);
  for (size_t i = SplitParts(kCardRoot).size(); i < parts.size(); ++i) {
    std::optional<std::filesystem::path> entry = ResolveEntry(host, WideToUtf8(parts[i]), root);
    if (!entry) return std::nullopt;
    host = std::move(*entry);
  }
  return host;
}

bool EnsureCardFolder(std::wstring_view cardFolder) {
  auto host = CardPathToHost(cardFolder);
  if (!host) return false;
  std::error_code ec;
  if (std::filesystem::is_directory(*host, ec)) return true;
  std::filesystem::create_directories(*host, ec);
  return std::filesystem::is_directory(*host, ec);
}

}  // namespace platform
