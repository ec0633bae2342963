// Decoding of ZPL graphic data. Every decoder writes into a bitmap of the
// declared size and stops at the first byte that would not fit, so the work
// and the memory are bounded by the declared size, which is checked first.

#include "parsers/zpl/ZPLGraphicData.h"

#include <zlib.h>

#include <algorithm>

namespace {

using Bytes = std::vector<uint8_t>;

// Data past the declared byte count is left out, as a printer leaves it: the
// bitmap keeps its declared size and the caller is told.
const wchar_t kExtraData[] = L"data past the declared byte count ignored";
const wchar_t kShortData[] = L"the data holds less than the declared byte count";

ZplGraphicDecode Fail(std::wstring error) { return {std::nullopt, std::move(error), {}}; }

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// ASCII hex with the run-length compression: "G".."Y" repeat the next digit
// 1 to 19 times, "g".."z" 20 to 400 times (counts add up), "," ends the row
// with zeros, "!" with ones, ":" repeats the previous row.
class HexRows {
 public:
  HexRows(Bytes& out, int64_t bytesPerRow) : out_(out), rowNibbles_(bytesPerRow * 2) {}

  std::wstring Read(std::wstring_view data) {
    int64_t count = 0;
    for (wchar_t c : data) {
      if (IsBlank(c)) continue;
      if (c >= L'G' && c <= L'Y') {
        count = std::min<int64_t>(count + (c - L'G' + 1), kMaxCount);
        continue;
      }
      if (c >= L'g' && c <= L'z') {
        count = std::min<int64_t>(count + (c - L'g' + 1) * 20, kMaxCount);
        continue;
      }
      const int value = HexValue(c);
      bool fits = true;
      if (value >= 0) {
        fits = Put(value, count == 0 ? 1 : count);
      } else if (c == L',' || c == L'!') {
        fits = EndRow(c == L'!' ? 0xF : 0);
      } else if (c == L':') {
        fits = RepeatRow();
      } else {
        return L"bad compression: '" + std::wstring(1, c) + L"' in the data";
      }
      if (!fits) return kExtraData;
      count = 0;
    }
    if (nibble_ != Capacity()) return kShortData;
    return {};
  }

 private:
  static constexpr int64_t kMaxCount = int64_t{1} << 40;

  int64_t Capacity() const { return static_cast<int64_t>(out_.size()) * 2; }

  void SetNibble(int64_t at, int value) {
    uint8_t& byte = out_[static_cast<size_t>(at / 2)];
    byte = at % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | (value << 4))
                       : static_cast<uint8_t>((byte & 0xF0) | value);
  }
  int Nibble(int64_t at) const {
    const uint8_t byte = out_[static_cast<size_t>(at / 2)];
    return at % 2 == 0 ? byte >> 4 : byte & 0x0F;
  }

  // What fits is written; false when some did not.
  bool Put(int value, int64_t count) {
    const int64_t room = std::min(count, Capacity() - nibble_);
    for (int64_t i = 0; i < room; ++i) SetNibble(nibble_++, value);
    return room == count;
  }
  // The rest of the row; a row already complete takes a whole new row.
  int64_t RowRest() const {
    const int64_t column = nibble_ % rowNibbles_;
    return column == 0 ? rowNibbles_ : rowNibbles_ - column;
  }
  bool EndRow(int value) { return Put(value, RowRest()); }
  bool RepeatRow() {
    const int64_t rest = RowRest();
    const int64_t room = std::min(rest, Capacity() - nibble_);
    for (int64_t i = 0; i < room; ++i, ++nibble_) {
      SetNibble(nibble_, nibble_ >= rowNibbles_ ? Nibble(nibble_ - rowNibbles_) : 0);
    }
    return room == rest;
  }

  Bytes& out_;
  int64_t rowNibbles_;
  int64_t nibble_ = 0;
};

int Base64Value(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return c - L'A';
  if (c >= L'a' && c <= L'z') return c - L'a' + 26;
  if (c >= L'0' && c <= L'9') return c - L'0' + 52;
  if (c == L'+') return 62;
  if (c == L'/') return 63;
  return -1;
}

// Standard base64; blanks are skipped, "=" ends the data.
bool DecodeBase64(std::wstring_view text, Bytes& out) {
  uint32_t buffer = 0;
  int bits = 0;
  for (wchar_t c : text) {
    if (IsBlank(c)) continue;
    if (c == L'=') break;
    const int value = Base64Value(c);
    if (value < 0) return false;
    buffer = (buffer << 6) | static_cast<uint32_t>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<uint8_t>(buffer >> bits));
    }
  }
  return true;
}

