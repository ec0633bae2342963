#pragma once
// One error-log file on the storage card ("\SD\Store\Logging\<name>"). Each
// parser and the session own one. Every Write appends one time-stamped line
// ("[MM/DD/YYYY, hh:mm:ss] message\r\n", UTF-8), opening and closing the file
// for that line alone. A folder or file that cannot be made costs only the
// line; callers are never told.

#include <string>

class CLogging {
 public:
  // Makes sure the card and its Logging folder exist and creates the file
  // (never truncating it).
  explicit CLogging(const std::wstring& fileName);
  // A logger without a file: writes do nothing.
  CLogging();
  virtual ~CLogging();

  CLogging(const CLogging&) = delete;
  CLogging& operator=(const CLogging&) = delete;

  void Write(std::wstring message);

  // The card path of the file ("" for a logger without a file).
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  bool hasFile_ = false;
};

// Formats one log line (prefix, message, CR LF) with the current local time.
std::wstring FormatLogLine(const std::wstring& message);

// The card folder that holds every error log.
inline constexpr wchar_t kLoggingFolder[] = L"\\SD\\Store\\Logging";
