#include "host/LabelFileSink.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Text.h"
#include "vellum/PdfWriter.h"
#include "vellum/PngWriter.h"

namespace host {
namespace {

std::string Numbered(const std::string& stem, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "-%04d", number);
  return stem + digits;
}

}  // namespace

std::string SourceStem(const std::string& path) {
  std::string name = path == "-" ? "stdin" : std::filesystem::path(path).filename().string();
  for (char& c : name) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_';
    if (!keep) c = '-';
  }
  if (name.size() > 100) name.resize(100);
  return name.empty() ? "label" : name;
}

// A PDF is written as the job prints; the file is kept only when the whole
// document made it to disk.
struct LabelFileSink::JobPdf {
  std::filesystem::path file;
  std::FILE* out = nullptr;
  int writeErrno = 0;
  std::unique_ptr<vellum::PdfDocument> document;
};

LabelFileSink::LabelFileSink(std::filesystem::path folder, OutputFormats formats)
    : folder_(std::move(folder)), formats_(formats) {}

LabelFileSink::~LabelFileSink() { EndJob(); }

void LabelFileSink::SetSource(const std::string& sourceName) { stem_ = SourceStem(sourceName); }

bool LabelFileSink::Fail(std::string message, std::wstring* error) {
  if (failure_.empty()) failure_ = std::move(message);
  if (error != nullptr) *error = platform::BytesToWide(failure_);
  return false;
}

// stdio rather than streams: the reason of a failure (ENOSPC, EACCES ...)
// is what the user needs to see.
std::FILE* LabelFileSink::Create(const std::filesystem::path& file) {
  return std::fopen(file.c_str(), "wb");
}

bool LabelFileSink::Write(const std::filesystem::path& file, const void* data, size_t size) {
  FILE* out = Create(file);
  if (out == nullptr)
    return Fail("cannot create " + file.string() + ": " + std::strerror(errno), nullptr);
  const bool wrote = std::fwrite(data, 1, size, out) == size;
  const int writeErrno = errno;
  const bool closed = std::fclose(out) == 0;
  if (!wrote || !closed) {
    const int reason = !wrote ? writeErrno : errno;
    std::error_code ignored;
    std::filesystem::remove(file, ignored);  // no half-written labels
    return Fail("cannot write " + file.string() + ": " + std::strerror(reason), nullptr);
  }
  written_.push_back(file.string());
  return true;
}

bool LabelFileSink::Accept(const vellum::PrintedPage& page, std::wstring* error) {
  if (failed()) return Fail(failure_, error);
  const std::string base = (folder_ / Numbered(stem_, ++counters_[stem_])).string();
  if (formats_.png) {
    std::vector<uint8_t> png;
    if (!vellum::EncodeMonoPng(page.bitmap, page.info.dpi, png)) {
      return Fail("cannot encode " + base + ".png", error);
    }
    if (!Write(base + ".png", png.data(), png.size())) return Fail(failure_, error);
  }
  if (formats_.pdf && !AddPdfPage(page, base)) return Fail(failure_, error);
  if (formats_.json && !Write(base + ".json", page.json.data(), page.json.size())) {
    return Fail(failure_, error);
  }
  ++labels_;
  return true;
}

bool LabelFileSink::AddPdfPage(const vellum::PrintedPage& page, const std::string& base) {
  if (!pdf_) {
    auto pdf = std::make_unique<JobPdf>();
    pdf->file = base + ".pdf";
    pdf->out = Create(pdf->file);
    if (pdf->out == nullptr)
      return Fail("cannot create " + pdf->file.string() + ": " + std::strerror(errno), nullptr);
    JobPdf* open = pdf.get();
    pdf->document =
        std::make_unique<vellum::PdfDocument>([open](const unsigned char* data, size_t size) {
          if (std::fwrite(data, 1, size, open->out) == size) return true;
          open->writeErrno = errno;
          return false;
        });
    pdf_ = std::move(pdf);
  }
  if (page.addPdfPage(*pdf_->document)) return true;
  EndJob();  // says why
  return false;
}

void LabelFileSink::EndJob() {
  if (!pdf_) return;
  std::unique_ptr<JobPdf> pdf = std::move(pdf_);
  const bool finished = pdf->document->Finish();
  errno = 0;
  const bool closed = std::fclose(pdf->out) == 0;
  const int closeErrno = errno;
  if (finished && closed) {
    written_.push_back(pdf->file.string());
    return;
  }
  const int why = pdf->writeErrno != 0 ? pdf->writeErrno : closed ? 0 : closeErrno;
  std::error_code ignored;
  std::filesystem::remove(pdf->file, ignored);  // no half-written documents
  const std::string cause = why != 0 ? std::strerror(why) : "the page could not be drawn";
  Fail("cannot write " + pdf->file.string() + ": " + cause, nullptr);
}

int LabelFileSink::TakeLabelCount() {
  const int count = labels_;
  labels_ = 0;
  return count;
}

std::vector<std::string> LabelFileSink::TakeWritten() {
  std::vector<std::string> written;
  written.swap(written_);
  return written;
}

}  // namespace host
