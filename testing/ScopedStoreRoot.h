#pragma once
// Points the storage card at a fresh temporary folder for the lifetime of the
// object, then puts the previous store root back and removes the folder. The
// folder is named after the process and a counter, so tests that run in
// parallel never share a log. Header-only: any test may use it.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "platform/StorageCard.h"

class ScopedStoreRoot {
 public:
  explicit ScopedStoreRoot(const std::string& prefix = "store-test")
      : previous_(platform::StoreRoot()) {
    static std::atomic<int> counter{0};
    root_ = std::filesystem::temp_directory_path() /
            (prefix + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
    platform::SetStoreRoot(root_);
  }
  ~ScopedStoreRoot() {
    platform::SetStoreRoot(previous_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  ScopedStoreRoot(const ScopedStoreRoot&) = delete;
  ScopedStoreRoot& operator=(const ScopedStoreRoot&) = delete;

  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path root_;
};
