#pragma once
// What the engine could not do while printing (an unknown face, a missing
// picture, barcode data it cannot encode ...), each with the object it
// concerns, collected per print for the host to show. The same message about
// the same object is kept once. A kind lets the host treat a class of remarks
// apart (a substituted face is worth saying once per run, not per label).

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

enum class DiagnosticKind {
  kGeneral,
  kFontSubstituted,
  kOutsideLabel,   // only when placement checks are asked for
  kPastTextBlock,  // the same: text that does not fit its block
};

struct Diagnostic {
  int32_t objectId = 0;  // 0: the label or the print as a whole
  std::wstring message;
  DiagnosticKind kind = DiagnosticKind::kGeneral;
  bool operator==(const Diagnostic&) const = default;
};

class Diagnostics {
 public:
  void Add(int32_t objectId, std::wstring message, DiagnosticKind kind = DiagnosticKind::kGeneral);
  void Clear() { entries_.clear(); }
  const std::vector<Diagnostic>& entries() const { return entries_; }

 private:
  std::vector<Diagnostic> entries_;
};

}  // namespace vellum
