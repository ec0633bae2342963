#pragma once
// Renders a job for the render interface and the editor page, in memory:
// the job's bytes are cut into jobs as any HTTP body is, and run on a
// printer of their own made for the request (the density, the media as the
// canvas, ZPL's dialect), so one preview never changes the session state
// of the printer that prints, nor of the next preview. No label file is
// written, nothing enters the print queue, the label index or the live
// feed. The store is the process's one card: what a job stores there
// (pictures, formats) and its error-log lines are written as a print's are.
//
// Each printed label is placed on the media's canvas (LabelCanvas) and
// turned as asked; the wanted one (or all, for a PDF) is kept, encoded. At
// most kMostRenderLabels labels are rendered: a job that prints more is
// stopped there and said to be over.
//
// Render may be called from any thread; calls are run one at a time. The
// options must outlive the preview.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "host/printer/Options.h"
#include "host/printer/Report.h"
#include "host/serve/RenderRequest.h"

namespace host {

struct PreviewResult {
  std::vector<JobReport> jobs;
  int totalLabels = 0;
  bool overLimit = false;  // the job printed more than kMostRenderLabels
  std::string error;       // the preview printer could not be made
  // PNG, JSON: the index-th label (the first when none is asked for) as PNG,
  // empty when the job has no such label. PDF: every label, or the index-th.
  std::string picture;
  int pictureWidth = 0, pictureHeight = 0;  // dots, of the PNG
};

class LabelPreview {
 public:
  explicit LabelPreview(const HostOptions& options) : options_(options) {}

  PreviewResult Render(const std::string& job, const RenderRequest& request);

 private:
  const HostOptions& options_;
  std::mutex mutex_;
};

// The JSON answer for `result`: {"total":N,"index":I,"width":..,"height":..,
// "png":"<base64>","jobs":[report objects as `--report json` writes them]}.
std::string PreviewJson(const PreviewResult& result, const RenderRequest& request);

}  // namespace host
