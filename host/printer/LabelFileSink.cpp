#include "host/printer/LabelFileSink.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Text.h"
#include "vellum/PdfWriter.h"

namespace host {
namespace {

// Numbers tried for one label before giving up on a folder full of them.
constexpr int kNumberTries = 100000;

std::string Numbered(const std::string& stem, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "-%04d", number);
  return stem + digits;
}

// 0, or the errno of the first failed write or of the close.
int WriteAndClose(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  int error = 0;
  while (done < bytes.size() && error == 0) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      error = errno;
    } else if (n == 0) {
      error = EIO;
    }
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

void CloseAndRemove(std::vector<std::string>& names, std::vector<int>& files) {
  for (int fd : files) ::close(fd);
  for (const std::string& name : names) std::remove(name.c_str());
  names.clear();
  files.clear();
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

// A PDF is written as the job prints, into the file reserved with the job's
// first label; the file is kept only when the whole document made it to disk.
struct LabelFileSink::JobPdf {
  std::filesystem::path file;
  std::FILE* out = nullptr;
  int writeErrno = 0;
  std::unique_ptr<vellum::PdfDocument> document;
};

LabelFileSink::LabelFileSink(std::filesystem::path folder, OutputFormats formats,
                             OutputLimits limits)
    : folder_(std::move(folder)), formats_(formats), limits_(limits) {}

LabelFileSink::~LabelFileSink() { EndJob(); }

void LabelFileSink::SetSource(const std::string& sourceName) { stem_ = SourceStem(sourceName); }

void LabelFileSink::BeginJob() {
  EndJob();  // a job that was never ended closes its PDF here
  jobLabels_ = jobBytes_ = 0;
  limitNote_.clear();
}

bool LabelFileSink::Fail(std::string message, std::wstring* error) {
  if (failure_.empty()) failure_ = std::move(message);
  if (error != nullptr) *error = platform::BytesToWide(failure_);
  return false;
}

bool LabelFileSink::OverLimit(int64_t bytes) {
  struct Check {
    int64_t done, adding, limit;
    const char* what;
    const char* option;
    bool run;
  };
  const Check checks[] = {
      {runLabels_, 1, limits_.labelsPerRun, "labels per run", "max-labels-per-run", true},
      {runBytes_, bytes, limits_.bytesPerRun, "bytes written per run", "max-output-per-run", true},
      {jobLabels_, 1, limits_.labelsPerJob, "labels per job", "max-labels-per-job", false},
      {jobBytes_, bytes, limits_.bytesPerJob, "bytes written per job", "max-output-per-job", false},
  };
  for (const Check& c : checks) {
    if (c.limit <= 0 || c.done + c.adding <= c.limit) continue;
    runLimitReached_ = runLimitReached_ || c.run;
    if (limitNote_.empty()) {
      limitNote_ = "stopped at the limit of " + std::to_string(c.limit) + " " + c.what + " (--" +
                   c.option + "): " +
                   (c.run ? "nothing more is printed in this run"
                          : "the job's other labels were not printed");
    }
    return true;
  }
  return false;
}

bool LabelFileSink::Refuse(std::wstring* error) {
  if (limitNote_.empty()) limitNote_ = "stopped at a limit of this run: nothing more is printed";
  if (error != nullptr) *error = L"output limit reached";
  return false;
}

// The files are made from the PNG, never from the raster itself: no copy of it.
vellum::SinkNeeds LabelFileSink::Needs() const {
  vellum::SinkNeeds needs{false, formats_.png, formats_.json};
  if (tap_ != nullptr) {
    const vellum::SinkNeeds more = tap_->Needs();
    needs = {more.raster, needs.png || more.png, needs.json || more.json};
  }
  return needs;
}

bool LabelFileSink::Encode(const vellum::PrintedPage& page, const std::string& name,
                           std::vector<Output>& outputs, std::wstring* error) {
  if (formats_.png) {
    if (page.png == nullptr) return Fail("cannot encode " + name + " as PNG", error);
    outputs.push_back(Output{".png", *page.png});
  }
  if (formats_.json) outputs.push_back(Output{".json", {page.json.begin(), page.json.end()}});
  return true;
}

bool LabelFileSink::Reserve(const std::vector<Output>& outputs, std::vector<std::string>& names,
                            std::vector<int>& files) {
  for (int attempt = 0; attempt < kNumberTries; ++attempt) {
    const std::string base = (folder_ / Numbered(stem_, ++counters_[stem_])).string();
    bool taken = false;
    for (const Output& output : outputs) {
      const std::string name = base + output.extension;
      const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd < 0) {
        const int reason = errno;
        CloseAndRemove(names, files);
        if (reason != EEXIST)
          return Fail("cannot create " + name + ": " + std::strerror(reason), nullptr);
        taken = true;
        break;
      }
      names.push_back(name);
      files.push_back(fd);
    }
    if (!taken) return true;
  }
  return Fail("cannot create a file for " + (folder_ / stem_).string() + ": every number is taken",
              nullptr);
}

bool LabelFileSink::Accept(const vellum::PrintedPage& page, std::wstring* error) {
  if (failed()) return Fail(failure_, error);
  if (runLimitReached_ || OverLimit(0)) return Refuse(error);
  std::vector<Output> outputs;
  if (!Encode(page, (folder_ / stem_).string(), outputs, error)) return false;
  int64_t bytes = 0;
  for (const Output& output : outputs) bytes += static_cast<int64_t>(output.bytes.size());
  if (OverLimit(bytes)) return Refuse(error);
  // The job's PDF takes the number of its first label, reserved with it.
  const bool startsPdf = formats_.pdf && !pdf_;
  if (startsPdf) outputs.push_back(Output{".pdf", {}});
  std::vector<std::string> names;
  std::vector<int> files;
  if (!Reserve(outputs, names, files)) return Fail(failure_, error);
  if (startsPdf) {
    OpenPdf(names.back(), files.back());
    names.pop_back(), files.pop_back(), outputs.pop_back();
  }
  for (size_t i = 0; i < outputs.size(); ++i) {
    const int reason = WriteAndClose(files[i], outputs[i].bytes);
    files[i] = -1;
    if (reason != 0) {
      const std::string name = names[i];
      for (size_t j = i + 1; j < files.size(); ++j) ::close(files[j]);
      files.clear();
      CloseAndRemove(names, files);  // no half-written labels
      return Fail("cannot write " + name + ": " + std::strerror(reason), error);
    }
  }
  written_.insert(written_.end(), names.begin(), names.end());
  if (pdf_ && !page.addPdfPage(*pdf_->document)) {
    EndJob();  // says why
    return Fail(failure_, error);
  }
  if (tap_ != nullptr && !tap_->Accept(page, error)) return false;
  ++labels_, ++jobLabels_, ++runLabels_;
  jobBytes_ += bytes, runBytes_ += bytes;
  return true;
}

void LabelFileSink::OpenPdf(const std::string& name, int fd) {
  auto pdf = std::make_unique<JobPdf>();
  pdf->file = name;
  pdf->out = ::fdopen(fd, "wb");
  if (pdf->out == nullptr) {
    ::close(fd);
    std::error_code ignored;
    std::filesystem::remove(pdf->file, ignored);
    Fail("cannot create " + name + ": " + std::strerror(errno), nullptr);
    return;
  }
  JobPdf* open = pdf.get();
  pdf->document =
      std::make_unique<vellum::PdfDocument>([open](const unsigned char* data, size_t size) {
        if (std::fwrite(data, 1, size, open->out) == size) return true;
        open->writeErrno = errno;
        return false;
      });
  pdf_ = std::move(pdf);
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
