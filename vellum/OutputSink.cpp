#include "vellum/OutputSink.h"

#include <cstdio>
#include <fstream>

#include "platform/Text.h"

namespace vellum {
namespace {

bool WriteFile(const std::filesystem::path& file, const void* data, size_t size,
               std::wstring* error) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (out) return true;
  if (error != nullptr) *error = L"cannot write " + platform::BytesToWide(file.string());
  return false;
}

}  // namespace

std::string OutputStem(const std::wstring& jobName, int32_t number) {
  std::string stem;
  for (wchar_t c : jobName) {
    const bool keep = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                      (c >= L'0' && c <= L'9') || c == L'-' || c == L'_';
    if (keep && stem.size() < 64) stem += static_cast<char>(c);
  }
  if (stem.empty()) stem = "label";
  char digits[16];
  std::snprintf(digits, sizeof digits, "-%04d", number);
  return stem + digits;
}

FileSink::FileSink(std::filesystem::path folder, Formats formats)
    : folder_(std::move(folder)), formats_(formats) {}

// The files are made from the PNG, never from the raster itself: no copy of it.
SinkNeeds FileSink::Needs() const { return SinkNeeds{false, formats_.png, formats_.json}; }

bool FileSink::Accept(const PrintedPage& page, std::wstring* error) {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  const std::filesystem::path stem = folder_ / OutputStem(page.info.jobName, page.info.number);
  bool ok = true;
  if (formats_.png) {
    ok = page.png != nullptr &&
         WriteFile(stem.string() + ".png", page.png->data(), page.png->size(), error);
  }
  if (ok && formats_.pdf) {
    std::vector<uint8_t> pdf;
    ok = page.renderPdf(pdf) && WriteFile(stem.string() + ".pdf", pdf.data(), pdf.size(), error);
  }
  if (ok && formats_.json) {
    ok = WriteFile(stem.string() + ".json", page.json.data(), page.json.size(), error);
  }
  if (!ok && error != nullptr && error->empty()) *error = L"cannot encode the printed label";
  return ok;
}

bool MemorySink::Accept(const PrintedPage& page, std::wstring* error) {
  if (options_.keepOnlyLast) entries_.clear();
  Entry entry;
  entry.info = page.info;
  entry.json = page.json;
  entry.values = page.values;
  bool ok = page.png != nullptr;
  if (ok) entry.png = *page.png;
  if (options_.makePdf) ok = page.renderPdf(entry.pdf) && ok;
  if (options_.keepBitmap) entry.bitmap = page.bitmap;
  entries_.push_back(std::move(entry));
  if (!ok && error != nullptr) *error = L"cannot encode the printed label";
  return ok;
}

}  // namespace vellum
