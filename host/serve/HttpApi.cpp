#include "host/serve/HttpApi.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>
#include <sstream>

#include "host/serve/BufferStream.h"
#include "host/serve/JobJson.h"
#include "host/serve/LivePage.h"

namespace host {
namespace {

constexpr size_t kHttpThreads = 16;

void Error(httplib::Response& response, int status, const std::string& message) {
  std::string quoted;
  for (char c : message) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) quoted += c;
  }
  response.status = status;
  response.set_content("{\"error\":\"" + quoted + "\"}\n", "application/json");
}

std::string TooLarge(size_t limit) {
  return "the body is larger than the job limit (--max-job-bytes, " + std::to_string(limit) +
         " bytes)";
}

// The job's bytes: the body as sent, whatever its Content-Type, or the
// contents of a multipart form's parts, in order. False when it cannot be
// read; `tooLarge` when it is over `limit`.
bool ReadBody(const httplib::Request& request, const httplib::ContentReader& reader, size_t limit,
              std::string& body, bool& tooLarge) {
  const auto take = [&](const char* data, size_t n) {
    if (body.size() + n > limit) return !(tooLarge = true);
    body.append(data, n);
    return true;
  };
  if (request.is_multipart_form_data())
    return reader([](const httplib::MultipartFormData&) { return true; }, take);
  return reader(take);
}

// The reason phrases of the answers the front gives itself.
const char* Reason(int status) {
  switch (status) {
    case 400:
      return "Bad Request";
    case 408:
      return "Request Timeout";
    case 413:
      return "Payload Too Large";
    case 431:
      return "Request Header Fields Too Large";
    case 503:
      return "Service Unavailable";
    default:
      return "Internal Server Error";
  }
}

// A whole answer with `response`'s status and body, closing the connection.
std::string Refusal(const httplib::Response& response) {
  return "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) +
         "\r\nContent-Type: " + response.get_header_value("Content-Type") +
         "\r\nContent-Length: " + std::to_string(response.body.size()) +
         "\r\nConnection: close\r\n\r\n" + response.body;
}

bool Number(const std::string& text, double low, double high, double& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(value) || value < low || value > high)
    return false;
  out = value;
  return true;
}

bool Formats(const std::string& text, OutputFormats& formats) {
  formats = OutputFormats{};
  std::stringstream list(text);
  std::string name;
  while (std::getline(list, name, ',')) {
    if (name == "png")
      formats.png = true;
    else if (name == "pdf")
      formats.pdf = true;
    else if (name == "json")
      formats.json = true;
    else
      return false;
  }
  return formats.png || formats.pdf || formats.json;
}

// The printer a request asks for: the process's own, with the query's
// dpi, width and formats. False, with `error`, on a value out of range.
bool ReadQuery(const httplib::Request& request, PrinterSetup& setup, std::string& error) {
  double value = 0;
  if (request.has_param("dpi")) {
    if (!Number(request.get_param_value("dpi"), 72, 1200, value) || value != std::floor(value))
      return (error = "dpi must be a whole number from 72 to 1200"), false;
    setup.dpi = static_cast<int>(value);
  }
  if (request.has_param("width")) {
    if (!Number(request.get_param_value("width"), 0.25, 20, value))
      return (error = "width must be 0.25 to 20 inches"), false;
    setup.widthInches = value;
  }
  if (request.has_param("format") && !Formats(request.get_param_value("format"), setup.formats))
    return (error = "format must be png, pdf, json or a comma-separated mix"), false;
  if (request.has_param("dialect")) {
    const std::string dialect = request.get_param_value("dialect");
    if (dialect != "device" && dialect != "full")
      return (error = "dialect must be device or full"), false;
    setup.zpl = dialect == "full" ? ZplDialect::kFull : ZplDialect::kDevice;
  }
  return true;
}

bool ReadWhole(const std::filesystem::path& file, std::string& bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

const char* ContentType(const std::string& format) {
  if (format == "png") return "image/png";
  if (format == "pdf") return "application/pdf";
  return "application/json";
}

bool WantsImage(const httplib::Request& request) {
  return request.get_header_value("Accept").find("image/png") != std::string::npos;
}

}  // namespace

HttpApi::HttpApi(PrintQueue& queue, const LabelIndex& labels, EventHub& events,
                 const HostOptions& options)
    : queue_(queue), labels_(labels), events_(events), options_(options), render_(options) {
  server_.set_payload_max_length(options.maxJobBytes);
  HttpLimits limits;
  limits.frame.maxBody = options.maxJobBytes;
  limits.headTime = std::chrono::milliseconds(options.headerMs);
  limits.bodyTime = std::chrono::milliseconds(options.timeoutMs);
  limits.perAddress = options.httpPerAddress;
  limits.streams = options.maxStreams;
  limits.workers = kHttpThreads;
  const auto refuse = [limit = options.maxJobBytes](int status, const std::string& why,
                                                    std::string_view target) {
    httplib::Response response;
    const std::string message = status == 413 ? TooLarge(limit) : why;
    if (RenderApi::Serves(target)) {
      RenderApi::Refuse(response, status, message);
    } else {
      Error(response, status, message);
    }
    return Refusal(response);
  };
  front_ = std::make_unique<HttpFront>(
      limits,
      [this](std::string_view request, const HttpFront::Endpoints& endpoints, bool& close) {
        return Answer(request, endpoints, close);
      },
      refuse, events, "/events");
  Routes();
}

