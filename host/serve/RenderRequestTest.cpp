// The render interface's path and headers: what it takes and what it refuses.
#include <gtest/gtest.h>

#include "host/serve/RenderRequest.h"

namespace host {
namespace {

TEST(RenderRequestTest, ReadsDensitySizeIndexFormatAndTurn) {
  const struct {
    const char *density, *size, *index, *accept, *rotation;
    int dpi;
    double width, height;
    int wantIndex;  // -1: none
    RenderFormat format;
    int turn;
  } kCases[] = {
      {"6dpmm", "4x6", "0", "image/png", "", 152, 4, 6, 0, RenderFormat::kPng, 0},
      {"8dpmm", "2.25x1.25", "", "application/pdf", "90", 203, 2.25, 1.25, -1, RenderFormat::kPdf,
       90},
      {"12dpmm", "4x6", "3", "application/json", "270", 300, 4, 6, 3, RenderFormat::kJson, 270},
      {"24dpmm", "15x15", "0", "", "180", 600, 15, 15, 0, RenderFormat::kPng, 180},
      {"8dpmm", "0.25x0.25", "999999", "*/*", "0", 203, 0.25, 0.25, 999999, RenderFormat::kPng, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.density) + " " + c.size + " " + c.index);
    RenderRequest request;
    std::string error;
    ASSERT_TRUE(
        ParseRenderRequest(c.density, c.size, c.index, c.accept, c.rotation, request, error))
        << error;
    EXPECT_EQ(request.dpi(), c.dpi);
    EXPECT_DOUBLE_EQ(request.widthInches, c.width);
    EXPECT_DOUBLE_EQ(request.heightInches, c.height);
    EXPECT_EQ(request.index.value_or(-1), c.wantIndex);
    EXPECT_EQ(request.format, c.format);
    EXPECT_EQ(request.rotation, c.turn);
    EXPECT_EQ(request.zpl, ZplDialect::kFull);
  }
}

TEST(RenderRequestTest, RefusesWhatItCannotDrawInBoundedMemory) {
  const struct {
    const char *density, *size, *index, *rotation, *says;
  } kCases[] = {
      {"0dpmm", "4x6", "0", "", "density"},
      {"1000dpmm", "4x6", "0", "", "density"},
      {"8", "4x6", "0", "", "density"},
      {"8dpmm", "0x0", "0", "", "size"},
      {"8dpmm", "100x100", "0", "", "size"},
      {"8dpmm", "4x16", "0", "", "size"},
      {"8dpmm", "4", "0", "", "size"},
      {"8dpmm", "-4x6", "0", "", "size"},
      {"8dpmm", "nanx6", "0", "", "size"},
      {"8dpmm", "1e1x6", "0", "", "size"},
      {"8dpmm", "4x6", "-1", "", "index"},
      {"8dpmm", "4x6", "99999999999999999999", "", "index"},
      {"8dpmm", "4x6", "1.5", "", "index"},
      {"8dpmm", "4x6", "0", "45", "X-Rotation"},
      {"8dpmm", "4x6", "0", "-90", "X-Rotation"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.density) + " " + c.size + " " + c.index + " " + c.rotation);
    RenderRequest request;
    std::string error;
    EXPECT_FALSE(ParseRenderRequest(c.density, c.size, c.index, "", c.rotation, request, error));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(RenderRequestTest, FindsTheJobInFormBodies) {
  const struct {
    const char *type, *body, *job;
  } kCases[] = {
      {"application/x-www-form-urlencoded", "file=%5EXA%5EFDa+b%5EFS%5EXZ", "^XA^FDa b^FS^XZ"},
      {"application/x-www-form-urlencoded", "x=1&file=%5EXA%5EXZ", "^XA^XZ"},
      // curl --data sends a raw job with the form's type
      {"application/x-www-form-urlencoded", "^XA^FDfile=1+2^FS^XZ", "^XA^FDfile=1+2^FS^XZ"},
      {"text/plain", "file=%5EXA", "file=%5EXA"},
      {"", "^XA^XZ", "^XA^XZ"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.body);
    EXPECT_EQ(JobFromFormBody(c.type, c.body), c.job);
  }
}

}  // namespace
}  // namespace host
