// The engine as the host sees it: pictures from the card, output files and
// their names, JSON descriptions, cutter marks, snapshots and diagnostics.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

#include "platform/StorageCard.h"
#include "vellum/VellumEngine.h"
#include "vellum/VellumTestSupport.h"

namespace vellum::testing {
namespace {

namespace fs = std::filesystem;

// A store root of its own for each test, restored afterwards.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = platform::StoreRoot();
    root_ =
        fs::temp_directory_path() /
        ("vellum-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "Graphics");
    platform::SetStoreRoot(root_);
  }
  void TearDown() override {
    platform::SetStoreRoot(saved_);
    fs::remove_all(root_);
  }
  void WriteBytes(const std::string& name, const std::string& bytes) {
    std::ofstream(root_ / "Graphics" / name, std::ios::binary) << bytes;
  }
  // A picture of `w` x `h` pixels whose left half is black, saved by gdk-pixbuf.
  void SavePicture(const std::string& name, const char* type, int w, int h) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, w, h);
    gdk_pixbuf_fill(pixbuf, 0xffffffff);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w / 2; ++x) {
        guchar* p = gdk_pixbuf_get_pixels(pixbuf) + y * gdk_pixbuf_get_rowstride(pixbuf) + x * 3;
        p[0] = p[1] = p[2] = 0;
      }
    }
    ASSERT_TRUE(
        gdk_pixbuf_save(pixbuf, (root_ / "Graphics" / name).c_str(), type, nullptr, nullptr));
    g_object_unref(pixbuf);
  }
  VDrawObj* AddPicture(TestPrinter& printer, const std::wstring& name, int x, int y, int w, int h,
                       bool reverse = false) {
    VDrawObj* picture = printer.engine->CreateNewGraphic(
        VPoint{printer.Units(x), printer.Units(y)},
        VPoint{printer.Units(x + w), printer.Units(y + h)}, L"\\SD\\Store\\Graphics\\" + name,
        kVObjPicture, printer.engine->GetNextFreeObjectId(), false, reverse);
    printer.engine->SetSelectByObject(picture);
    printer.engine->OpenSelected();
    printer.engine->CloseSelected(0);
    return picture;
  }

  fs::path saved_, root_;
};

// 8 x 2 pixels, 1 bit per pixel, left half black (palette entry 0).
std::string OneBitBmp() {
  std::string bmp = "BM";
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp += static_cast<char>(v >> (8 * i));
  };
  auto u16 = [&](uint16_t v) { bmp += static_cast<char>(v), bmp += static_cast<char>(v >> 8); };
  u32(14 + 40 + 8 + 8), u32(0), u32(14 + 40 + 8);
  u32(40), u32(8), u32(2), u16(1), u16(1), u32(0), u32(8), u32(2835), u32(2835), u32(2), u32(2);
  u32(0x00000000), u32(0x00ffffff);
  for (int row = 0; row < 2; ++row) bmp += std::string("\x0f\0\0\0", 4);
  return bmp;
}

// A white 1-bit PNG of `w` x `h` pixels.
std::string WhitePng(uint32_t w, uint32_t h) {
  auto u32 = [](std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
  };
  auto chunk = [&](std::string& png, const char* type, const std::string& data) {
    u32(png, static_cast<uint32_t>(data.size()));
    const std::string body = type + data;
    png += body;
    u32(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                         static_cast<uInt>(body.size()))));
  };
  std::string header;
  u32(header, w), u32(header, h);
  header += std::string("\x01\x00\x00\x00\x00", 5);  // 1 bit, grey
  z_stream z{};
  deflateInit(&z, Z_BEST_SPEED);
  std::string row(1 + (w + 7) / 8, '\xff'), idat(1 << 20, '\0');
  row[0] = 0;  // no filter
  z.next_out = reinterpret_cast<Bytef*>(idat.data());
  z.avail_out = static_cast<uInt>(idat.size());
  for (uint32_t y = 0; y < h; ++y) {
    z.next_in = reinterpret_cast<Bytef*>(row.data());
    z.avail_in = static_cast<uInt>(row.size());
    deflate(&z, y + 1 == h ? Z_FINISH : Z_NO_FLUSH);
  }
  idat.resize(z.total_out);
  deflateEnd(&z);
  std::string png = "\x89PNG\r\n\x1a\n";
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", idat);
  chunk(png, "IEND", "");
  return png;
}

