#include "vellum/Diagnostics.h"

#include <algorithm>

namespace vellum {

void Diagnostics::Add(int32_t objectId, std::wstring message, DiagnosticKind kind) {
  Diagnostic entry{objectId, std::move(message), kind};
  if (std::find(entries_.begin(), entries_.end(), entry) == entries_.end()) {
    entries_.push_back(std::move(entry));
  }
}

}  // namespace vellum
