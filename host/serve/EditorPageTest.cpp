// The editor page in a real browser (headless Chromium): typing a job
// re-renders the picture, the job's script error is listed with its line,
// clicking it puts the cursor there and marks the line, the last keystroke's
// answer is the one that stays, and a screenshot shows the expected layout.
// Skipped, saying why, when the browser cannot start.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "host/serve/BrowserTestSupport.h"
#include "host/serve/ServeTestSupport.h"

namespace host::testing {
namespace {

// A 2 x 1 in label at 8 dpmm: a black box whose left edge is at `x` dots,
// and an unknown command on line 3.
std::string BoxJob(int x) {
  return "^XA\n^FO" + std::to_string(x) + ",20^GB100,100,100^FS\n^XYZ\n^XZ\n";
}

// Whether the label picture has ink at dot (x, y), read in the page.
std::string InkAt(int x, int y) {
  return "(() => { const p = document.getElementById('picture');"
         " if (!p.complete || !p.naturalWidth) return 'loading';"
         " const c = document.createElement('canvas'); c.width = p.naturalWidth;"
         " c.height = p.naturalHeight; const g = c.getContext('2d'); g.drawImage(p, 0, 0);"
         " return g.getImageData(" +
         std::to_string(x) + ", " + std::to_string(y) +
         ", 1, 1).data[0] < 128 ? 'ink' : 'blank'; })()";
}

class EditorPageTest : public ::testing::Test {
 protected:
  EditorPageTest() : server_(dir_, {"--port", "off"}), browser_(dir_) {}

  void SetUp() override {
    ASSERT_TRUE(server_.started()) << server_.Stderr();
    if (browser_.Call("Browser.getVersion", "{}").empty())
      GTEST_SKIP() << "Chromium could not start (is the chromium package installed?)";
    ASSERT_TRUE(browser_.Open("http://127.0.0.1:" + std::to_string(server_.httpPort()) + "/edit"));
    ASSERT_FALSE(browser_
                     .Call("Emulation.setDeviceMetricsOverride",
                           "{\"width\":1000,\"height\":700,\"deviceScaleFactor\":1,"
                           "\"mobile\":false}")
                     .empty());
    ASSERT_TRUE(browser_.WaitFor("document.getElementById('status').textContent", "rendered"));
    browser_.Evaluate("document.getElementById('width').value = 2");
    browser_.Evaluate("document.getElementById('height').value = 1");
  }

  // Replaces the job by typing `text` into the editor, as a user would.
  void Type(const std::string& text) {
    browser_.Evaluate("document.getElementById('job').select()");
    std::string quoted;
    for (char c : text) quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
    browser_.Call("Input.insertText", "{\"text\":\"" + quoted + "\"}");
  }

  void Click(const std::string& element) {
    const std::string box = element + ".getBoundingClientRect()";
    const std::string x = browser_.Evaluate("Math.round(" + box + ".left + 20)");
    const std::string y = browser_.Evaluate("Math.round(" + box + ".top + 5)");
    for (const char* type : {"mousePressed", "mouseReleased"}) {
      browser_.Call("Input.dispatchMouseEvent", std::string("{\"type\":\"") + type +
                                                    "\",\"x\":" + x + ",\"y\":" + y +
                                                    ",\"button\":\"left\",\"clickCount\":1}");
    }
  }

