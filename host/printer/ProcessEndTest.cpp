// Memory is left to the process's end only where the program asks for it:
// tests and programs calling the commands in-process free everything, and
// leak-checking builds always do.
#include <gtest/gtest.h>

#include <memory>

#include "host/printer/ProcessEnd.h"

namespace host {
namespace {

struct Counted {
  explicit Counted(int& freed) : freed_(freed) {}
  ~Counted() { ++freed_; }
  int& freed_;
};

TEST(ProcessEnd, FreesUnlessTheProgramLeavesMemoryToExit) {
  int freed = 0;
  ASSERT_FALSE(MemoryLeftToExit());  // nothing in-process turns it on
  LeaveToExit(std::make_unique<Counted>(freed));
  EXPECT_EQ(freed, 1);

  SetMemoryLeftToExit(true);
  EXPECT_EQ(MemoryLeftToExit(), !kLeaksChecked);
  auto kept = std::make_unique<Counted>(freed);
  Counted* raw = kept.get();
  LeaveToExit(std::move(kept));
  SetMemoryLeftToExit(false);
  EXPECT_EQ(freed, kLeaksChecked ? 2 : 1);
  if (!kLeaksChecked) delete raw;  // this process goes on
}

}  // namespace
}  // namespace host
