#pragma once
// Where printed labels go. The engine hands every printed label to its sink
// once: the thresholded raster, its JSON description and a way to render it
// as PDF. FileSink writes one file per printed label and format, named after
// the job and the label's number ("CurrentLabel-0001.png"); MemorySink keeps
// the results for tests and benchmarks. The host owns the sink and keeps it
// alive while the engine prints.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "vellum/JsonWriter.h"
#include "vellum/MonoRaster.h"

namespace vellum {

class PdfDocument;

// What a sink reads of a printed label, so the engine makes nothing more: no
// raster for a sink that writes only JSON or PDF, no JSON description unless
// it is kept.
struct SinkNeeds {
  bool raster = true;  // `bitmap`
  bool png = true;     // `png`, the bitmap encoded (implies the raster)
  bool json = true;    // `json`
};

struct PrintedPage {
  const PrintedLabelInfo& info;
  const MonoBitmap& bitmap;                 // empty unless the sink needs the raster
  const std::vector<std::wstring>& values;  // one per object of the label
  const std::string& json;                  // empty unless the sink needs it
  // The bitmap as a PNG file; null when the sink does not need it, or when
  // it could not be encoded.
  const std::vector<uint8_t>* png;
  // Renders the label as a one-page PDF; false on failure.
  std::function<bool(std::vector<uint8_t>&)> renderPdf;
  // Appends the label as the next page of a document; false on failure.
  std::function<bool(PdfDocument&)> addPdfPage;
};

class OutputSink {
 public:
  virtual ~OutputSink() = default;
  virtual SinkNeeds Needs() const { return SinkNeeds{}; }
  // False, with the reason, when the label could not be delivered.
  virtual bool Accept(const PrintedPage& page, std::wstring* error) = 0;
};

// The file name stem of a printed label: the job name without characters that
// do not belong in a file name ("*CurrentLabel*" -> "CurrentLabel"; "label"
// when nothing is left), a hyphen and the number, at least four digits.
std::string OutputStem(const std::wstring& jobName, int32_t number);

class FileSink : public OutputSink {
 public:
  struct Formats {
    bool png = true;
    bool pdf = false;
    bool json = true;
  };
  FileSink(std::filesystem::path folder, Formats formats);
  SinkNeeds Needs() const override;
  bool Accept(const PrintedPage& page, std::wstring* error) override;

 private:
  std::filesystem::path folder_;
  Formats formats_;
};

class MemorySink : public OutputSink {
 public:
  struct Entry {
    PrintedLabelInfo info;
    std::vector<uint8_t> png;
    std::vector<uint8_t> pdf;  // only when asked for
    std::string json;
    std::vector<std::wstring> values;
    MonoBitmap bitmap;  // only when asked for
  };
  struct Options {
    bool keepBitmap = true;
    bool makePdf = false;
    bool keepOnlyLast = false;  // bounded memory for long runs
  };
  MemorySink() = default;
  explicit MemorySink(Options options) : options_(options) {}
  SinkNeeds Needs() const override { return SinkNeeds{options_.keepBitmap, true, true}; }
  bool Accept(const PrintedPage& page, std::wstring* error) override;

  const std::vector<Entry>& entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  Options options_;
  std::vector<Entry> entries_;
};

}  // namespace vellum