// A 1 x 1 GIF whose one pixel is black.
const std::string kBlackGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x21\xf9\x04\x00\x00\x00\x00\x00"
    "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
    43);

// Objects showing one picture share one mask; past the label's picture
// memory the rest are not drawn, said once for the label, and the next label
// counts afresh.
TEST_F(EngineTest, PicturesAreHeldOnceAndALabelsPictureMemoryIsBounded) {
  VellumSettings settings;
  settings.pictureBytesPerLabel = 3 << 20;
  TestPrinter printer(300, settings);
  for (const char* name : {"A.PNG", "B.PNG", "C.PNG", "D.PNG"}) {
    WriteBytes(name, WhitePng(1024, 1024));  // a mask of 1 MiB each
  }
  for (int i = 0; i < 50; ++i) AddPicture(printer, L"A.PNG", i, 0, 10, 10);
  for (const wchar_t* name : {L"B.PNG", L"C.PNG", L"D.PNG"})
    AddPicture(printer, name, 0, 0, 10, 10);
  const auto& objects = printer.engine->model().objects();
  ASSERT_EQ(objects.size(), 53u);
  for (const auto& object : objects) {
    const bool shared = object->data().picture.mask == objects[0]->data().picture.mask;
    EXPECT_EQ(shared, object->data().picture.cardPath == L"\\SD\\Store\\Graphics\\A.PNG");
  }
  EXPECT_EQ(objects[52]->data().picture.mask, nullptr);  // the fourth picture
  printer.PrintOnce();
  EXPECT_EQ(printer.engine->LastPrintDiagnostics(),
            (std::vector<Diagnostic>{{0,
                                      L"pictures not drawn: the label's pictures would take more "
                                      L"than 3 MiB of memory"}}));

  printer.engine->CreateLabel(L"", 0, 0, 0, 0, 1);
  AddPicture(printer, L"D.PNG", 0, 0, 10, 10);
  printer.PrintOnce();
  EXPECT_TRUE(printer.engine->LastPrintDiagnostics().empty());
}

TEST_F(EngineTest, PicturesOfEveryFormatAreScaledIntoTheirBox) {
  SavePicture("half.png", "png", 4, 4);
  SavePicture("half.jpg", "jpeg", 16, 16);
  WriteBytes("half.bmp", OneBitBmp());
  WriteBytes("black.gif", kBlackGif);
  struct Case {
    const wchar_t* file;
    bool reverse;
    int inkLeft, inkWidth;  // of a 200 x 100 box at (100, 50)
  };
  const Case cases[] = {{L"half.png", false, 100, 100}, {L"half.jpg", false, 100, 100},
                        {L"half.bmp", false, 100, 100}, {L"black.gif", false, 100, 200},
                        {L"half.png", true, 200, 100},  {L"half.bmp", true, 200, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file, c.file + wcslen(c.file)));
    TestPrinter printer(300);
    AddPicture(printer, c.file, 100, 50, 200, 100, c.reverse);
    const InkBox ink = InkBounds(printer.PrintOnce());
    EXPECT_TRUE(printer.engine->LastPrintDiagnostics().empty());
    EXPECT_NEAR(ink.left, c.inkLeft, 1);
    EXPECT_NEAR(ink.width(), c.inkWidth, 1);
    EXPECT_NEAR(ink.top, 50, 1);
    EXPECT_NEAR(ink.height(), 100, 1);
  }
}

