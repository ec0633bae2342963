// The field data of the 2-D symbols as full ZPL reads it: the switches in
// front of QR data, Data Matrix escape sequences, MaxiCode's high-priority
// message; and the one entry point that picks the reader of each kind.

#include <algorithm>
#include <iterator>

#include "parsers/zpl/full/ZPLFullBarcode.h"
#include "platform/Text.h"

namespace {

constexpr wchar_t kFnc1 = 0x1D;
constexpr size_t kMaxiPrimary = 15;  // class of service 3, country 3, postal code 9

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int32_t QrLevel(wchar_t c) {
  switch (platform::ToUpperChar(c)) {
    case L'L':
      return 1;
    case L'M':
      return 2;
    case L'Q':
      return 3;
    case L'H':
      return 4;
    default:
      return -1;
  }
}

// "QA,text": level, input mode (A automatic, M manual) and a comma; a manual
// field names its character mode ("N", "A", "K", or "B" and four digits of
// byte count) before the text.
ZPLBarcodeData Qr(std::wstring_view data) {
  ZPLBarcodeData out;
  const int32_t level = data.size() >= 3 ? QrLevel(data[0]) : -1;
  const wchar_t input = data.size() >= 3 ? platform::ToUpperChar(data[1]) : 0;
  if (level < 0 || (input != L'A' && input != L'M') || data[2] != L',') {
    out.data = data;
    return out;
  }
  out.errorLevel = level;
  std::wstring_view text = data.substr(3);
  if (input == L'M' && !text.empty()) {
    const wchar_t kind = platform::ToUpperChar(text[0]);
    const bool counted = kind == L'B' && text.size() >= 5 &&
                         std::all_of(text.begin() + 1, text.begin() + 5, IsDigit);
    if (counted) {
      text.remove_prefix(5);
    } else if (kind == L'N' || kind == L'A' || kind == L'K' || kind == L'B') {
      text.remove_prefix(1);
    }
  }
  out.data = text;
  return out;
}

// Escape sequences of quality 200 after `escape`: "1" FNC1, "dNNN" a byte,
// "@" to "_" a control character, the escape twice the escape itself; "2"
// (structured append) and "5NNN" (code page) steer the reader and are dropped.
ZPLBarcodeData DataMatrix(std::wstring_view data, wchar_t escape) {
  std::wstring text;
  size_t i = 0;
  auto number = [&data, &i](size_t digits) {
    int value = 0;
    for (size_t n = 0; n < digits && i < data.size() && IsDigit(data[i]); ++n, ++i) {
      value = value * 10 + (data[i] - L'0');
    }
    return value;
  };
  while (i < data.size()) {
    const wchar_t c = data[i++];
    if (c != escape || i >= data.size()) {
      text.push_back(c);
      continue;
    }
    const wchar_t code = data[i++];
    if (code == L'1') {
      text.push_back(kFnc1);
    } else if (code == L'd' || code == L'D') {
      text.push_back(static_cast<wchar_t>(std::min(number(3), 255)));
    } else if (code == L'5') {
      number(3);
    } else if (code == escape) {
      text.push_back(escape);
    } else if (code >= L'@' && code <= L'_') {
      text.push_back(static_cast<wchar_t>(code - L'@'));
    } else if (code != L'2') {
      text.push_back(c);
      text.push_back(code);
    }
  }
  ZPLBarcodeData out;
  if (text.starts_with(kFnc1)) {
    out.data = BracketElementStrings(text, kFnc1);
    out.mode = L"GS1";
  } else {
    out.data = std::move(text);
  }
  return out;
}

// Modes 2 and 3 lead with class of service, country and postal code; zint
// wants them as postal code, country, class of service.
ZPLBarcodeData MaxiCode(std::wstring_view data, int32_t mode) {
  ZPLBarcodeData out;
  if ((mode != 2 && mode != 3) || data.size() < kMaxiPrimary) {
    out.data = data;
    return out;
  }
  std::wstring postal = platform::Trim(data.substr(6, 9));
  if (mode == 3 && postal.size() > 6) postal.resize(6);
  out.primary = postal + std::wstring(data.substr(3, 3)) + std::wstring(data.substr(0, 3));
  out.data = data.substr(kMaxiPrimary);
  return out;
}

// The symbologies of digits only print the digits (a job's stray ">;" is
// not data); UPC and EAN take their number without the check digit, which
// the printer works out.
// `checked`: the symbology ends in a GS1 check digit after `digits`.
ZPLBarcodeData Digits(std::wstring_view data, int32_t digits, bool checked) {
  ZPLBarcodeData out;
  std::copy_if(data.begin(), data.end(), std::back_inserter(out.data), IsDigit);
  if (out.data.size() < data.size()) {
    out.changed = platform::IntToWide(static_cast<int64_t>(data.size() - out.data.size())) +
                  L" characters that are not digits dropped";
  }
  const size_t kept = static_cast<size_t>(digits);
  if (digits > 0 && out.data.size() > kept) {
    const std::wstring given = out.data;
    out.data.resize(kept);
    const std::wstring said = out.changed.empty() ? L"" : out.changed + L"; ";
    if (checked && given.size() == kept + 1) {
      const wchar_t printed = Gs1CheckDigit(out.data);
      if (given[kept] != printed) {
        out.changed = said + L"check digit " + given[kept] + L" replaced by " + printed;
      }
    } else {
      out.changed = said + L"cut to " + platform::IntToWide(digits) + L" digits";
    }
  }
  return out;
}

}  // namespace

ZPLBarcodeData ReadZplBarcodeData(const ZPLFullBarcode& barcode, const std::wstring& data) {
  using D = ZPLFullBarcode::Data;
  ZPLBarcodeData out;
  switch (barcode.data) {
    case D::kCode128:
      out = ReadCode128(barcode.code128Mode, data);
      break;
    case D::kDigits:
      out = Digits(data, barcode.digits,
                   barcode.type == BarcodeId::kUPCA || barcode.type == BarcodeId::kEAN13 ||
                       barcode.type == BarcodeId::kEAN8);
      break;
    case D::kCodabar:
      out.data =
          barcode.startStop.substr(0, 1) + platform::ToUpper(data) + barcode.startStop.substr(1, 1);
      break;
    case D::kQr:
      out = Qr(data);
      break;
    case D::kDataMatrix:
      out = DataMatrix(data, barcode.escape);
      break;
    case D::kMaxiCode:
      out = MaxiCode(data, barcode.errorLevel);
      break;
    case D::kPlain:
      out.data = data;
      break;
  }
  if (out.mode.empty()) out.mode = barcode.mode;
  if (out.errorLevel < 0) out.errorLevel = barcode.errorLevel;
  return out;
}
