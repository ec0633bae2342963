// The full dialect's files in the store: PNG graphics and stored formats.
// Every path goes through the storage card's confinement (CardPathToHost).

#include "parsers/zpl/ZPLStore.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/StorageCard.h"
#include "platform/StoreFile.h"
#include "platform/Text.h"

namespace {

constexpr size_t kMostNameLength = 16;
constexpr size_t kMostExtensionLength = 3;
constexpr size_t kMostFormatBytes = 16 * 1024 * 1024;

bool IsNameCharacter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-';
}

bool IsPlainName(std::wstring_view text, size_t most) {
  if (text.empty() || text.size() > most) return false;
  for (wchar_t c : text) {
    if (!IsNameCharacter(c)) return false;
  }
  return true;
}

// Why HostPath found no path: the folder could not be made (a full card
// among other reasons), or the name leads out of the store.
int FolderError() { return errno != 0 ? errno : EACCES; }

std::optional<std::filesystem::path> HostPath(const wchar_t* folder, const std::wstring& name) {
  errno = 0;
  if (!platform::EnsureCardFolder(folder)) return std::nullopt;
  return platform::CardPathToHost(std::wstring(folder) + L"\\" + name);
}

void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.append(type, 4);
  out += data;
  const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
  PutBigEndian(out, static_cast<uint32_t>(crc32(0, bytes, static_cast<uInt>(out.size() - start))));
}

// The size a stored PNG's header gives, or nothing when the file is no
// regular file or does not start like a PNG.
std::optional<ZplPictureSize> ReadPictureSize(const std::filesystem::path& file) {
  constexpr size_t kHeadBytes = 24;
  const auto head = platform::ReadStoreFileHead(file, kHeadBytes);
  if (!head || head->size() < kHeadBytes || head->compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
    return std::nullopt;
  }
  auto at = [&head](size_t i) {
    auto byte = [&head](size_t k) { return int64_t{static_cast<unsigned char>((*head)[k])}; };
    return byte(i) << 24 | byte(i + 1) << 16 | byte(i + 2) << 8 | byte(i + 3);
  };
  return ZplPictureSize{at(16), at(20)};
}

}  // namespace

std::optional<std::wstring> ZplObjectFileName(std::wstring_view object,
                                              std::wstring_view defaultExtension) {
  std::wstring text = platform::ToUpper(platform::Trim(object));
  if (text.size() >= 2 && text[1] == L':') text.erase(0, 2);
  const size_t dot = text.find(L'.');
  const std::wstring name = text.substr(0, dot);
  const std::wstring extension =
      dot == std::wstring::npos ? platform::ToUpper(defaultExtension) : text.substr(dot + 1);
  if (!IsPlainName(name, kMostNameLength) || !IsPlainName(extension, kMostExtensionLength)) {
    return std::nullopt;
  }
  return name + L"." + extension;
}

// FNV-1a over the row width and the bits: 64 bits are plenty for the
// graphics of one store.
std::wstring ZplGraphicContentName(const ZplBitmap& bitmap) {
  uint64_t hash = 14695981039346656037ull;
  auto mix = [&hash](uint8_t byte) { hash = (hash ^ byte) * 1099511628211ull; };
  for (int shift = 0; shift < 32; shift += 8)
    mix(static_cast<uint8_t>(bitmap.bytesPerRow >> shift));
  for (uint8_t byte : bitmap.bits) mix(byte);
  wchar_t digits[17];
  std::swprintf(digits, 17, L"%016llX", static_cast<unsigned long long>(hash));
  return L"GF" + std::wstring(digits) + L".PNG";
}

std::string EncodeZplBitmapPng(const ZplBitmap& bitmap) {
  std::string header;
  PutBigEndian(header, static_cast<uint32_t>(bitmap.WidthDots()));
  PutBigEndian(header, static_cast<uint32_t>(bitmap.rows));
  header += std::string{1, 0, 0, 0, 0};  // 1 bit, grey, deflate, no filter, no interlace
  // PNG grey is white at 1; ZPL ink is 1.
  const size_t row = static_cast<size_t>(bitmap.bytesPerRow);
  std::string raw;
  raw.reserve(bitmap.bits.size() + static_cast<size_t>(bitmap.rows));
  for (size_t y = 0; y < static_cast<size_t>(bitmap.rows); ++y) {
    raw.push_back(0);
    for (size_t i = 0; i < row; ++i) raw.push_back(static_cast<char>(~bitmap.bits[y * row + i]));
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
            reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 6);
  packed.resize(packedSize);

  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

int StoreZplGraphic(const std::wstring& fileName, const ZplBitmap& bitmap, bool contentNamed) {
  const auto path = HostPath(kZplGraphicsFolder, fileName);
  if (!path) return FolderError();
  // A content-named graphic already stored is kept, unless it is empty or
  // unreadable (left by a disk that filled up): then it is written again.
  if (contentNamed && ReadPictureSize(*path)) return 0;
  return platform::WriteStoreFileWhole(*path, EncodeZplBitmapPng(bitmap));
}

std::wstring ZplNotStored(const std::wstring& fileName, int error) {
  return fileName + L" could not be stored: " + platform::BytesToWide(std::strerror(error));
}

std::optional<ZplPictureSize> StoredPictureSize(const std::wstring& fileName) {
  const auto path = platform::CardPathToHost(std::wstring(kZplGraphicsFolder) + L"\\" + fileName);
  if (!path) return std::nullopt;
  return ReadPictureSize(*path);
}

int StoreZplFormat(const std::wstring& fileName, const std::string& bytes) {
  const auto path = HostPath(kZplFormatsFolder, fileName);
  return path ? platform::WriteStoreFileWhole(*path, bytes) : FolderError();
}

std::optional<std::string> LoadZplFormat(const std::wstring& fileName) {
  const auto path = platform::CardPathToHost(std::wstring(kZplFormatsFolder) + L"\\" + fileName);
  if (!path) return std::nullopt;
  return platform::ReadStoreFile(*path, kMostFormatBytes);
}