TEST_F(EngineTest, MissingUnreadableOrStrayPicturesDrawNothingAndAreReported) {
  WriteBytes("broken.png", "\x89PNG\r\n\x1a\nnot really");
  fs::create_directories(root_ / "Logging");
  std::ofstream(root_ / "Logging" / "x.png") << "x";
  // A link out of the store, to a picture that would load.
  const fs::path outside = root_.string() + "-outside.gif";
  std::ofstream(outside, std::ios::binary) << kBlackGif;
  fs::create_symlink(outside, root_ / "Graphics" / "out.gif");
  // A small PNG that unpacks to 20000 x 20000 pixels.
  WriteBytes("bomb.png", WhitePng(20000, 20000));
  struct Case {
    const wchar_t* name;
    std::wstring failure;
  } cases[] = {
      {L"absent.png", L"picture file not found"},
      {L"broken.png", L"not a picture format the engine reads"},
      {L"..\\Logging\\x.png", L"pictures are read from the Graphics folder only"},
      {L"..\\..\\..\\etc\\passwd", L"pictures are read from the Graphics folder only"},
      {L"out.gif", L"the picture's path leads out of the store"},
      {L"bomb.png",
       L"picture too large: 20000 x 20000 pixels, more than the 16000000 this label can use"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
    TestPrinter printer(300);
    VDrawObj* picture = AddPicture(printer, c.name, 10, 10, 100, 100);
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(InkBounds(printer.PrintOnce()).empty());
    ASSERT_EQ(printer.engine->LastPrintDiagnostics().size(), 1u);
    EXPECT_EQ(printer.engine->LastPrintDiagnostics()[0].objectId, picture->GetObjectId());
    const std::wstring& message = printer.engine->LastPrintDiagnostics()[0].message;
    EXPECT_NE(message.find(L"not drawn: " + c.failure), std::wstring::npos) << message.c_str();
  }
  fs::remove(outside);
}

// The budget follows the label: four pixels per dot of it, and 16 million at least.
TEST_F(EngineTest, APicturesPixelBudgetFollowsTheLabel) {
  WriteBytes("wide.png", WhitePng(6000, 3000));  // 18 million pixels
  struct Case {
    int dpi;
    bool drawn;
  } cases[] = {{300, false}, {1200, true}};  // 4 in wide: 1200 or 4800 dots square
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    TestPrinter printer(c.dpi);
    AddPicture(printer, L"wide.png", 10, 10, 100, 100);
    printer.PrintOnce();
    EXPECT_EQ(printer.engine->LastPrintDiagnostics().empty(), c.drawn);
  }
}

// A sink that refuses a label (a full disk, a limit) is handed no more of that print.
TEST_F(EngineTest, ARefusedLabelEndsThePrintsDeliveries) {
  struct RefusingSink : OutputSink {
    bool Accept(const PrintedPage&, std::wstring* error) override {
      if (++offered <= 3) return true;
      *error = L"no room";
      return false;
    }
    int offered = 0;
  } sink;
  VellumSettings settings;
  settings.sink = &sink;
  VellumEngine engine(settings);
  engine.CreateLabel(L"", 0, 0, 0, 0, 1);
  engine.InitPrintData();
  engine.AddPrintData(VPrintData{L"*CurrentLabel*", 100, 1, 1, 0});
  engine.StartPrint(kVPrintDevice, 0, 1, 1);
  EXPECT_EQ(sink.offered, 4);
  ASSERT_EQ(engine.LastPrintDiagnostics().size(), 1u);
  EXPECT_EQ(engine.LastPrintDiagnostics()[0].message, L"printed label not delivered: no room");
}

TEST_F(EngineTest, TheFileRequestCallbackChoosesThePicture) {
  WriteBytes("black.gif", kBlackGif);
  TestPrinter printer(300);
  static std::wstring asked;
  printer.engine->SetFileRequestCallback([](VFileRequest& request, void* param) {
    asked = request.path;
    request.path = *static_cast<std::wstring*>(param);
    request.answered = true;
    return true;
  });
  std::wstring answer = L"\\SD\\Store\\Graphics\\black.gif";
  printer.engine->SetCallbackParam(&answer);
  AddPicture(printer, L"elsewhere.png", 10, 10, 50, 50);
  EXPECT_EQ(asked, L"\\SD\\Store\\Graphics\\elsewhere.png");
  EXPECT_EQ(InkBounds(printer.PrintOnce()).dots, 50 * 50);
}

