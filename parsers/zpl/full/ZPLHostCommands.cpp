// Commands addressed to the printer rather than to a label: "~JA" (cancel
// all) and "^ID" (delete stored objects). Neither draws anything; the host
// carries out what lies beyond one job (the jobs of the same source that
// wait before a "~JA", the configuration label of "~WC").

#include "parsers/zpl/ZPLStore.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "platform/Text.h"

// What this job received before "~JA" is waiting to print: it is dropped,
// formats and settings alike; stored graphics and formats stay.
bool ZPLFullParser::CancelAll(const ZPLCommand&) {
  BeginPass();
  return true;
}

// "^IDd:o.x": the object's name and extension may hold "*" and "?".
bool ZPLFullParser::DeleteObject(const ZPLCommand& command) {
  std::wstring object(platform::Trim(command.parameters));
  if (object.empty()) object = L"R:UNKNOWN.GRF";
  if (!DeleteZplObjects(object)) ReportBadParameters(L"OBJECT DELETE", command);
  return true;
}
