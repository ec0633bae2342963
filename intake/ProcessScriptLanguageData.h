#pragma once
// Intake: takes every chunk of bytes the host reads from a port, recognises
// which of the five languages it belongs to by start and end markers, joins a
// job's chunks and, when the job's end marker arrives, posts the whole job
// (NOTIFY_SCRIPTING_DATA with an owned ScriptingData) to the host window.
//
// Markers (intake/Languages.h) are searched in an upper-cased copy of each
// chunk, so they match in any case; a marker split across two chunks is not
// seen. Attribution order is ZPL, TPL, JPL, XTPL, DPL (a start marker in the
// chunk, or a pending job); closing order is TPL, ZPL, JPL, XTPL, DPL. At most one job is posted
// per chunk. Bytes that belong to no language are discarded with anything held.
//
// Chunks of any size are kept. A pending job whose bytes would exceed the held
// data limit is discarded whole and the discard is logged in the session log.
//
// One caller at a time (the host's port reader); no locks are taken. The
// window, if any, must outlive this object.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "intake/Languages.h"
#include "platform/HostWindow.h"
#include "platform/ScriptingData.h"

class CProcessScriptLanguageData {
 public:
  static constexpr size_t kDefaultHeldDataLimit = 64u * 1024u * 1024u;

  // Pending-language flags of the state word (the languages' stateFlag).
  static constexpr uint32_t STATE_ZPL = LanguageOf(LANGUAGE_ZPL).stateFlag;
  static constexpr uint32_t STATE_DPL = LanguageOf(LANGUAGE_DPL).stateFlag;
  static constexpr uint32_t STATE_JPL = LanguageOf(LANGUAGE_JPL).stateFlag;
  static constexpr uint32_t STATE_TPL = LanguageOf(LANGUAGE_TPL).stateFlag;
  static constexpr uint32_t STATE_XTPL = LanguageOf(LANGUAGE_XTPL).stateFlag;

  // `window` may be null: then nothing is posted and finished jobs are freed.
  CProcessScriptLanguageData(platform::HostWindow* window, uint32_t messageId);
  virtual ~CProcessScriptLanguageData();

  CProcessScriptLanguageData(const CProcessScriptLanguageData&) = delete;
  CProcessScriptLanguageData& operator=(const CProcessScriptLanguageData&) = delete;

  // Processes one chunk; true when the chunk was attributed to a language.
  bool ProcessIncomingData(const char* bytes, int32_t count);

  // True when every flag asked for is set.
  bool IsState(uint32_t flags) const { return (state_ & flags) == flags; }

  // Largest number of bytes one pending job may hold.
  void SetHeldDataLimit(size_t bytes) { heldDataLimit_ = bytes; }
  size_t HeldDataLimit() const { return heldDataLimit_; }
  size_t HeldLength() const { return heldData_.size(); }
  // Jobs discarded for the limit so far, and the language code of the last,
  // so that the host can tell its user (the session log says so too).
  size_t DiscardedJobs() const { return discardedJobs_; }
  int32_t LastDiscardedLanguage() const { return lastDiscardedLanguage_; }

 protected:
  void AddState(uint32_t flags) { state_ |= flags; }
  void RemoveState(uint32_t flags) { state_ &= ~flags; }
  // Forgets the held data; the caller has taken it.
  void ResetScriptData();
  // Appends a chunk to the held data. A held job that ends in a zero byte (a
  // terminator) has that byte overwritten by the chunk; otherwise the chunk
  // follows the last held byte. False when the limit would be exceeded.
  bool AddScriptingData(const char* bytes, size_t count);
  void SendScriptingDataMessage(std::unique_ptr<ScriptingData> job);
  void SendScriptingPrintSpeedMessage(int32_t speed);
  // Posts the density x 100, truncated toward zero.
  void SendScriptingPrintDensityMessage(double density);

 private:
  void Post(int32_t code, int64_t value, std::unique_ptr<ScriptingData> job = nullptr);
  void DiscardOversizedJob(int32_t language, size_t size);

  platform::HostWindow* window_;
  uint32_t messageId_;
  uint32_t state_ = 0;
  std::vector<char> heldData_;
  size_t heldDataLimit_ = kDefaultHeldDataLimit;
  size_t discardedJobs_ = 0;
  int32_t lastDiscardedLanguage_ = 0;
  std::string upperChunk_;  // reused buffer for the marker search
};
