// The render interface end to end over a real socket, the way label tools
// and curl call it: each Accept type, the headers, the body encodings, the
// requests it must refuse, and the promise that a preview prints nothing.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>

#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

constexpr char kBox[] = "^XA^FO20,20^GB100,50,50^FS^XZ";
constexpr char kPath[] = "/v1/printers/8dpmm/labels/2x1/";

bool IsPng(const std::string& bytes) { return bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0; }

PngInfo Png(const ScratchDir& dir, const std::string& bytes) {
  return ReadPng(dir.Write("answer.png", bytes));
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class RenderApiTest : public ::testing::Test {
 protected:
  RenderApiTest() : server_(dir_, {"--dpi", "100", "--max-job-bytes", "100000"}) {}
  void SetUp() override {
    ASSERT_TRUE(server_.started()) << server_.Stderr();
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_.httpPort());
    client_->set_read_timeout(60, 0);
  }

  httplib::Result Render(const std::string& path, const std::string& body,
                         const std::string& accept, httplib::Headers more = {}) {
    more.emplace("Accept", accept);
    return client_->Post(path, more, body, "application/x-www-form-urlencoded");
  }

  ScratchDir dir_;
  ServerProcess server_;
  std::unique_ptr<httplib::Client> client_;
};

TEST_F(RenderApiTest, EachAcceptTypeAnswersInItsFormat) {
  const std::string twoLabels = std::string(kBox) + "^XA^FO20,20^GB50,50,50^FS^PQ2^XZ";
  const struct {
    const char* path;
    const char* accept;
    const char* type;
    const char* total;
  } kCases[] = {
      {"/v1/printers/8dpmm/labels/2x1/0/", "image/png", "image/png", "3"},
      {"/v1/printers/8dpmm/labels/2x1/2/", "image/png", "image/png", "3"},
      {"/v1/printers/8dpmm/labels/2x1/", "application/pdf", "application/pdf", "3"},
      {"/v1/printers/8dpmm/labels/2x1/1/", "application/pdf", "application/pdf", "3"},
      {"/v1/printers/8dpmm/labels/2x1/", "application/json", "application/json", "3"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.path) + " " + c.accept);
    auto answer = Render(c.path, twoLabels, c.accept);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200) << answer->body;
    EXPECT_EQ(answer->get_header_value("Content-Type"), c.type);
    EXPECT_EQ(answer->get_header_value("X-Total-Count"), c.total);
  }
  auto all = Render(kPath, twoLabels, "application/pdf");
  ASSERT_TRUE(all);
  EXPECT_EQ(Count(all->body, "/Count 3\n"), 1u) << "every label, a page each";
  auto one = Render(std::string(kPath) + "1/", twoLabels, "application/pdf");
  ASSERT_TRUE(one);
  EXPECT_EQ(Count(one->body, "/Count 1\n"), 1u);
  auto json = Render(kPath, twoLabels, "application/json");
  ASSERT_TRUE(json);
  EXPECT_NE(json->body.find("\"total\":3"), std::string::npos) << json->body;
  EXPECT_NE(json->body.find("\"png\":\"iVBORw0KGgo"), std::string::npos) << "the picture, base64";
  EXPECT_NE(json->body.find("\"script_errors\":[]"), std::string::npos) << "the job reports";
}

TEST_F(RenderApiTest, TheLabelIsDrawnOnTheMediaCentredUncutAndTurned) {
  // 100 dots wide at 8 dpmm on 2 in (406 dots) media; ^LL50 must not cut the
  // box that starts at 150.
  const std::string job = "^XA^PW100^LL50^FO0,150^GB100,40,40^FS^XZ";
  const struct {
    const char* rotation;
    uint32_t width, height;
    int left, top;
  } kCases[] = {
      {"0", 406, 203, 153, 150},
      {"90", 203, 406, 203 - 190, 153},
      {"180", 406, 203, 406 - 153 - 100, 203 - 190},
      {"270", 203, 406, 150, 406 - 153 - 100},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.rotation);
    auto answer = Render(std::string(kPath) + "0/", job, "image/png", {{"X-Rotation", c.rotation}});
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200) << answer->body;
    const PngInfo png = Png(dir_, answer->body);
    ASSERT_TRUE(png.valid);
    EXPECT_EQ(png.width, c.width);
    EXPECT_EQ(png.height, c.height);
    EXPECT_EQ(png.dpiX, 203);
    EXPECT_EQ(png.inkLeft, c.left);
    EXPECT_EQ(png.inkTop, c.top);
  }
}