HttpApi::~HttpApi() { Stop(); }

void HttpApi::Routes() {
  server_.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(LivePageHtml(), "text/html; charset=utf-8");
  });
  server_.Post("/print", [this](const httplib::Request& q, httplib::Response& r,
                                const httplib::ContentReader& reader) { Print(q, r, reader); });
  const std::string label = R"(/labels/([0-9]{1,9})\.(png|pdf|json))";
  server_.Get(label, [this](const httplib::Request& q, httplib::Response& r) { Label(q, r); });
  server_.Get("/events", [this](const httplib::Request& q, httplib::Response& r) { Events(q, r); });
  render_.Register(server_);
  OnlyAllow("/", "GET, HEAD");
  OnlyAllow("/print", "POST");
  OnlyAllow(label, "GET, HEAD");
  OnlyAllow("/events", "GET, HEAD");
  server_.set_error_handler(
      [limit = options_.maxJobBytes](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) return;
        const int status = response.status;
        Error(response, status,
              status == 413   ? TooLarge(limit)
              : status == 404 ? "no such page: try POST /print, GET /labels/N.png or GET /"
              : status < 500  ? "bad request"
                              : "server error");
      });
}

void HttpApi::OnlyAllow(const std::string& pattern, const std::string& allowed) {
  const auto refuse = [allowed](const httplib::Request& request, httplib::Response& response) {
    response.set_header("Allow", allowed);
    Error(response, 405, request.method + " is not allowed here: use " + allowed);
  };
  // The body is refused unread: the connection closes after the answer.
  const auto refuseBody = [refuse](const httplib::Request& request, httplib::Response& response,
                                   const httplib::ContentReader&) {
    refuse(request, response);
    response.set_header("Connection", "close");
  };
  if (allowed.find("GET") == std::string::npos) server_.Get(pattern, refuse);
  if (allowed.find("POST") == std::string::npos) server_.Post(pattern, refuseBody);
  server_.Put(pattern, refuseBody);
  server_.Patch(pattern, refuseBody);
  server_.Delete(pattern, refuseBody);
}

bool HttpApi::Listen(std::string& error) {
  if (!front_->Listen(options_.bind, options_.httpPort, error)) return false;
  port_ = front_->port();
  return true;
}

void HttpApi::Start() { front_->Start(); }

void HttpApi::Drain() { front_->Drain(); }

void HttpApi::Stop() {
  events_.Close();
  front_->Stop();
}

std::string HttpApi::Answer(std::string_view request, const HttpFront::Endpoints& endpoints,
                            bool& close) {
  BufferStream stream(request, {endpoints.remote.address().to_string(), endpoints.remote.port()},
                      {endpoints.local.address().to_string(), endpoints.local.port()});
  bool closed = false;
  if (!server_.process_request(stream, close, closed, nullptr)) closed = true;
  close = close || closed;
  return std::move(stream.answer());
}

void HttpApi::Print(const httplib::Request& request, httplib::Response& response,
                    const httplib::ContentReader& reader) {
  PrintRead read;
  read.setup = queue_.DefaultSetup();
  std::string body;
  bool tooLarge = false;
  const bool whole = ReadBody(request, reader, options_.maxJobBytes, body, tooLarge);
  if (tooLarge || response.status == 413)
    return Error(response, 413, TooLarge(options_.maxJobBytes));
  if (body.empty()) return Error(response, 400, "the body is empty: send the job as the body");
  if (!whole) return Error(response, 400, "the body could not be read");
  std::string error;
  if (!ReadQuery(request, read.setup, error)) return Error(response, 400, error);
  read.source = "http-" + std::to_string(++requests_);
  read.bytes.assign(body.begin(), body.end());
  auto result = std::make_shared<std::promise<std::vector<PrintedJob>>>();
  read.done = [result](const std::vector<PrintedJob>& jobs) { result->set_value(jobs); };
  std::future<std::vector<PrintedJob>> printed = result->get_future();
  queue_.Submit(std::move(read));
  const std::vector<PrintedJob> jobs = printed.get();

  const bool anyJob = std::any_of(jobs.begin(), jobs.end(),
                                  [](const PrintedJob& job) { return job.report.jobNumber != 0; });
  if (anyJob && jobs.size() == 1 && jobs[0].labels.size() == 1 && WantsImage(request)) {
    std::string png;
    const auto file = labels_.Find(jobs[0].labels[0], "png");
    if (file && ReadWhole(*file, png)) return response.set_content(png, "image/png");
  }
  response.status = anyJob ? 200 : 422;
  response.set_content(RequestJson(jobs), "application/json");
}

void HttpApi::Label(const httplib::Request& request, httplib::Response& response) {
  const int number = std::atoi(request.matches[1].str().c_str());
  const std::string format = request.matches[2].str();
  const auto file = labels_.Find(number, format);
  std::string bytes;
  if (!file) return Error(response, 404, "no label " + std::to_string(number) + " as " + format);
  if (!ReadWhole(*file, bytes)) return Error(response, 410, "the label's file is gone");
  response.set_content(bytes, ContentType(format));
}

// GET /events is streamed by the front; this answers HEAD.
void HttpApi::Events(const httplib::Request&, httplib::Response& response) {
  response.set_header("Cache-Control", "no-cache");
  response.set_content("", "text/event-stream");
}

}  // namespace host
