// How the full dialect reads a barcode field's data: Code 128 invocation
// codes and modes, UPC/EAN digits, Codabar frames, the QR switches, Data
// Matrix escape sequences and MaxiCode's primary message. Every function is
// one pass over its input.

#include <algorithm>
#include <array>

#include "parsers/zpl/full/ZPLFullBarcode.h"
#include "platform/Text.h"

namespace {

constexpr wchar_t kFnc1 = 0x1D;  // stands for FNC1 until the element strings are bracketed
constexpr size_t kUccCaseDigits = 19;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Digits of an application identifier by its first two digits; 2 where the
// table has none.
size_t AiLength(std::wstring_view s) {
  if (s.size() < 2 || !IsDigit(s[0]) || !IsDigit(s[1])) return 2;
  const int lead = (s[0] - L'0') * 10 + (s[1] - L'0');
  struct Range {
    int from, to;
    size_t digits;
  };
  static constexpr std::array<Range, 10> kRanges = {{{23, 25, 3},
                                                     {31, 36, 4},
                                                     {39, 39, 4},
                                                     {40, 42, 3},
                                                     {43, 43, 4},
                                                     {70, 70, 4},
                                                     {71, 71, 3},
                                                     {72, 72, 4},
                                                     {80, 82, 4},
                                                     {0, -1, 2}}};
  for (const Range& r : kRanges) {
    if (lead >= r.from && lead <= r.to) return r.digits;
  }
  return 2;
}

// The character an invocation code stands for in the data ("><" is "^",
// ">0" is ">", ">=" is "~": the three a job cannot write plainly), FNC1 for
// ">8", and 0 for codes that only steer the encoder (start and subset codes).
struct Invocation {
  wchar_t character;
  bool subsetChange;  // a start or code change other than to subset B
};
Invocation Invoke(wchar_t code) {
  switch (code) {
    case L'<':
      return {L'^', false};
    case L'0':
      return {L'>', false};
    case L'=':
      return {L'~', false};
    case L'8':
      return {kFnc1, false};
    case L'9':  // start A
    case L';':  // start C
    case L'5':  // code C
    case L'7':  // code A (FNC4 in subset A)
      return {0, true};
    default:  // ">:" start B, ">6" code B, FNC2, FNC3, shift
      return {0, false};
  }
}

// Bracketed element strings; a string without FNC1 is plain Code 128.
ZPLBarcodeData Code128Result(std::wstring text, bool onlySubsetB) {
  ZPLBarcodeData out;
  if (text.find(kFnc1) != std::wstring::npos) {
    out.data = BracketElementStrings(text, kFnc1);
    out.mode = L"GS1";
    return out;
  }
  out.data = std::move(text);
  if (onlySubsetB) out.mode = L"SUBSET B";
  return out;
}

// Mode U: 19 digits (cut, or zeros added on the right) and their check digit.
ZPLBarcodeData UccCase(std::wstring_view data) {
  std::wstring digits;
  for (wchar_t c : data) {
    if (IsDigit(c) && digits.size() < kUccCaseDigits) digits.push_back(c);
  }
  digits.resize(kUccCaseDigits, L'0');
  digits.push_back(Gs1CheckDigit(digits));
  return Code128Result(std::wstring(1, kFnc1) + digits, false);
}

// Mode D: parentheses and underscores are for the eye only; "(AI)" marks the
// identifiers, otherwise ">8" separates the element strings.
ZPLBarcodeData UccEan(std::wstring_view data) {
  if (data.find(L'(') != std::wstring_view::npos) {
    std::wstring text;
    for (wchar_t c : data) {
      if (c == L'(')
        text.push_back(L'[');
      else if (c == L')')
        text.push_back(L']');
      else if (c != L'_')
        text.push_back(c);
    }
    ZPLBarcodeData out;
    out.data = std::move(text);
    out.mode = L"GS1";
    return out;
  }
  std::wstring stripped;
  if (!data.starts_with(L">;>8") && !data.starts_with(L">8")) stripped.push_back(kFnc1);
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] == L'>' && i + 1 < data.size()) {
      const Invocation invocation = Invoke(data[++i]);
      if (invocation.character != 0) stripped.push_back(invocation.character);
    } else if (data[i] != L'_') {
      stripped.push_back(data[i]);
    }
  }
  return Code128Result(std::move(stripped), false);
}

}  // namespace

wchar_t Gs1CheckDigit(std::wstring_view digits) {
  int sum = 0, weight = 3;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (!IsDigit(*it)) continue;
    sum += (*it - L'0') * weight;
    weight = 4 - weight;
  }
  return static_cast<wchar_t>(L'0' + (10 - sum % 10) % 10);
}

std::wstring BracketElementStrings(std::wstring_view text, wchar_t fnc1) {
  std::wstring out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(fnc1, start);
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring_view piece = text.substr(start, end - start);
    if (!piece.empty()) {
      const size_t ai = std::min(AiLength(piece), piece.size());
      out += L"[" + std::wstring(piece.substr(0, ai)) + L"]" + std::wstring(piece.substr(ai));
    }
    start = end + 1;
  }
  return out;
}

ZPLBarcodeData ReadCode128(wchar_t mode, std::wstring_view data) {
  if (mode == L'U') return UccCase(data);
  if (mode == L'D') return UccEan(data);
  std::wstring text;
  bool onlySubsetB = mode == L'N';
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] != L'>' || i + 1 >= data.size()) {
      onlySubsetB = onlySubsetB && data[i] >= 0x20 && data[i] < 0x7F;
      text.push_back(data[i]);
      continue;
    }
    const Invocation invocation = Invoke(data[++i]);
    if (invocation.character != 0) text.push_back(invocation.character);
    onlySubsetB = onlySubsetB && !invocation.subsetChange && invocation.character != kFnc1;
  }
  return Code128Result(std::move(text), onlySubsetB);
}
