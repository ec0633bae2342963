// The text library's per-description lookups run on the asking thread, and
// only those: every other thread glib is asked for is still a thread.
#include <glib.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "vellum/InlineFontLookups.h"

namespace vellum {
namespace {

struct Ran {
  std::atomic<bool> done{false};
  std::thread::id on;
};

gpointer Record(gpointer data) {
  auto* ran = static_cast<Ran*>(data);
  ran->on = std::this_thread::get_id();
  ran->done = true;
  return nullptr;
}

TEST(InlineFontLookups, ThisProgramsDefinitionIsTheOneCalled) { EXPECT_TRUE(FontLookupsInline()); }

TEST(InlineFontLookups, OnlyTheTextLibrarysLookupsRunOnTheCaller) {
  struct Case {
    const char* name;
    bool inlined;
  };
  const Case cases[] = {
      {"[pango] FcFontSetMatch", true},
      {"[pango] FcFontSetSort", true},
      {"[pango] FcInit", false},  // once per process: left as a thread
      {"[pango] FcFontSetMatchAll", false},
      {"FcFontSetMatch", false},
      {"render", false},
      {"", false},
      {nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name != nullptr ? c.name : "(no name)");
    Ran ran;
    GThread* thread = g_thread_new(c.name, Record, &ran);
    ASSERT_NE(thread, nullptr);
    if (c.inlined) {
      EXPECT_TRUE(ran.done) << "ran before g_thread_new returned";
      EXPECT_EQ(ran.on, std::this_thread::get_id());
      g_thread_unref(thread);  // as the text library does; joining would wait on itself
    } else {
      g_thread_join(thread);
      EXPECT_TRUE(ran.done);
      EXPECT_NE(ran.on, std::this_thread::get_id());
    }
  }
}

}  // namespace
}  // namespace vellum
