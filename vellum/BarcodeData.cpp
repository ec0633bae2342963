#include "vellum/BarcodeData.h"

#include <zint.h>

#include <algorithm>

#include "platform/Text.h"

namespace vellum {
namespace {

bool AllDigits(std::wstring_view s) {
  return std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

constexpr size_t kUpcADigits =
    static_cast<size_t>(GetBarcodeVocabularyRow(BarcodeId::kUPCA).digits);

bool IsCodabarFrame(wchar_t c) { return c >= L'A' && c <= L'D'; }

ZintInput Accept(std::wstring text, int mode = UNICODE_MODE) {
  ZintInput input;
  input.ok = true;
  input.bytes = platform::WideToUtf8(text);
  input.inputMode = mode;
  input.text = std::move(text);
  return input;
}

ZintInput Refuse(std::wstring reason) {
  ZintInput input;
  input.reason = std::move(reason);
  return input;
}

std::wstring Count(int n) { return platform::IntToWide(n); }

// Shorter data gets zeros in front, as the session pads it; longer data is
// refused rather than cut, so a label never prints a number it was not given.
ZintInput FixedDigits(std::wstring data, size_t length) {
  if (!AllDigits(data)) return Refuse(L"digits only");
  if (data.size() > length)
    return Refuse(L"more than " + Count(static_cast<int>(length)) + L" digits");
  data.insert(0, length - data.size(), L'0');
  return Accept(std::move(data));
}

ZintInput UpcE(const SymbologyRow& row, const std::wstring& data) {
  const BarcodeVocabularyRow& word = row.Vocabulary();
  ZintInput all = FixedDigits(data, static_cast<size_t>(word.DataDigits()));
  if (!all.ok) return all;
  const size_t digits = static_cast<size_t>(word.digits);
  const std::wstring compressed = CompressUpcE(all.text.substr(0, digits));
  if (compressed.empty()) {
    return Refuse(L"UPC-A number " + all.text.substr(0, digits) + L" has no UPC-E form");
  }
  return Accept(compressed + L"+" + all.text.substr(digits));
}

ZintInput Codabar(const std::wstring& data) {
  std::wstring upper = platform::ToUpper(data);
  const bool framed =
      upper.size() >= 2 && IsCodabarFrame(upper.front()) && IsCodabarFrame(upper.back());
  return Accept(framed ? upper : L"A" + upper + L"B");
}

ZintInput Gs1(const std::wstring& data) {
  if (data.size() < 3 || !AllDigits(data.substr(0, 2))) {
    return Refuse(L"GS1 data starts with a two-digit application identifier and its value");
  }
  ZintInput input =
      Accept(L"[" + data.substr(0, 2) + L"]" + data.substr(2), GS1_MODE | GS1NOCHECK_MODE);
  input.text = data;
  return input;
}

}  // namespace

ZintInput MapBarcodeData(const SymbologyRow& row, const std::wstring& data) {
  if (data.empty()) return Refuse(L"no data");
  switch (row.rule) {
    case DataRule::kUpperCase:
      return Accept(platform::ToUpper(data));
    case DataRule::kDigits:
      return FixedDigits(data, static_cast<size_t>(row.Vocabulary().DataDigits()));
    case DataRule::kUpcE:
      return UpcE(row, data);
    case DataRule::kCodabar:
      return Codabar(data);
    case DataRule::kGs1:
      return Gs1(data);
    case DataRule::kAsGiven:
      break;
  }
  return Accept(data);
}

// Zero suppression: the manufacturer's trailing zeros make room for the
// product number, and the last digit says how many there were.
std::wstring CompressUpcE(const std::wstring& a) {
  if (a.size() != kUpcADigits || !AllDigits(a) || (a[0] != L'0' && a[0] != L'1')) return L"";
  const std::wstring m = a.substr(1, 5), p = a.substr(6, 5);
  const std::wstring ns = a.substr(0, 1);
  if (m.substr(2, 3) == L"000" || m.substr(2, 3) == L"100" || m.substr(2, 3) == L"200") {
    if (p.substr(0, 2) == L"00") return ns + m.substr(0, 2) + p.substr(2, 3) + m[2];
  }
  if (m.substr(3, 2) == L"00" && p.substr(0, 3) == L"000") {
    return ns + m.substr(0, 3) + p.substr(3, 2) + L"3";
  }
  if (m[4] == L'0' && p.substr(0, 4) == L"0000") return ns + m.substr(0, 4) + p[4] + L"4";
  if (m[4] != L'0' && p.substr(0, 4) == L"0000" && p[4] >= L'5') return ns + m + p[4];
  return L"";
}

}  // namespace vellum
