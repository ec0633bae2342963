#pragma once
// The one reader of the caret-and-tilde language. It cuts a job into
// commands: each runs from a "^" or "~" to the next one or the end, with
// every CR and LF removed; text before the first is ignored. The full
// dialect turns on two options: "^CC"/"~CC", "^CT"/"~CT" and "^CD"/"~CD"
// change the characters that begin commands and separate parameters from
// where they stand (commands are still handed on with "^" or "~" first and
// "," between parameters, so that one command table serves any of them; a
// prefix followed at once by another is no command), and binary "^GF" data
// belongs to its command whatever bytes it holds. One pass over the bytes,
// one command held at a time.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct ZPLReadOptions {
  bool prefixChanges = false;
  bool binaryGraphics = false;
};

inline constexpr ZPLReadOptions kDeviceReading{};
inline constexpr ZPLReadOptions kFullReading{true, true};

// Called with each command as soon as it is read (the text is reused for the
// next one); false stops the reading.
using ZPLCommandVisitor = std::function<bool(const std::wstring& command)>;

// Where a command stands in the text it was read from: its prefix and the
// characters up to the next command, line breaks at its end not counted.
struct ZPLCommandSpan {
  size_t offset = 0;
  size_t length = 0;
};
using ZPLPlacedCommandVisitor =
    std::function<bool(const std::wstring& command, ZPLCommandSpan span)>;

// Bytes become characters one to one (Latin-1), as every job's bytes do.
void ReadZplCommands(std::string_view bytes, ZPLReadOptions options, const ZPLCommandVisitor& each);
void ReadZplCommands(std::string_view bytes, ZPLReadOptions options,
                     const ZPLPlacedCommandVisitor& each);

// Every command of `bytes` (or of text already wide), in order.
std::vector<std::wstring> CutZplCommands(std::string_view bytes, ZPLReadOptions options);
std::vector<std::wstring> CutZplCommands(std::wstring_view text, ZPLReadOptions options);
