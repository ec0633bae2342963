#pragma once
// The decoded pictures of one engine, each held once: objects that show the
// same picture file (one ^GF graphic on every label, one logo on a thousand
// objects) share one mask, and a mask is freed with the last object or
// queued label that shows it, since the cache keeps only a weak reference.
//
// The label being built may hold at most `labelBudget` bytes of distinct
// masks (0: no limit); a picture past that is not decoded, and its object
// says why. What a label may hold depends on that label alone, never on what
// labels still waiting to be rendered hold, so prints stay the same however
// the host schedules them.
//
// VellumEngine calls it on the session's thread only; the masks it hands out
// are read-only and may be released on any thread.

#include <sys/types.h>

#include <compare>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "vellum/PictureLoader.h"

namespace vellum {

inline constexpr int64_t kDefaultPictureBytesPerLabel = int64_t{128} << 20;

class PictureCache {
 public:
  explicit PictureCache(int64_t labelBudget = kDefaultPictureBytesPerLabel)
      : budget_(labelBudget) {}

  // The picture of `file`: the mask already held for the same file (the same
  // file system object, size and modification time), or a new one decoded
  // under LoadPicture's `pixelBudget`.
  PictureLoad Load(const std::filesystem::path& file, int64_t pixelBudget);
  // Every object of the label was dropped: its pictures count from nothing.
  void NewLabel();

  int64_t labelBytes() const { return labelBytes_; }
  int64_t budget() const { return budget_; }

 private:
  struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    auto operator<=>(const Identity&) const = default;
  };
  struct Entry {
    std::weak_ptr<const PictureMask> mask;
    uint64_t label = 0;  // the label that counted it; 0 for none
  };

  static std::optional<Identity> Identify(const std::filesystem::path& file);
  // What decoding `file` would cost, from its header; nothing when it would
  // not be decoded at all (LoadPicture then says why).
  static std::optional<int64_t> DecodedBytes(const std::filesystem::path& file,
                                             int64_t pixelBudget);
  PictureLoad OverBudget() const;
  void Sweep();

  int64_t budget_;
  int64_t labelBytes_ = 0;
  uint64_t label_ = 1;
  std::map<Identity, Entry> entries_;
  size_t sweepAt_ = 64;
};

}  // namespace vellum
