#pragma once
// Where the full dialect keeps what a job downloads: graphics ("~DG", and the
// decoded bitmap of every "^GF") as 1-bit PNG files in the store's Graphics
// folder, which the session and the drawing engine already read pictures
// from, and stored formats ("^DF") as text in the store's Formats folder.
// Object names are checked before they become file names: only a plain name
// of letters, digits, "_" and "-" and a short extension is stored or read, so
// a script can never reach outside its folder. Used by ZPLFullParser.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "parsers/zpl/ZPLGraphicData.h"

inline constexpr wchar_t kZplGraphicsFolder[] = L"\\SD\\Store\\Graphics";
inline constexpr wchar_t kZplFormatsFolder[] = L"\\SD\\Store\\Formats";

// The file name of a ZPL object name such as "R:LOGO.GRF": the device letter
// is dropped, the name upper-cased, `defaultExtension` added when none is
// given. Nothing when the name is empty, longer than 16 characters, has an
// extension longer than 3, or holds anything but letters, digits, "_" and "-".
std::optional<std::wstring> ZplObjectFileName(std::wstring_view object,
                                              std::wstring_view defaultExtension);

// The name a decoded "^GF" bitmap is stored under, derived from its content,
// so the same graphic in every label of a job is written once.
std::wstring ZplGraphicContentName(const ZplBitmap& bitmap);

// Writes `bitmap` as a 1-bit PNG (black ink) under `fileName` in the Graphics
// folder; a file of that name is replaced whole, never left half written.
// Content names already present are not written again, unless what is
// there is empty or no PNG (left by a store that filled up). Returns 0, or
// the errno of the failure (ENOSPC for a full store).
int StoreZplGraphic(const std::wstring& fileName, const ZplBitmap& bitmap, bool contentNamed);

// The message of a file the store could not take: "<name> could not be
// stored: No space left on device".
std::wstring ZplNotStored(const std::wstring& fileName, int error);

// The size in pixels of a PNG picture in the Graphics folder, read from its
// header; nothing for a missing file or another format.
struct ZplPictureSize {
  int64_t width = 0;
  int64_t height = 0;
};
std::optional<ZplPictureSize> StoredPictureSize(const std::wstring& fileName);

// The 1-bit PNG file of a bitmap.
std::string EncodeZplBitmapPng(const ZplBitmap& bitmap);

// Stored formats: the commands' bytes under `fileName` in the Formats folder
// (0 or the errno, as StoreZplGraphic).
int StoreZplFormat(const std::wstring& fileName, const std::string& bytes);
std::optional<std::string> LoadZplFormat(const std::wstring& fileName);

// "^ID": deletes the stored graphics and formats whose names match
// `object` ("R:LOGO.GRF", "R:*.GRF", "E:LOGO?.*"; "*" any run of characters,
// "?" one): graphics in the Graphics folder, formats (".ZPL") in the Formats
// folder. The device letter is dropped; a name without an extension means
// ".GRF". Only regular files directly in those folders are removed, never a
// symbolic link or what it leads to. The number deleted, or nothing when the
// pattern is not a plain object name with wildcards.
std::optional<size_t> DeleteZplObjects(std::wstring_view object);
