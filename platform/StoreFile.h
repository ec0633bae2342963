#pragma once
// Reading and writing whole files of the store (host paths, already resolved
// through CardPathToHost). Anyone may drop anything into the store, so a
// reader never opens what is not a regular file (a FIFO or a device would
// block or never end), and a writer never leaves part of a file behind: it
// writes beside the target, checks, and renames. Called by the pictures of
// Vellum and by the full ZPL dialect's stored graphics and formats.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True when `file` is a regular file, told without blocking and without
// reading it: opened non-blocking and looked at through the descriptor.
bool IsRegularStoreFile(const std::filesystem::path& file);

// The whole of `file`, or nothing when it is no regular file, cannot be read,
// or holds more than `mostBytes`.
std::optional<std::string> ReadStoreFile(const std::filesystem::path& file, size_t mostBytes);

// Up to `count` bytes from the start of `file` (fewer when it is shorter), or
// nothing when it is no regular file or cannot be read.
std::optional<std::string> ReadStoreFileHead(const std::filesystem::path& file, size_t count);

// Replaces `target` with `bytes`, all or nothing: written to a temporary name
// in the same folder, its size checked, then renamed over the target. On any
// failure (a full disk) the target is as it was and no temporary is left.
// Returns 0 or the errno of the failure.
int WriteStoreFileWhole(const std::filesystem::path& target, std::string_view bytes);

// Hears of every write of the calling thread that WriteStoreFileWhole could
// not make, with its errno: the host reports them with the job that asked
// for them (a full store is no script error, yet the job lost something).
// Returns the observer it replaces; an empty function observes nothing.
using StoreWriteObserver = std::function<void(const std::filesystem::path& target, int error)>;
StoreWriteObserver SetThreadStoreWriteObserver(StoreWriteObserver observer);

}  // namespace platform
