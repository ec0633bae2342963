#pragma once
// Follows one job as it runs and tells its report what the job itself did:
// the SCRIPT_ERROR records it carried, the commands its parser did not know,
// the lines its thread wrote to the store's error logs (never those of other
// threads or processes sharing the store), the log lines that could not be
// written, and labels it started but never printed.
//
// The Printer calls Begin before a job and End after it, on the thread that
// runs the job, and passes the session's records to OnCommand and its
// parser's problems to OnProblem. Between Begin and End the recorder is that
// thread's log observer.

#include <string>
#include <vector>

#include "host/printer/Report.h"
#include "intake/Logging.h"
#include "parsers/ScriptProblem.h"
#include "record/LabelCommand.h"

namespace host {

class JobRecorder {
 public:
  JobRecorder() = default;
  ~JobRecorder();
  JobRecorder(const JobRecorder&) = delete;
  JobRecorder& operator=(const JobRecorder&) = delete;

  // Forgets the last job and starts listening to this thread's log lines.
  void Begin();
  void OnCommand(const LabelCommand& command);
  void OnLogWrite(const LogWrite& write);
  void OnProblem(const ScriptProblem& problem);
  // Stops listening and adds the job's script errors, log lines and notes to
  // `report`. A script error whose text equals a logged message of the job
  // takes that line's place (once per line).
  void End(JobReport& report);

 private:
  void AddFailedWrites(JobReport& report) const;

  bool listening_ = false;
  std::vector<std::wstring> scriptErrors_;
  std::vector<std::string> unsupportedCommands_;
  std::vector<LogWrite> writes_;
  int openLabels_ = 0;  // started since the last print
};

}  // namespace host
