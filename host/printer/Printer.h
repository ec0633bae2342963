#pragma once
// labelhost's virtual printer: one Vellum engine writing printed labels
// through a LabelFileSink, one label session configured from the command line
// (media, offsets, fonts, callbacks), and the recorder of what each job
// did (its script errors and the log lines it wrote). RunJob runs one job the way the device's
// window procedure does and returns what the user should be told about it.
//
// Not thread-safe: the job runner calls it from its job thread only (the
// built-in label commands from the main thread, with no runner). The Printer
// owns everything it uses; the options must outlive it.

#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/printer/JobRecorder.h"
#include "host/printer/LabelFileSink.h"
#include "host/printer/Options.h"
#include "host/printer/Report.h"
#include "platform/HostWindow.h"
#include "platform/ScriptingData.h"
#include "session/SessionManager.h"
#include "vellum/VellumEngine.h"

namespace host {

// The window message the host registers for the engine's notifications.
inline constexpr uint32_t kHostMessageId = 0x8001;

class Printer {
 public:
  // Prepares the store and the output folder. Null, with `error` set, when
  // either cannot be used.
  static std::unique_ptr<Printer> Open(const HostOptions& options, std::string& error);
  // The same, for a command: the error is printed ("labelhost: ...").
  static std::unique_ptr<Printer> OpenForCommand(const HostOptions& options);
  // Closes the printer if Close was not called, and frees the rest.
  ~Printer();

  // Ends the printer's work: the session and its logs are closed, the open
  // job's PDF finished, and the reading of the font list the printer started
  // waited for. What is left is memory the destructor frees, which a program
  // about to end may leave to the process's end (ProcessEnd.h). Call it after
  // the last job is finished or dropped, and nothing else after it.
  void Close();

  // Runs one job from `source` (its `jobNumber`-th) and reports on it. Not
  // for a printer in a batch (Pipeline).
  JobReport RunJob(std::unique_ptr<ScriptingData> job, const std::string& source, int jobNumber);
  // Batches (the job runner): jobs are started in order and finished later in
  // the same order, so that the session runs the next jobs while the labels
  // of the earlier ones render on `threads` threads. Files, their names, the
  // reports and the limits are those of running job after job. Call before
  // the first job; without it StartJob runs the whole job.
  void Pipeline(int threads);
  // Runs `job` through the session; its labels are written by FinishJob.
  void StartJob(std::unique_ptr<ScriptingData> job, const std::string& source, int jobNumber);
  size_t startedJobs() const { return started_.size(); }
  // The report so far of the job FinishJob finishes next (there must be one).
  const JobReport& nextToFinish() const { return started_.front().report; }
  // Writes the labels of the oldest started job and reports on it.
  JobReport FinishJob();
  // Forgets the started jobs: nothing more of them is written or reported.
  void DropStartedJobs();

  // Hands every printed label to `tap` as well (not owned; null for none).
  void SetLabelTap(vellum::OutputSink* tap) { sink_.SetTap(tap); }

  // Runs a built-in label: `print` calls the session's operation.
  JobReport RunBuiltIn(const std::string& name, const std::function<void(CSessionManager&)>& print);

  // True once a label could not be written; nothing more will be.
  bool failed() const { return sink_.failed(); }
  const std::string& failure() const { return sink_.failure(); }
  // True once a limit of the run stopped the labels: nothing more will print.
  bool runLimitReached() const { return sink_.runLimitReached(); }

  // Waits, the first time, for the list Open started reading.
  const std::vector<std::string>& fontNames() const { return fontNames_.get(); }
  const HostOptions& options() const { return options_; }

 private:
  // The session's main window: follows the prints of a job (NOTIFY_LABEL_PRINTING) and
  // whether each one started, to tell refused prints apart.
  class SessionWindow : public platform::HostWindow {
   public:
    explicit SessionWindow(Printer& printer) : printer_(printer) {}
    void Post(platform::Notification notification) override;

   private:
    Printer& printer_;
  };

  // A job the session has run whose labels are not written yet.
  struct StartedJob {
    JobReport report;
    int64_t engineJob = 0;  // 0: run whole, the report is complete
    std::set<std::wstring> promptsAsked;
    // Delivery began while the session ran the job (it was the oldest):
    // the sink's job is open, and what the prints delivered so far could not
    // do waits here for FinishJob.
    bool delivering = false;
    std::vector<vellum::Diagnostic> delivered;
  };

  using FontNameList = std::shared_future<std::vector<std::string>>;
  Printer(const HostOptions& options, FontNameList fontNames);
  vellum::VellumSettings EngineSettings();
  std::optional<std::wstring> AnswerPrompt(const std::wstring& prompt);
  void NotePrompts(JobReport& report, const std::set<std::wstring>& promptsAsked) const;
  void AddDiagnostics(const std::vector<vellum::Diagnostic>& diagnostics, JobReport& report);
  void NoteDialect(JobReport& report) const;
  void PrintAskedConfiguration();
  void ConfigureSession();
  void BeginReport(JobReport& report);
  void EndReport(JobReport& report);
  void OpenPrint();
  // A job with no older job to wait for: its labels go to the sink while the
  // session runs it, so that a job of many labels never holds them all.
  void BeginEarlyDelivery(StartedJob& started);
  void DeliverEarly();
  void ClosePrint();
  void HarvestDiagnostics();
  bool Decide(PrintDecision decision, const char* reason);

  const HostOptions& options_;
  FontNameList fontNames_;
  LabelFileSink sink_;
  JobRecorder recorder_;
  std::unique_ptr<vellum::VellumEngine> engine_;
  SessionWindow window_;
  std::unique_ptr<CSessionManager> session_;

  // The job being run.
  JobReport* current_ = nullptr;
  bool printOpen_ = false;       // a print was announced ...
  bool printStarted_ = false;    // ... and got past the checks
  bool diagnosticsDue_ = false;  // the engine printed since the last harvest
  std::vector<std::string> pendingRefusals_;
  std::set<std::wstring> promptsAsked_;
  int configurationAsked_ = 0;  // "~WC" records the session passed

  bool pipelined_ = false;
  std::deque<StartedJob> started_;
  StartedJob* early_ = nullptr;  // the job being run, while it delivers early

  // The whole run.
  std::set<std::wstring> substitutionsReported_;
};

}  // namespace host