  ScratchDir dir_;
  ServerProcess server_;
  Browser browser_;
};

TEST_F(EditorPageTest, TypingRendersListsTheErrorAndClickingItMovesTheCursor) {
  const std::string kPicture = "document.getElementById('picture')";
  Type(BoxJob(20));
  ASSERT_TRUE(browser_.WaitFor(kPicture + ".naturalWidth + 'x' + " + kPicture + ".naturalHeight",
                               "406x203"));
  ASSERT_TRUE(browser_.WaitFor(InkAt(50, 50), "ink"));
  EXPECT_EQ(browser_.Evaluate(InkAt(250, 50)), "blank");
  EXPECT_EQ(browser_.Evaluate("document.getElementById('page').textContent"), "label 1 of 1");
  const std::string kError = "document.querySelector('#problems li.error')";
  ASSERT_TRUE(browser_.WaitFor(kError + " && " + kError + ".textContent",
                               "3:1: error: Unsupported command: ^XYZ"));

  // The layout: the dark header across the top, the editor with its line
  // numbers on the left, the label's box drawn in the picture on the right.
  Picture shot;
  std::string png;
  ASSERT_TRUE(browser_.Screenshot(shot, &png));
  if (const char* keep = std::getenv("LABELHOST_EDITOR_SCREENSHOT_OUT")) {
    std::ofstream(keep, std::ios::binary) << png;  // the README's picture
  }
  ASSERT_EQ(shot.width, 1000u);
  const uint8_t* header = shot.At(500, 5);
  EXPECT_EQ((std::vector<int>{header[0], header[1], header[2]}), (std::vector<int>{39, 50, 63}));
  const int gutterRight = std::stoi(browser_.Evaluate(
      "Math.round(document.getElementById('gutter').getBoundingClientRect().right)"));
  const int pictureLeft =
      std::stoi(browser_.Evaluate("Math.round(" + kPicture + ".getBoundingClientRect().left)"));
  const int pictureTop =
      std::stoi(browser_.Evaluate("Math.round(" + kPicture + ".getBoundingClientRect().top)"));
  const double scale = std::stod(browser_.Evaluate(kPicture + ".getBoundingClientRect().width / " +
                                                   kPicture + ".naturalWidth"));
  EXPECT_LT(gutterRight, 500) << "the editor on the left";
  EXPECT_GT(pictureLeft, 500) << "the picture on the right";
  const uint8_t* ink = shot.At(static_cast<uint32_t>(pictureLeft + 60 * scale),
                               static_cast<uint32_t>(pictureTop + 60 * scale));
  EXPECT_LT(ink[0] + ink[1] + ink[2], 100) << "the label's black box";

  // Clicking the error: the cursor to line 3, column 1, and the line marked.
  Click(kError);
  EXPECT_TRUE(browser_.WaitFor("document.getElementById('job').selectionStart",
                               std::to_string(BoxJob(20).find("^XYZ"))));
  EXPECT_EQ(browser_.Evaluate("document.activeElement.id"), "job");
  EXPECT_EQ(browser_.Evaluate("document.querySelector('#gutter .marked').textContent"), "3");

  // The picture changes with the next edit.
  Type(BoxJob(250));
  EXPECT_TRUE(browser_.WaitFor(InkAt(300, 50), "ink"));
  EXPECT_EQ(browser_.Evaluate(InkAt(50, 50)), "blank");
  EXPECT_EQ(browser_.Evaluate("document.querySelectorAll('#gutter .marked').length"), "0")
      << "an edit clears the mark";
}

TEST_F(EditorPageTest, AReportedPositionIsWhereAClickGoes) {
  Type("^XA\n^FO10,10^FDone^FS\n^FO10,40^FDtwo^FS\n^XZ\n");
  ASSERT_TRUE(browser_.WaitFor("document.getElementById('status').textContent", "rendered"));
  // A report entry as the JSON report carries it with its position.
  browser_.Evaluate(
      "showProblems([{language: 'ZPL', script_errors: [{message: 'Bad field', line: 3, column: "
      "4}], warnings: [{message: 'Text leaves the label', line: 2, column: 1}], log: [], "
      "diagnostics: [], notes: []}])");
  EXPECT_EQ(browser_.Evaluate("document.querySelector('#problems li.error').textContent"),
            "3:4: error: Bad field");
  EXPECT_EQ(browser_.Evaluate("document.querySelector('#problems li.warning').textContent"),
            "2:1: warning: Text leaves the label");
  Click("document.querySelector('#problems li.error')");
  EXPECT_TRUE(browser_.WaitFor("document.getElementById('job').selectionStart",
                               std::to_string(std::string("^XA\n^FO10,10^FDone^FS\n^FO").size())));
  EXPECT_EQ(browser_.Evaluate("document.querySelector('#gutter .marked').textContent"), "3");
}

TEST_F(EditorPageTest, OnlySendToPrinterPrints) {
  Type(BoxJob(20));
  ASSERT_TRUE(browser_.WaitFor(InkAt(50, 50), "ink"));
  EXPECT_TRUE(FileNames(dir_ / "out").empty()) << "previews print nothing";
  Click("document.getElementById('print')");
  ASSERT_TRUE(browser_.WaitFor("document.getElementById('answer').textContent", "printed"));
  EXPECT_TRUE(server_.WaitForFiles("out", 1));
  EXPECT_NE(server_.Stdout().find("\"source\":\"http-1\",\"job\":1,"), std::string::npos)
      << server_.Stdout();
}

TEST_F(EditorPageTest, TheLastKeystrokesAnswerStays) {
  // Renders asked back to back, as fast typing does past the debounce: the
  // earlier answer must never replace the later one.
  for (int x : {20, 150, 250, 20, 250}) {
    browser_.Evaluate("document.getElementById('job').value = '" + BoxJob(x).substr(0, 3) +
                      "\\n^FO" + std::to_string(x) + ",20^GB100,100,100^FS\\n^XZ'; render()");
  }
  ASSERT_TRUE(browser_.WaitFor("document.getElementById('status').textContent", "rendered"));
  ASSERT_TRUE(browser_.WaitFor(InkAt(300, 50), "ink"));
  std::this_thread::sleep_for(std::chrono::seconds(1));  // any stale answer would land by now
  EXPECT_EQ(browser_.Evaluate(InkAt(300, 50)), "ink");
  EXPECT_EQ(browser_.Evaluate(InkAt(50, 50)), "blank");
}

}  // namespace
}  // namespace host::testing
