#pragma once
// What the session tests share: a session wired to the recording engine and
// a recording host window, with the store root moved to a folder of its own
// (the session log lands there), and builders for command records.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "intake/Notifications.h"
#include "platform/ScriptingData.h"
#include "platform/StorageCard.h"
#include "record/CommandRecord.h"
#include "record/LabelCommand.h"
#include "session/SessionManager.h"
#include "testing/LogFiles.h"
#include "testing/RecordingEngine.h"
#include "testing/RecordingHostWindow.h"
#include "testing/ScopedStoreRoot.h"

using Codes = std::vector<int32_t>;
using Trace = std::vector<std::wstring>;

// Opens the session's protected operations and state to the tests.
class TestSession : public CSessionManager {
 public:
  using CSessionManager::ActOnCommands;
  using CSessionManager::CreateBarCode;
  using CSessionManager::CSessionManager;

  int32_t VariableDataKind() const { return variableDataKind_; }
  int32_t LargestLabelCount() const { return largestLabelCount_; }
  int32_t InstalledRotation() const { return installedRotation_; }
  int32_t ScriptErrorCount() const { return scriptErrorCount_; }
};

inline LabelCommand Cmd(int32_t kind, std::vector<std::wstring> params = {}) {
  return LabelCommand{kind, std::move(params)};
}

// A job in `language` (intake/Languages.h) holding `bytes`.
inline std::unique_ptr<ScriptingData> Job(int32_t language, const std::string& bytes) {
  auto job = std::make_unique<ScriptingData>();
  job->language = language;
  job->data.assign(bytes.begin(), bytes.end());
  return job;
}

inline platform::LOGFONTW Font(const wchar_t* face, int32_t weight = 400) {
  return platform::LOGFONTW{0, weight, 0, 0, 0, face};
}

inline std::vector<int32_t> Corners(const VRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// `p` with `changes` applied (growing it as needed), then cut or padded with
// empty strings to `count` unless that is 0.
inline std::vector<std::wstring> With(std::vector<std::wstring> p,
                                      const std::map<size_t, std::wstring>& changes,
                                      size_t count = 0) {
  for (const auto& [i, v] : changes) {
    if (i >= p.size()) p.resize(i + 1);
    p[i] = v;
  }
  if (count) p.resize(count);
  return p;
}

// A plain text command: text, x, y, width, height (dots), font, sizing, points,
// justification, unused, rotation, box drawn, box thickness, five flags.
inline std::vector<std::wstring> TextParams(const std::map<size_t, std::wstring>& changes = {},
                                            size_t count = record::TextParam::kRequired) {
  return With({L"Hello", L"30", L"60", L"300", L"90", L"Arial", L"MANUAL", L"12", L"L", L"", L"0",
               L"F", L"1", L"F", L"F", L"F", L"F", L"F"},
              changes, count);
}

class SessionTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kMessageId = 0xC123;

  SessionTest() {
    session.SetMainWindow(&window);
    session.messageId = kMessageId;
  }

  void Run(const CommandList& commands) { session.ActOnCommands(commands); }

  // Runs one command on a fresh label and a fresh call record; the last
  // object on the label, or null.
  const RecordedObject* Build(int32_t kind, std::vector<std::wstring> params) {
    engine.ClearCalls();
    Run({Cmd(START_LABEL), Cmd(kind, std::move(params))});
    return engine.Objects().empty() ? nullptr : engine.Objects().back().get();
  }

  // The session log's whole text (UTF-8).
  std::string Log() const { return ReadLogFile(store.Root(), "SESSIONMANAGER_ERROR_LOG.TXT"); }
  bool Logged(const std::string& line) const { return Log().find(line) != std::string::npos; }

  ScopedStoreRoot store;  // first: the session's log is made in it
  RecordingEngine engine;
  RecordingHostWindow window;
  TestSession session{&engine};
};
