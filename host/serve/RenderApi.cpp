#include "host/serve/RenderApi.h"

#include "host/serve/EditorPage.h"

namespace host {
namespace {

// The path's density, size and index (empty when none); GET's job follows.
const char kPostPath[] = R"(/v1/printers/([^/]+)/labels/([^/]+)/?([^/]*)/?)";
const char kGetPath[] = R"(/v1/printers/([^/]+)/labels/([^/]+)/([^/]*)/(.*))";

std::string TooLarge(size_t limit) {
  return "the body is larger than the job limit of " + std::to_string(limit) + " bytes";
}

// The body's job: a multipart form's `file` part (or, without one, its parts
// in order), else the body whole. False when it is over `limit` or unread.
bool ReadJob(const httplib::Request& request, const httplib::ContentReader& reader, size_t limit,
             std::string& job, bool& tooLarge) {
  std::string file, parts;
  bool inFile = false;
  const auto keep = [&](std::string& into, const char* data, size_t n) {
    if (file.size() + parts.size() + n > limit) return !(tooLarge = true);
    into.append(data, n);
    return true;
  };
  bool whole = false;
  if (request.is_multipart_form_data()) {
    whole = reader(
        [&](const httplib::MultipartFormData& part) {
          inFile = part.name == "file";
          return true;
        },
        [&](const char* data, size_t n) { return keep(inFile ? file : parts, data, n); });
    job = file.empty() ? parts : file;
  } else {
    whole = reader([&](const char* data, size_t n) { return keep(parts, data, n); });
    job = JobFromFormBody(request.get_header_value("Content-Type"), parts);
  }
  return whole && !tooLarge;
}

const char* ContentType(RenderFormat format) {
  switch (format) {
    case RenderFormat::kPdf:
      return "application/pdf";
    case RenderFormat::kJson:
      return "application/json";
    case RenderFormat::kPng:
      break;
  }
  return "image/png";
}

}  // namespace

bool RenderApi::Serves(std::string_view target) { return target.starts_with("/v1/"); }

void RenderApi::Refuse(httplib::Response& response, int status, const std::string& message) {
  response.status = status;
  response.set_content(message + "\n", "text/plain; charset=utf-8");
}

void RenderApi::Register(httplib::Server& server) {
  server.Post(kPostPath, [this](const httplib::Request& q, httplib::Response& r,
                                const httplib::ContentReader& reader) { Post(q, r, reader); });
  server.Get(kGetPath, [this](const httplib::Request& q, httplib::Response& r) { Get(q, r); });
  server.Get("/edit", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(EditorPageHtml(), "text/html; charset=utf-8");
  });
}

void RenderApi::Post(const httplib::Request& request, httplib::Response& response,
                     const httplib::ContentReader& reader) {
  std::string job;
  bool tooLarge = false;
  const bool read = ReadJob(request, reader, options_.maxJobBytes, job, tooLarge);
  if (tooLarge || response.status == 413) {
    response.set_header("Connection", "close");  // the rest of the body is not read
    return Refuse(response, 413, TooLarge(options_.maxJobBytes));
  }
  if (!read) return Refuse(response, 400, "the body could not be read");
  Answer(request, job, response);
}

void RenderApi::Get(const httplib::Request& request, httplib::Response& response) {
  const std::string job = request.matches[4].str();
  if (job.size() > options_.maxJobBytes)
    return Refuse(response, 413, TooLarge(options_.maxJobBytes));
  Answer(request, job, response);
}

void RenderApi::Answer(const httplib::Request& request, const std::string& job,
                       httplib::Response& response) {
  RenderRequest render;
  std::string error;
  if (!ParseRenderRequest(request.matches[1].str(), request.matches[2].str(),
                          request.matches[3].str(), request.get_header_value("Accept"),
                          request.get_header_value("X-Rotation"), render, error))
    return Refuse(response, 400, error);
  if (request.has_param("dialect")) {
    const std::string dialect = request.get_param_value("dialect");
    if (dialect != "device" && dialect != "full")
      return Refuse(response, 400, "dialect must be device or full");
    render.zpl = dialect == "device" ? ZplDialect::kDevice : ZplDialect::kFull;
  }
  if (job.find_first_not_of(" \t\r\n") == std::string::npos)
    return Refuse(response, 400, "the job is empty: send it as the body");

  const PreviewResult result = preview_.Render(job, render);
  if (!result.error.empty()) return Refuse(response, 500, result.error);
  if (result.overLimit)
    return Refuse(response, 422,
                  "the job prints more than " + std::to_string(kMostRenderLabels) +
                      " labels: ask for fewer at a time");
  response.set_header("X-Total-Count", std::to_string(result.totalLabels));
  if (render.format == RenderFormat::kJson)
    return response.set_content(PreviewJson(result, render), ContentType(render.format));
  if (result.totalLabels == 0) return Refuse(response, 422, "the job prints no label");
  if (render.index && *render.index >= result.totalLabels)
    return Refuse(response, 404,
                  "no label " + std::to_string(*render.index) + ": the job prints " +
                      std::to_string(result.totalLabels) + " (counted from 0)");
  if (result.picture.empty()) return Refuse(response, 500, "the label could not be drawn");
  response.set_content(result.picture, ContentType(render.format));
}

}  // namespace host
