#pragma once
// Makes text that comes from jobs fit to show: job bytes reach reports through
// log lines and engine messages, and may hold terminal escape sequences,
// bytes that are not UTF-8, or a megabyte of barcode data. The report writers
// pass every string through these before printing it.

#include <cstddef>
#include <string>
#include <string_view>

namespace host {

// Longest text a report shows of one value, in characters.
inline constexpr size_t kReportTextLimit = 400;

// `utf8` cut after `limit` characters, with the length it had: "AAAA... (1048576
// characters in all)". Shorter text comes back unchanged.
std::string Shorten(std::string_view utf8, size_t limit = kReportTextLimit);

// For a terminal: control characters (C0, DEL and C1) become "\x1b"-style escapes
// and bytes that are not UTF-8 become "\xff"-style escapes; the rest is kept.
std::string EscapeForTerminal(std::string_view utf8);

// The inside of a JSON string: quotes, backslashes and control characters
// escaped, bytes that are not UTF-8 replaced by U+FFFD.
std::string EscapeForJson(std::string_view utf8);

}  // namespace host
