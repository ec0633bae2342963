#pragma once
// The notification codes the engine posts to the host window. The code is the
// first message parameter; the second is a value (see each code).

#include <cstdint>

enum NotificationCode : int32_t {
  NOTIFY_SCRIPTING_DATA = 32,   // intake: a job is complete; carries the ScriptingData
  NOTIFY_SCRIPT_STARTED = 33,   // session: before parsing a job; value 0
  NOTIFY_LABEL_PRINTING = 34,   // session: at the start of each print; value 0
  NOTIFY_SCRIPT_FINISHED = 35,  // session: after a job's commands ran; value 0
  NOTIFY_PROMPT_CREATED = 37,   // session: a prompted text or barcode was created; value 0
  NOTIFY_PRINT_SPEED = 38,      // speed value
  NOTIFY_PRINT_DENSITY = 39,    // density x 100, truncated
};
