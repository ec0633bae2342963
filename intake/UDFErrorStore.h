#pragma once
// A small list of errors the module offers to the host. Nothing in the engine
// adds entries; the host may keep its own errors in it.

#include <cstdint>
#include <string>
#include <vector>

struct StructUDFError_info {
  int32_t code = 0;  // meaning chosen by whoever adds the entry
  std::wstring message;
};

class CUDFErrorStore {
 public:
  int32_t GetCount() const { return static_cast<int32_t>(errors_.size()); }
  // `index` should lie in 0 .. GetCount() - 1; any other index yields an
  // empty spare entry rather than undefined behaviour.
  StructUDFError_info& GetError(int32_t index) {
    if (index < 0 || index >= GetCount()) {
      spare_ = StructUDFError_info{};
      return spare_;
    }
    return errors_[static_cast<size_t>(index)];
  }
  void AddError(int32_t code, std::wstring message) {
    errors_.push_back({code, std::move(message)});
  }
  void ClearErrors() { std::vector<StructUDFError_info>().swap(errors_); }

 private:
  std::vector<StructUDFError_info> errors_;
  StructUDFError_info spare_;
};
