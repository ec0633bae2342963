// The full dialect's stored formats. "^DF" keeps the rest of its format (up
// to "^XZ") in the store's Formats folder instead of printing it; "^XF"
// recalls one, and "^FN" numbers the fields that the recalling format fills
// ("^FN1^FDdata^FS"). The recalled commands run when the recalling format
// ends, once every field's data is known. Recalls nest, but a format that
// recalls itself, or recalls too much, is stopped with a log line.

#include <algorithm>

#include "parsers/zpl/ZPLEncoding.h"
#include "parsers/zpl/ZPLReader.h"
#include "parsers/zpl/ZPLStore.h"
#include "parsers/zpl/full/ZPLFullParser.h"
#include "platform/Text.h"

namespace {

constexpr size_t kMostRecallDepth = 8;
// Commands one job may run from stored formats: formats that recall each
// other several times over must not multiply without end.
constexpr size_t kMostRecalledCommands = 100'000;

std::wstring FormatName(std::wstring_view object) {
  return platform::Trim(object.substr(0, object.find(L',')));
}

std::string Bytes(const std::wstring& command) {
  std::string bytes;
  bytes.reserve(command.size());
  for (wchar_t c : command) bytes.push_back(static_cast<char>(c));
  return bytes;
}

}  // namespace

// "^DFd:o.x": the commands up to "^XZ" are the format's content.
bool ZPLFullParser::DownloadFormat(const ZPLCommand& command) {
  const auto name = ZplObjectFileName(FormatName(command.parameters), L"ZPL");
  if (!name || !recallStack_.empty()) {
    ReportBadParameters(L"DOWNLOAD FORMAT", command);
    return true;
  }
  EmitField();
  field_ = ZPLFullField{};
  storingFormat_ = *name;
  storedBytes_.clear();
  return true;
}

// A command of a format being stored. The prefix changes are left out: the
// reader has already written every command with "^" and "~".
bool ZPLFullParser::StoreCommand(const std::wstring& command) {
  if (!command.starts_with(L"^XZ")) {
    if (!command.starts_with(L"^CC") && !command.starts_with(L"~CC") &&
        !command.starts_with(L"^CT") && !command.starts_with(L"~CT")) {
      storedBytes_ += Bytes(command);
      storedBytes_ += '\n';
    }
    return true;
  }
  formatCache_.erase(storingFormat_);
  if (const int error = StoreZplFormat(storingFormat_, storedBytes_); error != 0) {
    ReportError(L"Format " + ZplNotStored(storingFormat_, error));
  }
  storingFormat_.clear();
  storedBytes_.clear();
  return EndLabel(zpl::MakeCommand(command));
}

// "^XFd:o.x". In the recalling format it waits for "^XZ"; inside a recalled
// format it runs at once.
bool ZPLFullParser::RecallFormat(const ZPLCommand& command) {
  const auto name = ZplObjectFileName(FormatName(command.parameters), L"ZPL");
  if (!name) {
    ReportBadParameters(L"RECALL FORMAT", command);
    return true;
  }
  if (recallStack_.empty()) {
    recalls_.push_back(*name);
  } else {
    RunStoredFormat(*name);
  }
  return true;
}

// "^FNn": the field's number; a field with a number and data but no origin
// gives that data to the stored format's field of the same number.
bool ZPLFullParser::FieldNumber(const ZPLCommand& command) {
  const std::wstring_view text = command.parameters;
  std::wstring digits;
  for (size_t i = 0; i < text.size() && i < 5 && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    digits.push_back(text[i]);
  }
  if (digits.empty()) {
    ReportBadParameters(L"FIELD NUMBER", command);
    return true;
  }
  field_.fieldNumber = platform::LeadingInt(digits);
  return true;
}

// True when the field was a numbered field's data for a stored format: it is
// kept, not printed. Inside a recalled format a numbered field takes it.
bool ZPLFullParser::NumberedField() {
  if (field_.fieldNumber <= 0) return false;
  if (!recallStack_.empty()) {
    if (auto value = fieldValues_.find(field_.fieldNumber); value != fieldValues_.end()) {
      field_.data = value->second;
      field_.hasData = true;
    }
    return false;
  }
  if (field_.hasOrigin || field_.objectCommand) return false;
  if (field_.hasData) {
    fieldValues_[field_.fieldNumber] =
        field_.hex ? DecodeZplHex(field_.data, field_.hexIndicator) : field_.data;
  }
  return true;
}

void ZPLFullParser::RunRecalls() {
  std::vector<std::wstring> recalls;
  recalls.swap(recalls_);
  for (const std::wstring& name : recalls) RunStoredFormat(name);
  fieldValues_.clear();
}

void ZPLFullParser::RunStoredFormat(const std::wstring& name) {
  if (std::find(recallStack_.begin(), recallStack_.end(), name) != recallStack_.end()) {
    ReportError(L"Stored format " + name + L" recalls itself, recall skipped");
    return;
  }
  if (recallStack_.size() >= kMostRecallDepth) {
    ReportError(L"Stored format " + name + L" recalled too deep, recall skipped");
    return;
  }
  auto cached = formatCache_.find(name);
  if (cached == formatCache_.end()) {
    auto bytes = LoadZplFormat(name);
    if (!bytes) {
      ReportError(L"Stored format not found: " + name);
      return;
    }
    cached = formatCache_.emplace(name, std::move(*bytes)).first;
  }
  // The commands are cut before any of them runs: a "^DF" among them cannot
  // change what is being read.
  const std::vector<std::wstring> commands = CutZplCommands(cached->second, kFullReading);
  recallStack_.push_back(name);
  EmitField();
  field_ = ZPLFullField{};
  for (const std::wstring& command : commands) {
    if (++recalledCommands_ > kMostRecalledCommands) {
      if (recalledCommands_ == kMostRecalledCommands + 1) {
        ReportError(L"Stored formats recall more than " +
                    platform::IntToWide(kMostRecalledCommands) + L" commands, recall stopped");
      }
      break;
    }
    // A stored format is the inside of a format: it neither opens nor ends one.
    if (command.starts_with(L"^XA") || command.starts_with(L"^XZ")) continue;
    RunCommand(command);
  }
  EmitField();
  field_ = ZPLFullField{};
  recallStack_.pop_back();
}

// Between jobs nothing is pending; a format still being stored when its job
// ends had no "^XZ" and is not kept.
void ZPLFullParser::ResetStoredFormats() {
  if (!storingFormat_.empty()) {
    const std::wstring name = storingFormat_;
    storingFormat_.clear();
    ReportError(L"Format " + name + L" not stored, the job ended before its ^XZ");
  }
  storedBytes_.clear();
  recalls_.clear();
  recallStack_.clear();
  fieldValues_.clear();
  recalledCommands_ = 0;
  formatCache_.clear();
}
