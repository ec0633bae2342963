#include "vellum/RetailText.h"

#include <zint.h>

namespace vellum {
namespace {

constexpr int kDigitModules = 7;

// zint's text of a retail symbol: the vocabulary's digits and the check digit.
constexpr size_t TextDigits(BarcodeId id) {
  return static_cast<size_t>(GetBarcodeVocabularyRow(id).digits) + 1;
}
constexpr size_t kEan13Text = TextDigits(BarcodeId::kEAN13);
constexpr size_t kEan8Text = TextDigits(BarcodeId::kEAN8);
constexpr size_t kUpcAText = TextDigits(BarcodeId::kUPCA);

// Digits text[first, first + count) in the 7-module slots from module `start`.
void AddGroup(RetailLayout& layout, const std::wstring& text, size_t first, size_t count,
              int start) {
  for (size_t i = 0; i < count; ++i) {
    const double centre = start + kDigitModules * static_cast<double>(i) + kDigitModules / 2.0;
    layout.digits.push_back({text[first + i], centre, false});
  }
}

}  // namespace

std::optional<RetailLayout> RetailLayoutFor(const SymbologyRow& row, const std::wstring& text) {
  RetailLayout layout;
  if (row.zintSymbology == BARCODE_EANX && text.size() == kEan13Text) {
    layout.guards = {{0, 3}, {45, 50}, {92, 95}};
    layout.digits.push_back({text[0], -4.5, false});
    AddGroup(layout, text, 1, 6, 3);
    AddGroup(layout, text, 7, 6, 50);
  } else if (row.zintSymbology == BARCODE_EANX && text.size() == kEan8Text) {
    layout.guards = {{0, 3}, {31, 36}, {64, 67}};
    AddGroup(layout, text, 0, 4, 3);
    AddGroup(layout, text, 4, 4, 36);
  } else if (row.zintSymbology == BARCODE_UPCA && text.size() == kUpcAText) {
    // The first and last digits' bars reach down with the guards.
    layout.guards = {{0, 10}, {45, 50}, {85, 95}};
    layout.digits.push_back({text[0], -4.5, true});
    AddGroup(layout, text, 1, 5, 10);
    AddGroup(layout, text, 6, 5, 50);
    layout.digits.push_back({text[kUpcAText - 1], 99.5, true});
  } else {
    return std::nullopt;
  }
  return layout;
}

}  // namespace vellum
