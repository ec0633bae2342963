#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/printer/Report.h"
#include "host/printer/SourceIntake.h"
#include "intake/Notifications.h"
#include "platform/ScriptingData.h"

namespace host {
namespace {

struct Outcome {
  std::vector<std::string> posts;  // "ZPL 7" (a job and its size), "dropped 5", "discarded ZPL"
  std::string unfinished;
};

// What a source of `reads` (each followed by a pause) posts, in order.
Outcome Feed(const std::vector<std::string>& reads, size_t limit = 1 << 20, size_t chunk = 0,
             ZplDialect dialect = ZplDialect::kDevice) {
  platform::NotificationQueue window;
  Outcome outcome;
  {
    SourceIntake intake(&window, limit, chunk, {}, dialect);
    for (const std::string& read : reads) {
      intake.Add(read);
      if (&read != &reads.back()) intake.Pause();
    }
    intake.Finish();
    outcome.unfinished = intake.Unfinished();
  }
  while (std::optional<platform::Notification> n = window.TryTake()) {
    if (n->code == NOTIFY_SCRIPTING_DATA) {
      outcome.posts.push_back(std::string(LanguageName(n->job->language)) + " " +
                              std::to_string(n->job->data.size()));
    } else if (n->code == kBytesDroppedNote) {
      outcome.posts.push_back("dropped " + std::to_string(n->value));
    } else if (n->code == kJobDiscardedNote) {
      outcome.posts.push_back(std::string("discarded ") +
                              LanguageName(static_cast<int32_t>(n->value)));
    } else if (n->code == kStatusPollNote) {
      outcome.posts.push_back("poll");
    } else if (n->code == kLooseCommandsNote) {
      outcome.posts.push_back("loose " + std::to_string(n->job->data.size()));
    } else if (n->code == kJobsCancelledNote) {
      outcome.posts.push_back("cancelled " + std::to_string(n->value));
    }
  }
  return outcome;
}

const std::string kZpl = "^XA^FDz^XZ";                       // 10 bytes
const std::string kTpl = "STARTTPL\nTEXT t\nENDTPL";         // 22 bytes
const std::string kDpl = "\x02L\r\n1911A100PRICE\r\nE\r\n";  // 22 bytes

TEST(SourceIntakeTest, EveryJobIsPostedAndWhatIsLostIsSaid) {
  struct Case {
    const char* what;
    std::vector<std::string> reads;
    std::vector<std::string> posts;
    std::string unfinished = "";
    size_t limit = 1 << 20;
    size_t chunk = 0;
  } cases[] = {
      {"jobs of two languages in one read", {kZpl + kTpl + kDpl}, {"ZPL 10", "TPL 22", "DPL 22"}},
      {"line breaks between jobs are no loss", {kZpl + "\r\n" + kZpl + "\n"}, {"ZPL 10", "ZPL 12"}},
      {"text after the last job", {kZpl + " junk"}, {"ZPL 10", "dropped 5"}},
      {"JPL ends with its read; text after it is lost, and said at the pause",
       {"L1;x", "ab", kZpl},
       {"JPL 4", "dropped 2", "ZPL 10"}},
      {"a job split by a pause", {"^XA^FD", "z^XZ" + kTpl}, {"ZPL 10", "TPL 22"}},
      {"a source of no job leaves it to its owner", {"junk", "more"}, {}},
      {"a job without its end", {kZpl + "^XA^FD"}, {"ZPL 10"}, "ZPL"},
      {"a job over the limit",
       {"^XA" + std::string(40, 'x') + "^XZ" + kZpl},
       {"discarded ZPL", "ZPL 10"},
       "",
       16},
      {"reads of a fixed size: one read, one job", {kZpl + kTpl}, {"ZPL 32"}, "", 1 << 20, 64},
      {"reads of a fixed size: a run of lost reads is said once, before the next job",
       {kZpl + "0123456789abcdefghij" + kZpl},
       {"ZPL 10", "dropped 20", "ZPL 10"},
       "",
       1 << 20,
       10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome outcome = Feed(c.reads, c.limit, c.chunk);
    EXPECT_EQ(outcome.posts, c.posts);
    EXPECT_EQ(outcome.unfinished, c.unfinished);
  }
}

// Commands outside any format are a printer's business: questions are no job
// and nothing lost; the full dialect carries the rest out as a job of their
// own, the device drops them with a word; "~JA" cancels what the same read
// brought before it.
TEST(SourceIntakeTest, CommandsOutsideAnyJobAreReadAsAPrinterReadsThem) {
  using enum ZplDialect;
  const struct {
    const char* what;
    ZplDialect dialect;
    std::vector<std::string> reads;
    std::vector<std::string> posts;
  } cases[] = {
      {"device: status queries alone", kDevice, {"~HS\r\n~HQES\r\n"}, {"poll"}},
      {"full: status queries alone", kFull, {"~HS", "^HH"}, {"poll", "poll"}},
      {"device: a lone command is dropped and said", kDevice, {"~WC"}, {"loose 3"}},
      {"device: after a job", kDevice, {kZpl + "\n~JA\n"}, {"ZPL 10", "loose 5"}},
      {"device: before a job it is the job's", kDevice, {"~JA" + kZpl}, {"ZPL 13"}},
      {"text is no command", kDevice, {"hello ~WC"}, {}},
      {"an unknown command is text", kFull, {"^ZZ1"}, {}},
      {"full: a lone command is a job", kFull, {"  ~WC\r\n"}, {"ZPL 7"}},
      {"full: settings alone are a job", kFull, {"~SD25^MNM~MD0"}, {"ZPL 13"}},
      {"full: a query among commands", kFull, {"~HS~JR"}, {"ZPL 6"}},
      {"full: ~JA cancels the read's jobs before it",
       kFull,
       {kZpl + kTpl + "~JA"},
       {"cancelled 2", "ZPL 3"}},
      {"full: ~JA before a job cancels those before, not that one",
       kFull,
       {kZpl + "~JA" + kZpl},
       {"cancelled 1", "ZPL 13"}},
      {"full: jobs of an earlier read have gone to print",
       kFull,
       {kZpl, "~JA"},
       {"ZPL 10", "ZPL 3"}},
      {"full: nothing before it, nothing said", kFull, {"~JA"}, {"ZPL 3"}},
      {"device: ~JA cancels nothing", kDevice, {kZpl + "~JA" + kZpl}, {"ZPL 10", "ZPL 13"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Feed(c.reads, 1 << 20, 0, c.dialect).posts, c.posts);
  }
}

}  // namespace
}  // namespace host
