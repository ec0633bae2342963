#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/printer/JobCutter.h"

namespace host {
namespace {

using Pieces = std::vector<std::string>;

// The pieces of `stream` handed to a cutter in reads of `read` bytes (0: at once).
Pieces Cut(const std::string& stream, size_t read = 0, size_t limit = 1 << 20) {
  Pieces pieces;
  JobCutter cutter(limit, [&](std::string_view piece) { pieces.emplace_back(piece); });
  const size_t step = read == 0 ? stream.size() + 1 : read;
  for (size_t at = 0; at < stream.size(); at += step)
    cutter.Add(std::string_view(stream).substr(at, step));
  cutter.Finish();
  return pieces;
}

const std::string kStx = "\x02";

TEST(JobCutterTest, PiecesEndRightAfterEachJobsTrueEnd) {
  struct Case {
    const char* what;
    std::string stream;
    Pieces pieces;
  } cases[] = {
      {"ZPL jobs", "^XA1^XZ\n^XA2^XZ\n", {"^XA1^XZ", "\n^XA2^XZ", "\n"}},
      {"any case", "^xa1^xZ^Xa2^XZ", {"^xa1^xZ", "^Xa2^XZ"}},
      {"settings ahead of a label stay with it", "~SD15^XA1^XZ", {"~SD15^XA1^XZ"}},
      {"TPL jobs",
       "STARTTPL\nTEXT A\nENDTPL\nstarttpl\nendtpl",
       {"STARTTPL\nTEXT A\nENDTPL", "\nstarttpl\nendtpl"}},
      {"another language's end does not end a job",
       "STARTTPL\nTEXT ^XZ\nENDTPL^XA^FDENDTPL^XZ",
       {"STARTTPL\nTEXT ^XZ\nENDTPL", "^XA^FDENDTPL^XZ"}},
      {"XTPL documents",
       "<TPL-DOCUMENT><LABEL/></TPL-DOCUMENT>\n<tpl-document>x</tpl-document>",
       {"<TPL-DOCUMENT><LABEL/></TPL-DOCUMENT>", "\n<tpl-document>x</tpl-document>"}},
      {"DPL: a line that is exactly E",
       kStx + "n\r\n" + kStx + "L\r\n1911A10001000100PRICE\r\nEND\r\nE\r\n" + kStx + "L\nE\n" +
           kStx + "L\rE\r" + kStx + "L\r\ne",
       {kStx + "n\r\n" + kStx + "L\r\n1911A10001000100PRICE\r\nEND\r\nE\r\n", kStx + "L\nE\n",
        kStx + "L\rE\r", kStx + "L\r\ne"}},
      {"DPL: an E line before the job starts is no end",
       "E\r\n" + kStx + "L\r\nE\r\n",
       {"E\r\n" + kStx + "L\r\nE\r\n"}},
      {"JPL has no true end: never cut",
       "^XA^XZL1;x\n^XA^XZ\nSTARTTPL\nENDTPL",
       {"^XA^XZ", "L1;x\n^XA^XZ\nSTARTTPL\nENDTPL"}},
      {"the earliest start decides",
       "STARTTPL ^XA\nENDTPL^XA\nSTARTTPL^XZ",
       {"STARTTPL ^XA\nENDTPL", "^XA\nSTARTTPL^XZ"}},
      {"a job without its end", "^XA1^XZ^XA no end", {"^XA1^XZ", "^XA no end"}},
      {"no job at all", "hello", {"hello"}},
      {"nothing", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Cut(c.stream), c.pieces);
    EXPECT_EQ(Cut(c.stream, 1), c.pieces);
  }
}

// However the stream arrives, the pieces are the same: no marker is lost or
// split at a read boundary.
TEST(JobCutterTest, ReadBoundariesNeverChangeThePieces) {
  const std::string stream = "~JA^XA^FO1,1^FDone^FS^XZ\r\nSTARTTPL 1.0\nTEXT two\nENDTPL\n" + kStx +
                             "n\r\n" + kStx + "L\r\nD11\r\n1911A1000PRICE\r\nE\r\n" +
                             "<?xml?><TPL-DOCUMENT><TEXT/></TPL-DOCUMENT>^xa^xz" + kStx + "L\rE\r" +
                             kStx + "L\nE";
  const Pieces whole = Cut(stream);
  ASSERT_EQ(whole.size(), 7u);
  for (size_t first = 0; first <= stream.size(); ++first) {
    for (size_t second = first; second <= stream.size(); ++second) {
      Pieces pieces;
      JobCutter cutter(1 << 20, [&](std::string_view piece) { pieces.emplace_back(piece); });
      cutter.Add(std::string_view(stream).substr(0, first));
      cutter.Add(std::string_view(stream).substr(first, second - first));
      cutter.Add(std::string_view(stream).substr(second));
      cutter.Finish();
      ASSERT_EQ(pieces, whole) << "reads end at " << first << " and " << second;
    }
  }
}

// A pause hands over what is held as it stands; the job it falls inside goes
// on in the next bytes and still ends at its own end, except JPL, which has
// none and so ends with its read.
TEST(JobCutterTest, APauseHandsOverWhatIsHeldAndTheJobGoesOn) {
  struct Case {
    const char* what;
    std::vector<std::string> reads;  // each followed by a pause
    Pieces pieces;
  } cases[] = {
      {"a job split by a pause", {"^XA1", "^XZ^XA2^XZ"}, {"^XA1", "^XZ", "^XA2^XZ"}},
      {"jobs and a pause between them", {"^XA1^XZ^XA2", "^XZ"}, {"^XA1^XZ", "^XA2", "^XZ"}},
      {"JPL ends with its read", {"L1;x^XA", "^XA2^XZ"}, {"L1;x^XA", "^XA2^XZ"}},
      {"a DPL end line whose line break came before the pause",
       {kStx + "L\r\n1\r\n", "E\r\n^XA2^XZ"},
       {kStx + "L\r\n1\r\n", "E\r\n", "^XA2^XZ"}},
      {"an E line that ends a read ends its job",
       {kStx + "L\r\nE", "^XA2^XZ"},
       {kStx + "L\r\nE", "^XA2^XZ"}},
      {"bytes without a job", {"ab", "^XA1^XZ"}, {"ab", "^XA1^XZ"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pieces pieces;
    JobCutter cutter(1 << 20, [&](std::string_view piece) { pieces.emplace_back(piece); });
    for (const std::string& read : c.reads) {
      cutter.Add(read);
      cutter.Flush();
    }
    cutter.Finish();
    EXPECT_EQ(pieces, c.pieces);
  }
}

// Bytes ahead of a job that began in an earlier read go out on their own when
// the job passes the limit, and the job goes out from its start marker.
TEST(JobCutterTest, LeadingBytesOfAJobFromAnEarlierReadAreShedAlone) {
  Pieces pieces;
  JobCutter cutter(16, [&](std::string_view piece) { pieces.emplace_back(piece); });
  cutter.Add("^XA1^XZab^XA01");
  cutter.Add(std::string(20, 'x'));
  cutter.Finish();
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], "^XA1^XZ");
  EXPECT_EQ(pieces[1], "ab");
  EXPECT_EQ(pieces[2], "^XA01" + std::string(20, 'x'));
}

// A job past the limit goes out as it stands (for intake to refuse) and the
// rest of it is dropped; what is held never passes the limit by more than a read.
TEST(JobCutterTest, AJobPastTheLimitIsHandedOverOnceAndTheRestDropped) {
  const std::string big(40, 'x');
  struct Case {
    const char* what;
    std::string stream;
    Pieces after;      // the pieces after the oversized one
    size_t oversized;  // jobs longer than the limit
  } cases[] = {
      {"ZPL", "^XA" + big + "^XZ\n^XA1^XZ", {"\n^XA1^XZ"}, 1},
      {"DPL", kStx + "L\r\n" + big + "\r\nE\r\n^XA1^XZ", {"^XA1^XZ"}, 1},
      {"JPL", "L1;" + big + "^XA1^XZ", {}, 1},
      {"bytes without a job", big + big + "^XA1^XZ", {}, 0},
  };
  const size_t limit = 16;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (size_t read : {1, 5, 64}) {
      Pieces pieces;
      JobCutter cutter(limit, [&](std::string_view piece) { pieces.emplace_back(piece); });
      for (size_t at = 0; at < c.stream.size(); at += read) {
        cutter.Add(std::string_view(c.stream).substr(at, read));
        EXPECT_LE(cutter.held(), limit + read);
      }
      cutter.Finish();
      size_t oversized = 0;
      for (const std::string& piece : pieces) {
        const bool job = piece.find("^XA") != std::string::npos ||
                         piece.find("L1;") != std::string::npos ||
                         piece.find(kStx) != std::string::npos;
        oversized += job && piece.size() > limit;
      }
      EXPECT_EQ(oversized, c.oversized) << "reads of " << read;
      const Pieces tail(pieces.end() - std::min(pieces.size(), c.after.size()), pieces.end());
      EXPECT_EQ(tail, c.after) << "reads of " << read;
      if (c.oversized == 0) {
        std::string joined;
        for (const std::string& piece : pieces) joined += piece;
        EXPECT_EQ(joined, c.stream);  // nothing lost but what was too big
      }
    }
  }
}

}  // namespace
}  // namespace host
