#include "host/serve/LabelPreview.h"

#include <cmath>
#include <exception>
#include <memory>
#include <sstream>
#include <string_view>

#include "host/printer/Printer.h"
#include "host/printer/SourceIntake.h"
#include "host/serve/LabelCanvas.h"
#include "intake/Notifications.h"
#include "platform/HostWindow.h"
#include "vellum/PngWriter.h"

namespace host {
namespace {

constexpr char kSource[] = "render";

// Takes the printer's labels: counts them, keeps the wanted ones on the
// canvas and refuses every label past the limit, which stops the print.
class CanvasSink : public vellum::OutputSink {
 public:
  CanvasSink(const RenderRequest& request, PreviewResult& result)
      : request_(request),
        result_(result),
        width_(static_cast<int>(std::lround(request.widthInches * request.dpi()))),
        height_(static_cast<int>(std::lround(request.heightInches * request.dpi()))) {}

  vellum::SinkNeeds Needs() const override { return vellum::SinkNeeds{true, false, false}; }

  bool Accept(const vellum::PrintedPage& page, std::wstring* error) override {
    const int index = result_.totalLabels;
    if (index >= kMostRenderLabels) {
      result_.overLimit = true;
      if (error != nullptr) *error = L"the render interface draws at most 200 labels a request";
      return false;
    }
    ++result_.totalLabels;
    if (!Wanted(index)) return true;
    const vellum::MonoBitmap canvas =
        TurnClockwise(PlaceOnCanvas(page.bitmap, width_, height_), request_.rotation);
    if (request_.format == RenderFormat::kPdf) return pdf_.AddPage(canvas, request_.dpi());
    std::vector<uint8_t> png;
    if (!vellum::EncodeMonoPng(canvas, request_.dpi(), png)) return false;
    result_.picture.assign(png.begin(), png.end());
    result_.pictureWidth = canvas.width;
    result_.pictureHeight = canvas.height;
    return true;
  }

  std::string FinishPdf() { return pdf_.Finish(); }

 private:
  bool Wanted(int index) const {
    if (request_.index) return index == *request_.index;
    return request_.format == RenderFormat::kPdf || index == 0;
  }

  const RenderRequest& request_;
  PreviewResult& result_;
  int width_, height_;
  CanvasPdf pdf_;
};

JobReport Noted(std::string note) {
  JobReport report;
  report.source = kSource;
  report.language = "none";
  report.notes.push_back(std::move(note));
  return report;
}

std::string Base64(const std::string& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t word = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) word |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) word |= static_cast<uint8_t>(bytes[i + 2]);
    out += kDigits[(word >> 18) & 63];
    out += kDigits[(word >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(word >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[word & 63] : '=';
  }
  return out;
}

}  // namespace

PreviewResult LabelPreview::Render(const std::string& job, const RenderRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  PreviewResult result;
  HostOptions options = options_;
  options.dpi = request.dpi();
  options.widthInches = request.widthInches;
  options.lengthInches = request.heightInches;
  options.lengthFromMediaOnly = true;
  options.formats = OutputFormats{};  // no files: the labels go to the canvas only
  options.zpl = request.zpl;
  options.clock.reset();  // the printing printer set it for the process already
  // The tap outlives the printer that feeds it.
  CanvasSink sink(request, result);
  std::unique_ptr<Printer> printer = Printer::Open(options, result.error);
  if (!printer) return result;
  printer->SetLabelTap(&sink);

  platform::NotificationQueue window;
  SourceIntake intake(&window, options.maxJobBytes);
  intake.Add(std::string_view(job));
  intake.Finish();
  int jobs = 0;
  while (std::optional<platform::Notification> n = window.TryTake()) {
    if (n->code == NOTIFY_SCRIPTING_DATA && !result.overLimit) {
      try {
        result.jobs.push_back(printer->RunJob(std::move(n->job), kSource, ++jobs));
      } catch (const std::exception& e) {  // out of memory: this job only
        result.jobs.push_back(Noted(std::string("cannot run job: ") + e.what()));
      }
    } else if (n->code == kJobDiscardedNote) {
      result.jobs.push_back(Noted(DiscardedNote(options.maxJobBytes, "--max-job-bytes")));
    } else if (n->code == kBytesDroppedNote) {
      result.jobs.push_back(Noted(DroppedNote(n->value)));
    }
  }
  if (const std::string unfinished = intake.Unfinished(); !unfinished.empty() || jobs == 0)
    result.jobs.push_back(Noted(EndNote(unfinished)));
  if (request.format == RenderFormat::kPdf) result.picture = sink.FinishPdf();
  return result;
}

std::string PreviewJson(const PreviewResult& result, const RenderRequest& request) {
  std::ostringstream reports;
  const std::unique_ptr<ReportWriter> writer = MakeReportWriter(ReportFormat::kJson, reports);
  for (const JobReport& job : result.jobs) writer->Write(job);
  std::string objects;
  std::istringstream lines(reports.str());
  for (std::string line; std::getline(lines, line);) objects += (objects.empty() ? "" : ",") + line;
  const int index = request.index.value_or(0);
  std::string json = "{\"total\":" + std::to_string(result.totalLabels) +
                     ",\"index\":" + std::to_string(index) +
                     ",\"dpi\":" + std::to_string(request.dpi());
  if (!result.picture.empty()) {
    json += ",\"width\":" + std::to_string(result.pictureWidth) +
            ",\"height\":" + std::to_string(result.pictureHeight) + ",\"png\":\"" +
            Base64(result.picture) + "\"";
  }
  return json + ",\"jobs\":[" + objects + "]}\n";
}

}  // namespace host
