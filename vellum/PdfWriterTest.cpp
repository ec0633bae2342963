// PDF documents: a job's labels as pages of one file, each page the size of
// its label, and a writer's failure reported instead of a torn file.
#include <gtest/gtest.h>

#include <sstream>

#include "vellum/PdfWriter.h"
#include "vellum/VellumTestSupport.h"

namespace vellum::testing {
namespace {

// Adds every printed label to one document.
class DocumentSink : public OutputSink {
 public:
  explicit DocumentSink(PdfDocument& document) : document_(document) {}
  bool Accept(const PrintedPage& page, std::wstring*) override {
    return page.addPdfPage(document_);
  }

 private:
  PdfDocument& document_;
};

// The page sizes a PDF states ("/MediaBox [ 0 0 W H ]"), points, in page order.
std::vector<std::string> MediaBoxes(const std::string& pdf) {
  std::vector<std::string> boxes;
  const std::string key = "/MediaBox [";
  for (size_t at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + 1)) {
    std::istringstream numbers(pdf.substr(at + key.size(), 64));
    std::string x0, y0, width, height;
    numbers >> x0 >> y0 >> width >> height;
    boxes.push_back(width + "x" + height);
  }
  return boxes;
}

TEST(PdfWriter, ALabelPerPageEachItsOwnSize) {
  std::string bytes;
  PdfDocument document([&](const unsigned char* data, size_t size) {
    bytes.append(reinterpret_cast<const char*>(data), size);
    return true;
  });
  DocumentSink sink(document);
  VellumSettings settings;
  settings.sink = &sink;
  settings.dpi = 300;
  settings.mediaWidthInches = 2.0;
  VellumEngine engine(settings);
  // Three labels: fixed lengths of 1 and 3 inches, then 1 inch again.
  for (double inches : {1.0, 3.0, 1.0}) {
    engine.CreateLabel(L"", 0, static_cast<int32_t>(inches * 1000), 0, 0, 1);
    engine.SetSelectByObject(engine.CreateNewObject(kVObjRectangle, VRect{100, 100, 900, 600}, 1));
    engine.InitPrintData();
    engine.AddPrintData(VPrintData{L"job", 1, 1, 1, 0});
    ASSERT_TRUE(engine.StartPrint(kVPrintDevice, 0, 1, 1));
  }
  EXPECT_EQ(document.pages(), 3);
  ASSERT_TRUE(document.Finish());
  EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
  EXPECT_EQ(MediaBoxes(bytes), (std::vector<std::string>{"144x72", "144x216", "144x72"}));
}

TEST(PdfWriter, AWriterThatFailsFailsTheDocument) {
  for (size_t accepted : {0u, 200u}) {  // at the first byte, or part way
    SCOPED_TRACE(accepted);
    size_t written = 0;
    PdfDocument document([&](const unsigned char*, size_t size) {
      written += size;
      return written <= accepted;
    });
    DocumentSink sink(document);
    VellumSettings settings;
    settings.sink = &sink;
    VellumEngine engine(settings);
    engine.CreateLabel(L"", 0, 1000, 0, 0, 1);
    engine.InitPrintData();
    engine.AddPrintData(VPrintData{L"job", 2, 1, 1, 0});
    engine.StartPrint(kVPrintDevice, 0, 1, 1);
    EXPECT_FALSE(document.Finish());
  }
}

}  // namespace
}  // namespace vellum::testing
