#include "vellum/PictureCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/Text.h"

namespace vellum {

std::optional<PictureCache::Identity> PictureCache::Identify(const std::filesystem::path& file) {
  // Without blocking: a FIFO under a picture's name must not hang us.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  if (!ok) return std::nullopt;
  return Identity{info.st_dev, info.st_ino, static_cast<int64_t>(info.st_size),
                  int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec};
}

std::optional<int64_t> PictureCache::DecodedBytes(const std::filesystem::path& file,
                                                  int64_t pixelBudget) {
  int width = 0, height = 0;
  if (!PictureFileSize(file, width, height) || !PictureFits(width, height, pixelBudget)) {
    return std::nullopt;
  }
  return MaskBytes(width, height);
}

PictureLoad PictureCache::OverBudget() const {
  PictureLoad refused;
  refused.overBudget = true;
  refused.failure = L"the label's pictures would take more than " +
                    platform::IntToWide(budget_ >> 20) + L" MiB of memory";
  return refused;
}

PictureLoad PictureCache::Load(const std::filesystem::path& file, int64_t pixelBudget) {
  const std::optional<Identity> identity = Identify(file);
  if (!identity) return LoadPicture(file, pixelBudget);  // it says why
  Entry& entry = entries_[*identity];
  std::shared_ptr<const PictureMask> held = entry.mask.lock();
  int64_t charged = 0;
  if (entry.label != label_) {
    const std::optional<int64_t> bytes =
        held ? std::optional<int64_t>(MaskBytes(held->width, held->height))
             : DecodedBytes(file, pixelBudget);
    if (!bytes) return LoadPicture(file, pixelBudget);
    if (budget_ > 0 && labelBytes_ + *bytes > budget_) return OverBudget();
    charged = *bytes;
    labelBytes_ += charged;
    entry.label = label_;
  }
  if (held) return PictureLoad{std::move(held), L""};
  PictureLoad load = LoadPicture(file, pixelBudget);
  if (!load.mask) {
    labelBytes_ -= charged;
    entry.label = 0;
    return load;
  }
  entry.mask = load.mask;
  if (entries_.size() >= sweepAt_) Sweep();
  return load;
}

void PictureCache::NewLabel() {
  ++label_;
  labelBytes_ = 0;
}

// Forgets the pictures nobody shows any more; amortised over the loads that
// grew the map, so a label of many small pictures stays linear.
void PictureCache::Sweep() {
  std::erase_if(entries_, [this](const auto& item) {
    return item.second.mask.expired() && item.second.label != label_;
  });
  sweepAt_ = std::max<size_t>(64, 2 * entries_.size());
}

}  // namespace vellum
