#pragma once
// The printer's storage card, mapped onto a folder of the host (the store
// root). Code spells card paths as the device does ("\SD\Store\Logging\X.TXT");
// they are resolved here. Nothing outside the store root is ever reached
// through a card path: "..", absolute host paths and drive letters that would
// leave it make the path unresolvable, and so does a symbolic link in the
// store whose real target lies outside the store root (or nowhere).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The card's root as the device spells it.
inline constexpr std::wstring_view kCardRoot = L"\\SD\\Store";

// Sets the host folder the card is mapped onto. The default is the
// environment variable LABELHOST_STORE, else "./store".
void SetStoreRoot(const std::filesystem::path& root);
std::filesystem::path StoreRoot();
// Changes with every SetStoreRoot: who keeps a store file open across calls
// opens it again when this is no longer what it was at the opening.
uint64_t StoreRootGeneration();

// Normalises a card path: separators become '\', "." and ".." are resolved,
// and the "\SD\Store" prefix is matched without regard to case and kept as
// spelt by kCardRoot. Returns nothing when the path does not lie inside the
// card root.
std::optional<std::wstring> NormaliseCardPath(std::wstring_view cardPath);

// True when `cardPath` resolves to `folder` itself or to something inside it
// (both are card paths).
bool IsInsideCardFolder(std::wstring_view cardPath, std::wstring_view folder);

// The host path of a card path, or nothing when it lies outside the card or a
// link on the way leads out of the store root.
std::optional<std::filesystem::path> CardPathToHost(std::wstring_view cardPath);

// Creates the folder at a card path (and its parents). False on failure.
bool EnsureCardFolder(std::wstring_view cardFolder);

}  // namespace platform
