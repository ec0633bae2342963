#include "intake/ProcessScriptLanguageData.h"

#include <algorithm>
#include <array>

#include "intake/Logging.h"
#include "intake/Notifications.h"
#include "platform/Text.h"

namespace {

// Rows of kLanguages in the order a chunk that ends several pending jobs
// closes them (the table's closing ranks).
constexpr auto kClosingOrder = [] {
  std::array<size_t, kLanguages.size()> rows{};
  for (size_t i = 0; i < kLanguages.size(); ++i) {
    rows[static_cast<size_t>(kLanguages[i].closeRank)] = i;
  }
  return rows;
}();

constexpr uint32_t kEveryLanguage = [] {
  uint32_t flags = 0;
  for (const Language& language : kLanguages) flags |= language.stateFlag;
  return flags;
}();

}  // namespace

CProcessScriptLanguageData::CProcessScriptLanguageData(platform::HostWindow* window,
                                                       uint32_t messageId)
    : window_(window), messageId_(messageId) {}

CProcessScriptLanguageData::~CProcessScriptLanguageData() = default;

bool CProcessScriptLanguageData::ProcessIncomingData(const char* bytes, int32_t count) {
  if (bytes == nullptr || count < 0) count = 0;
  const size_t n = static_cast<size_t>(count);

  // 1. Find the markers in an upper-cased copy of the chunk.
  upperChunk_.assign(bytes == nullptr ? "" : bytes, n);
  for (char& c : upperChunk_) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  std::array<bool, kLanguages.size()> hasStart{}, hasEnd{};
  for (size_t i = 0; i < kLanguages.size(); ++i) {
    hasStart[i] = upperChunk_.find(kLanguages[i].startMarker) != std::string::npos;
    hasEnd[i] = upperChunk_.find(kLanguages[i].endMarker) != std::string::npos;
  }

  // 3. Attribute the chunk (done before keeping it, so that an oversized job
  // can be named; the order of the two steps changes nothing else).
  int32_t language = 0;
  for (size_t i = 0; i < kLanguages.size(); ++i) {
    if (hasStart[i] || IsState(kLanguages[i].stateFlag)) {
      AddState(kLanguages[i].stateFlag);
      language = kLanguages[i].code;
      break;
    }
  }

  // 5. Bytes that belong to no language are dropped with anything held.
  if (language == 0) {
    std::vector<char>().swap(heldData_);
    return false;
  }

  // 2. Keep the bytes.
  if (!AddScriptingData(bytes, n)) {
    DiscardOversizedJob(language, heldData_.size() + n);
    return false;
  }

  // 4. Close jobs whose end marker arrived.
  bool posted = false;
  for (size_t i : kClosingOrder) {
    const uint32_t flag = kLanguages[i].stateFlag;
    if (!hasEnd[i] || !IsState(flag)) continue;
    if (!posted) {
      auto job = std::make_unique<ScriptingData>();
      job->data = std::move(heldData_);
      job->language = language;
      SendScriptingDataMessage(std::move(job));
      posted = true;
    }
    ResetScriptData();
    RemoveState(flag);
  }
  return true;
}

void CProcessScriptLanguageData::ResetScriptData() { std::vector<char>().swap(heldData_); }

bool CProcessScriptLanguageData::AddScriptingData(const char* bytes, size_t count) {
  if (bytes == nullptr) count = 0;
  size_t start = heldData_.size();
  if (start > 0 && heldData_.back() == '\0') --start;  // overwrite the terminator
  if (start + count > heldDataLimit_) return false;
  heldData_.resize(start + count);
  if (count > 0) std::copy(bytes, bytes + count, heldData_.begin() + static_cast<ptrdiff_t>(start));
  return true;
}

void CProcessScriptLanguageData::DiscardOversizedJob(int32_t language, size_t size) {
  ResetScriptData();
  RemoveState(kEveryLanguage);
  ++discardedJobs_;
  lastDiscardedLanguage_ = language;
  CLogging log(kSessionLogName);
  log.Write(L"Job discarded: a pending " + platform::BytesToWide(FindLanguage(language)->name) +
            L" job reached " + platform::IntToWide(static_cast<int64_t>(size)) +
            L" bytes, more than the limit of " +
            platform::IntToWide(static_cast<int64_t>(heldDataLimit_)) + L" bytes");
}

void CProcessScriptLanguageData::SendScriptingDataMessage(std::unique_ptr<ScriptingData> job) {
  Post(NOTIFY_SCRIPTING_DATA, 0, std::move(job));
}

void CProcessScriptLanguageData::SendScriptingPrintSpeedMessage(int32_t speed) {
  Post(NOTIFY_PRINT_SPEED, speed);
}

void CProcessScriptLanguageData::SendScriptingPrintDensityMessage(double density) {
  double scaled = density * 100.0;
  if (!(scaled > -9.2e18 && scaled < 9.2e18)) scaled = 0.0;  // NaN and out-of-range values
  Post(NOTIFY_PRINT_DENSITY, static_cast<int64_t>(scaled));
}

void CProcessScriptLanguageData::Post(int32_t code, int64_t value,
                                      std::unique_ptr<ScriptingData> job) {
  if (window_ == nullptr) return;  // the job, if any, is freed here
  window_->Post(platform::Notification(messageId_, code, value, std::move(job)));
}