TEST_F(EngineTest, FilesAreNamedAfterTheJobAndNumberedAcrossPrints) {
  const fs::path out = root_ / "out";
  FileSink sink(out, FileSink::Formats{true, true, true});
  VellumSettings settings;
  settings.sink = &sink;
  settings.dpi = 203;
  VellumEngine engine(settings);
  engine.CreateLabel(L"", 0, 1500, 0, 0, 1);  // 4 x 1.5 in
  engine.SetSelectByObject(engine.CreateNewObject(kVObjRectangle, VRect{0, 0, 500, 500}, 1));
  for (int print = 0; print < 2; ++print) {
    engine.InitPrintData();
    engine.AddPrintData(VPrintData{L"*CurrentLabel*", 2, 1, 1, 0});
    EXPECT_TRUE(engine.StartPrint(kVPrintDevice, 0, 1, 1));
  }
  for (const char* stem : {"CurrentLabel-0001", "CurrentLabel-0004"}) {
    for (const char* extension : {".png", ".pdf", ".json"}) {
      EXPECT_TRUE(fs::exists(out / (std::string(stem) + extension))) << stem << extension;
    }
  }
  EXPECT_FALSE(fs::exists(out / "CurrentLabel-0005.png"));
  std::ifstream pdf(out / "CurrentLabel-0001.pdf", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(pdf)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
  EXPECT_NE(bytes.find("/Count 1"), std::string::npos);  // one page per label
  // The page has the printed label's size: 812 x 305 dots at 203 dpi, in points.
  EXPECT_NE(bytes.find("/MediaBox [ 0 0 288 108.177"), std::string::npos);
  EXPECT_EQ(OutputStem(L"../../x", 7), "x-0007");
  EXPECT_EQ(OutputStem(L"**", 12345), "label-12345");
}

TEST_F(EngineTest, CutterModeMarksWhereTheLabelsAreCut) {
  struct Case {
    int32_t mode;
    std::vector<bool> cuts;
  };
  const Case cases[] = {{kVCutBetweenLabels, {true, true, true}},
                        {kVCutAfterJob, {false, false, true}},
                        {kVCutNever, {false, false, false}}};
  for (const Case& c : cases) {
    TestPrinter printer(203);
    VLabelOptions options;
    printer.engine->GetLabelOptions(options);
    options.cutterMode = c.mode;
    printer.engine->SetLabelOptions(options);
    printer.engine->InitPrintData();
    printer.engine->AddPrintData(VPrintData{L"a", 2, 1, 1, 0});
    printer.engine->AddPrintData(VPrintData{L"b", 1, 1, 1, 0});
    printer.engine->StartPrint(kVPrintDevice, 0, 1, 1);
    std::vector<bool> cuts;
    for (const auto& entry : printer.sink.entries()) cuts.push_back(entry.info.cutAfter);
    EXPECT_EQ(cuts, c.cuts);
  }
}

TEST_F(EngineTest, QueuedJobsKeepTheLabelAsItWasWhenAdded) {
  TestPrinter printer(300);
  VDrawObj* text = printer.AddText(L"first", 10, 10, 500, 100, 12);
  printer.engine->InitPrintData();
  printer.engine->AddPrintData(VPrintData{L"job", 1, 1, 1, 0});
  printer.engine->SetTextFromObject(text, L"second", true);
  printer.engine->AddPrintData(VPrintData{L"job", 1, 1, 1, 0});
  printer.engine->StartPrint(kVPrintPreview, 0, 1, 1);
  EXPECT_TRUE(printer.sink.entries().empty());  // preview keeps the result in memory only
  ASSERT_EQ(printer.engine->LastPrint().size(), 2u);
  EXPECT_EQ(printer.engine->LastPrint()[0].values[0], L"first");
  EXPECT_EQ(printer.engine->LastPrint()[1].values[0], L"second");
  EXPECT_TRUE(printer.engine->StartPrint(kVPrintDevice, 0, 1, 1));  // the queue printed once
  EXPECT_TRUE(printer.engine->LastPrint().empty());
}

TEST_F(EngineTest, BarcodesStayInTheModelAndAreReportedAsNotDrawn) {
  const UnrenderedBarcodes unrendered;
  VellumSettings settings;
  settings.barcodes = &unrendered;
  TestPrinter printer(300, settings);
  VDrawObj* barcode = printer.Add(kVObjBarcode, 50, 50, 600, 100);
  VBarcodeFormat format;
  ASSERT_TRUE(printer.engine->GetBarcodeFormat(format));
  format.typeName = L"Code 39";
  format.data = L"ABC-123";
  ASSERT_TRUE(printer.engine->SetBarcodeFormat(format));
  EXPECT_TRUE(InkBounds(printer.PrintOnce()).empty());
  ASSERT_EQ(printer.engine->LastPrintDiagnostics().size(), 1u);
  EXPECT_EQ(printer.engine->LastPrintDiagnostics()[0].objectId, barcode->GetObjectId());
  const std::string& json = printer.sink.entries().at(0).json;
  EXPECT_NE(json.find("\"data\":\"ABC-123\""), std::string::npos);
  EXPECT_NE(json.find("\"value\":\"ABC-123\""), std::string::npos);
}

TEST_F(EngineTest, SaveToFileWritesTheLabelAsJsonInsideTheStoreOnly) {
  TestPrinter printer(300);
  printer.AddText(L"quote \" and \\ and \x00e9", 10, 10, 500, 100, 12);
  ASSERT_TRUE(printer.engine->SaveToFile(L"\\SD\\Store\\TestLabel.vlm", L"", 0));
  std::ifstream in(root_ / "TestLabel.vlm");
  const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(json.find("\"text\":\"quote \\\" and \\\\ and \xc3\xa9\""), std::string::npos);
  EXPECT_NE(json.find("\"type\":\"text\""), std::string::npos);
  EXPECT_FALSE(printer.engine->SaveToFile(L"C:\\elsewhere.vlm", L"", 0));
}

TEST_F(EngineTest, SelectionAndFormatsIgnoreWhatTheyCannotApplyTo) {
  TestPrinter printer(300);
  VTextFormat text;
  VLineFormat line;
  VBarcodeFormat barcode;
  EXPECT_FALSE(printer.engine->GetTextFormat(text));  // nothing selected
  printer.engine->RotateSelectedObject(90);
  printer.engine->SetSequence(L"1", 5, 1, 1, L"", L"", L"");
  printer.Add(kVObjRectangle, 0, 0, 10, 10);
  EXPECT_FALSE(printer.engine->GetLineFormat(line));
  EXPECT_FALSE(printer.engine->SetBarcodeFormat(barcode));
  EXPECT_EQ(printer.engine->CreateNewObject(999, VRect{}, 5), nullptr);
  EXPECT_FALSE(printer.engine->SetSelectByID(12345));
  EXPECT_EQ(printer.engine->GetSelectedObjectType(), 0);
  EXPECT_EQ(printer.engine->GetNextFreeObjectId(), 2);
  printer.engine->DeleteAllLabelObjects();
  EXPECT_EQ(printer.engine->GetNextFreeObjectId(), 1);
  VLabelData data;
  data.lengthInches = -1.0;
  EXPECT_FALSE(printer.engine->SetLabelData(data));
  data.lengthInches = 1e300;
  data.lengthFixed = 1;
  EXPECT_TRUE(printer.engine->SetLabelData(data));  // cut to the longest label
  printer.Add(kVObjRectangle, 0, 0, 10, 10);
  EXPECT_LE(printer.PrintOnce().height, 50 * 300);
}

}  // namespace
}  // namespace vellum::testing
