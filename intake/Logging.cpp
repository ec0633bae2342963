#include "intake/Logging.h"

#include <cstdio>
#include <cwchar>
#include <fstream>

#include "platform/Clock.h"
#include "platform/StorageCard.h"
#include "platform/Text.h"

namespace {

// Creates the file if missing without truncating it. False when it cannot be opened.
bool TouchFile(const std::wstring& cardPath) {
  auto host = platform::CardPathToHost(cardPath);
  if (!host) return false;
  std::ofstream file(*host, std::ios::binary | std::ios::app);
  return file.good();
}

}  // namespace

CLogging::CLogging() = default;

CLogging::CLogging(const std::wstring& fileName) {
  platform::EnsureCardFolder(platform::kCardRoot);
  platform::EnsureCardFolder(kLoggingFolder);
  path_ = std::wstring(kLoggingFolder) + L"\\" + fileName;
  hasFile_ = true;
  TouchFile(path_);
}

CLogging::~CLogging() = default;

std::wstring FormatLogLine(const std::wstring& message) {
  platform::LocalTime t = platform::Now();
  wchar_t prefix[64];
  std::swprintf(prefix, sizeof(prefix) / sizeof(prefix[0]), L"[%02i/%02i/%4i, %02i:%02i:%02i] ",
                t.month, t.day, t.year, t.hour, t.minute, t.second);
  return prefix + message + L"\r\n";
}

void CLogging::Write(std::wstring message) {
  if (!hasFile_) return;
  auto host = platform::CardPathToHost(path_);
  if (!host) return;
  // The card may have been removed or formatted since the logger was made.
  std::error_code ec;
  std::filesystem::create_directories(host->parent_path(), ec);
  std::ofstream file(*host, std::ios::binary | std::ios::app);
  if (!file) return;
  std::string line = platform::WideToUtf8(FormatLogLine(message));
  file.write(line.data(), static_cast<std::streamsize>(line.size()));
}