// Inflates a zlib stream into `out`, which has the declared size; an error
// when the stream is corrupt or unpacks to more or fewer bytes.
std::wstring Inflate(const Bytes& in, Bytes& out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return L"bad compression";
  uint8_t spare = 0;  // one byte past the end tells "more than declared"
  stream.next_in = const_cast<uint8_t*>(in.data());
  stream.avail_in = static_cast<uInt>(in.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  int status = inflate(&stream, Z_FINISH);
  if (status == Z_BUF_ERROR && stream.avail_out == 0) {
    stream.next_out = &spare;
    stream.avail_out = 1;
    status = inflate(&stream, Z_FINISH);
  }
  const uLong produced = stream.total_out;
  inflateEnd(&stream);
  if (produced > out.size()) return kExtraData;
  if (status != Z_STREAM_END) return L"bad compression";
  if (produced < out.size()) return kShortData;
  return {};
}

// Uncompressed bytes into the bitmap of the declared size.
std::wstring Copy(const Bytes& bytes, Bytes& out) {
  if (bytes.size() < out.size()) return kShortData;
  std::copy_n(bytes.begin(), out.size(), out.begin());
  return bytes.size() > out.size() ? kExtraData : L"";
}

Bytes Narrow(std::wstring_view data) {
  Bytes bytes;
  bytes.reserve(data.size());
  for (wchar_t c : data) bytes.push_back(static_cast<uint8_t>(c));
  return bytes;
}

std::string Ascii(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out.push_back(static_cast<char>(c));
  return out;
}

// ":B64:text:crc" or ":Z64:text:crc".
std::wstring DecodeEncoded(std::wstring_view data, Bytes& out) {
  const bool deflated = data[1] == L'Z';
  std::wstring_view text = data.substr(5);
  const size_t colon = text.find(L':');
  if (colon != std::wstring_view::npos) {
    std::wstring_view crc = text.substr(colon + 1);
    while (!crc.empty() && IsBlank(crc.back())) crc.remove_suffix(1);
    text = text.substr(0, colon);
    int64_t expected = crc.size() == 4 ? 0 : -1;
    for (size_t i = 0; i < crc.size() && expected >= 0; ++i) {
      expected = HexValue(crc[i]) < 0 ? -1 : expected * 16 + HexValue(crc[i]);
    }
    if (expected < 0) return L"the CRC is not four hex digits";
    if (expected != ZplCrc16(Ascii(text))) return L"CRC mismatch";
  }
  Bytes decoded;
  decoded.reserve(text.size() * 3 / 4 + 3);
  if (!DecodeBase64(text, decoded)) return L"bad base64 data";
  if (deflated) return Inflate(decoded, out);
  return Copy(decoded, out);
}

}  // namespace

uint16_t ZplCrc16(std::string_view text) {
  uint16_t crc = 0;
  for (char c : text) {
    crc ^= static_cast<uint16_t>(static_cast<uint8_t>(c) << 8);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 0x8000) != 0 ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                                : static_cast<uint16_t>(crc << 1);
    }
  }
  return crc;
}

ZplGraphicDecode DecodeZplGraphic(ZplGraphicFormat format, int64_t sentBytes, int64_t totalBytes,
                                  int64_t bytesPerRow, std::wstring_view data) {
  if (totalBytes <= 0 || bytesPerRow <= 0) return Fail(L"no byte count or row width");
  if (totalBytes > kMaxZplGraphicBytes || bytesPerRow > kMaxZplGraphicRowBytes) {
    return Fail(L"declared size too large");
  }
  if (totalBytes % bytesPerRow != 0) return Fail(L"the byte count is not a whole number of rows");
  ZplBitmap bitmap;
  bitmap.bytesPerRow = static_cast<int32_t>(bytesPerRow);
  bitmap.rows = static_cast<int32_t>(totalBytes / bytesPerRow);
  bitmap.bits.assign(static_cast<size_t>(totalBytes), 0);

  std::wstring error;
  if (data.starts_with(L":Z64:") || data.starts_with(L":B64:")) {
    error = DecodeEncoded(data, bitmap.bits);
  } else if (format == ZplGraphicFormat::kAsciiHex) {
    error = HexRows(bitmap.bits, bytesPerRow).Read(data);
  } else if (sentBytes != static_cast<int64_t>(data.size())) {
    error = L"the data does not hold the declared byte count";
  } else if (format == ZplGraphicFormat::kCompressedBinary) {
    error = Inflate(Narrow(data), bitmap.bits);
  } else {
    error = Copy(Narrow(data), bitmap.bits);
  }
  if (error == kExtraData) return {std::move(bitmap), {}, error};
  if (!error.empty()) return Fail(error);
  return {std::move(bitmap), {}, {}};
}