TEST_F(RenderApiTest, TakesTheJobHoweverTheClientSendsIt) {
  const std::string encoded = "%5EXA%5EFO20,20%5EGB100,50,50%5EFS%5EXZ";
  httplib::MultipartFormDataItems form = {{"other", "ignored", "", ""},
                                          {"file", kBox, "label.zpl", "application/octet-stream"}};
  std::vector<std::pair<std::string, httplib::Result>> answers;
  answers.emplace_back("raw, form type", Render(std::string(kPath) + "0/", kBox, "image/png"));
  answers.emplace_back("form field",
                       Render(std::string(kPath) + "0/", "file=" + encoded, "image/png"));
  answers.emplace_back("octet-stream",
                       client_->Post(std::string(kPath) + "0/", kBox, "application/octet-stream"));
  answers.emplace_back("multipart", client_->Post(std::string(kPath) + "0/", form));
  answers.emplace_back("in the path", client_->Get(std::string(kPath) + "0/" + encoded));
  std::string first;
  for (auto& [how, answer] : answers) {
    SCOPED_TRACE(how);
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200) << answer->body;
    ASSERT_TRUE(IsPng(answer->body));
    if (first.empty()) first = answer->body;
    EXPECT_EQ(answer->body, first) << "the same label";
  }
}

TEST_F(RenderApiTest, RefusesWithAShortMessage) {
  const std::string huge(100001, 'A');
  const struct {
    const char* path;
    std::string body;
    const char* accept;
    int status;
    const char* says;
  } kCases[] = {
      {"/v1/printers/0dpmm/labels/4x6/0/", kBox, "image/png", 400, "density"},
      {"/v1/printers/1000dpmm/labels/4x6/0/", kBox, "image/png", 400, "density"},
      {"/v1/printers/8dpmm/labels/0x0/0/", kBox, "image/png", 400, "size"},
      {"/v1/printers/8dpmm/labels/100x100/0/", kBox, "image/png", 400, "size"},
      {"/v1/printers/8dpmm/labels/4x6/-1/", kBox, "image/png", 400, "index"},
      {"/v1/printers/8dpmm/labels/4x6/4294967296/", kBox, "image/png", 400, "index"},
      {"/v1/printers/8dpmm/labels/4x6/1/", kBox, "image/png", 404, "no label 1"},
      {"/v1/printers/8dpmm/labels/4x6/0/", "^XA^FO10,10^FDx^XA", "image/png", 422, "no label"},
      {"/v1/printers/8dpmm/labels/4x6/0/", "", "image/png", 400, "empty"},
      {"/v1/printers/8dpmm/labels/4x6/0/", huge, "image/png", 413, "job limit"},
      {"/v1/printers/8dpmm/labels/4x6/0/?dialect=odd", kBox, "image/png", 400, "dialect"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.path) + " " + c.says);
    auto answer = Render(c.path, c.body, c.accept);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, c.status) << answer->body;
    EXPECT_EQ(answer->get_header_value("Content-Type"), "text/plain; charset=utf-8");
    EXPECT_NE(answer->body.find(c.says), std::string::npos) << answer->body;
  }
  auto rotation = Render(std::string(kPath) + "0/", kBox, "image/png", {{"X-Rotation", "45"}});
  ASSERT_TRUE(rotation);
  EXPECT_EQ(rotation->status, 400);
}

TEST_F(RenderApiTest, AJobOfTenThousandLabelsIsRefusedQuickly) {
  const auto start = std::chrono::steady_clock::now();
  auto answer = Render(kPath, "^XA^FO20,20^GB100,50,50^FS^PQ10000^XZ", "application/pdf");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 422) << answer->body;
  EXPECT_NE(answer->body.find("more than 200 labels"), std::string::npos) << answer->body;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  auto next = Render(std::string(kPath) + "0/", kBox, "image/png");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->status, 200) << "the server goes on";
}

TEST_F(RenderApiTest, APreviewPrintsNothingAndKeepsNoState) {
  ASSERT_TRUE(Render(std::string(kPath) + "0/", "^XA^MUi^XZ" + std::string(kBox), "image/png"));
  auto answer = Render(std::string(kPath) + "0/", kBox, "image/png");
  ASSERT_TRUE(answer);
  const PngInfo png = Png(dir_, answer->body);
  EXPECT_EQ(png.inkLeft, 20 + (406 - 406) / 2) << "dots, not the inches the previous job set";
  EXPECT_TRUE(FileNames(dir_ / "out").empty()) << "no label file";
  EXPECT_EQ(server_.Stdout(), "") << "no job report: the print queue never saw it";
  auto printed = client_->Post("/print", kBox, "text/plain");
  ASSERT_TRUE(printed);
  EXPECT_NE(printed->body.find("\"job\":1,"), std::string::npos)
      << "the printer's first job: " << printed->body;
}

TEST_F(RenderApiTest, DrawsTheSamePictureAsRender) {
  const std::string job = ReadFile(ExamplesDir() / "zpl/shipping-label.zpl");
  ASSERT_FALSE(job.empty());
  auto answer = Render("/v1/printers/8dpmm/labels/4x6/0/", job, "image/png");
  ASSERT_TRUE(answer);
  ASSERT_EQ(answer->status, 200) << answer->body;
  const auto file = dir_.Write("shipping.zpl", job);
  const RunResult run = RunIn(
      dir_, "render",
      {"--dpmm", "8", "--media", "4x6in", "--zpl", "full", "--out", "rendered", file.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(answer->body, ReadFile(dir_ / "rendered/shipping-zpl-0001.png"));
}

}  // namespace
}  // namespace host::testing
