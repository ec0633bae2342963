#pragma once
// The render interface label tools already call: POST (or GET, with the job
// at the end of the path) `/v1/printers/{N}dpmm/labels/{W}x{H}/{index}/`
// answers with the label drawn on the W x H media as image/png (the
// index-th label, 0-based), application/pdf (every label when no index is
// given) or application/json (the job reports and the picture), as Accept
// asks, with the job's label count in X-Total-Count and the picture turned
// as X-Rotation says. The body may be of any Content-Type: a raw job, a
// form with the job in its `file` field, a multipart form with a `file` part.
// Errors are 4xx answers with a short plain-text message.
//
// Rendering is a preview (LabelPreview): it writes no label file and never
// enters the print queue. Full ZPL unless `?dialect=device`. GET /edit
// serves the editor page, which renders through this interface. HttpApi
// registers the routes on its server; the options must outlive this.

#include <httplib.h>

#include <string>
#include <string_view>

#include "host/printer/Options.h"
#include "host/serve/LabelPreview.h"

namespace host {

class RenderApi {
 public:
  explicit RenderApi(const HostOptions& options) : options_(options), preview_(options) {}

  void Register(httplib::Server& server);

  // Whether `target` is one of this interface's paths, and its way of
  // refusing a request: for refusals made before a route runs.
  static bool Serves(std::string_view target);
  static void Refuse(httplib::Response& response, int status, const std::string& message);

 private:
  void Post(const httplib::Request& request, httplib::Response& response,
            const httplib::ContentReader& reader);
  void Get(const httplib::Request& request, httplib::Response& response);
  void Answer(const httplib::Request& request, const std::string& job, httplib::Response& response);

  const HostOptions& options_;
  LabelPreview preview_;
};

}  // namespace host
