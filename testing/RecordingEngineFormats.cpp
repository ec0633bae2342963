// The recording engine's formats, data sources, printing and fields: the
// formats belong to the selected object (reads without a selection give the
// defaults and answer false), the label options to the label.

#include "testing/CallArgs.h"
#include "testing/RecordingEngine.h"

using callargs::Arg;

namespace {

// Reads `field` of the selected object into `out`; defaults when none.
template <typename T>
bool ReadFrom(RecordedObject* selected, T RecordedObject::*field, T& out) {
  out = selected ? selected->*field : T{};
  return selected != nullptr;
}

}  // namespace

bool RecordingEngine::GetBarcodeLayout(VBarcodeLayout& layout) {
  Record("GetBarcodeLayout", {});
  return ReadFrom(selected_, &RecordedObject::barcodeLayout, layout);
}

bool RecordingEngine::SetBarcodeLayout(const VBarcodeLayout& layout) {
  Record("SetBarcodeLayout", {Arg(layout)});
  return SetOnSelected(&RecordedObject::barcodeLayout, layout);
}

bool RecordingEngine::GetLabelOptions(VLabelOptions& options) {
  Record("GetLabelOptions", {});
  options = labelOptions;
  return true;
}

bool RecordingEngine::SetLabelOptions(const VLabelOptions& options) {
  Record("SetLabelOptions", {Arg(options)});
  labelOptions = options;
  return true;
}

bool RecordingEngine::GetLineFormat(VLineFormat& format) {
  Record("GetLineFormat", {});
  return ReadFrom(selected_, &RecordedObject::lineFormat, format);
}

bool RecordingEngine::SetLineFormat(const VLineFormat& format) {
  Record("SetLineFormat", {Arg(format)});
  return SetOnSelected(&RecordedObject::lineFormat, format);
}

bool RecordingEngine::GetTextFormat(VTextFormat& format) {
  Record("GetTextFormat", {});
  return ReadFrom(selected_, &RecordedObject::textFormat, format);
}

bool RecordingEngine::SetTextFormat(const VTextFormat& format) {
  Record("SetTextFormat", {Arg(format)});
  return SetOnSelected(&RecordedObject::textFormat, format);
}

bool RecordingEngine::GetBarcodeFormat(VBarcodeFormat& format) {
  Record("GetBarcodeFormat", {});
  return ReadFrom(selected_, &RecordedObject::barcodeFormat, format);
}

bool RecordingEngine::SetBarcodeFormat(const VBarcodeFormat& format) {
  Record("SetBarcodeFormat", {Arg(format)});
  return SetOnSelected(&RecordedObject::barcodeFormat, format);
}

bool RecordingEngine::GetTextAlignment(VTextAlignment& alignment) {
  Record("GetTextAlignment", {});
  return ReadFrom(selected_, &RecordedObject::textAlignment, alignment);
}

bool RecordingEngine::SetTextAlignment(const VTextAlignment& alignment) {
  Record("SetTextAlignment", {Arg(alignment)});
  return SetOnSelected(&RecordedObject::textAlignment, alignment);
}

// --- Data sources ---

void RecordingEngine::SetDataSource(int32_t source) {
  Record("SetDataSource", {Arg(source)});
  if (selected_) selected_->dataSource = source;
}

void RecordingEngine::SetSequence(const std::wstring& start, int32_t labelCount, int32_t increment,
                                  int32_t repeatEach, const std::wstring& prefix,
                                  const std::wstring& postfix, const std::wstring& format) {
  Record("SetSequence",
         {start, Arg(labelCount), Arg(increment), Arg(repeatEach), prefix, postfix, format});
  if (!selected_) return;
  selected_->sequenceStart = start;
  selected_->sequenceCount = labelCount;
  selected_->sequenceIncrement = increment;
  selected_->sequencePrefix = prefix;
  selected_->sequencePostfix = postfix;
}

void RecordingEngine::SetDateTimeFormat(const std::wstring& picture, int32_t update) {
  Record("SetDateTimeFormat", {picture, Arg(update)});
  if (selected_) selected_->dateTimePicture = picture;
}

void RecordingEngine::SetPrompt(const std::wstring& prompt, const std::wstring& defaultValue,
                                int32_t maxLength, const std::wstring& caption, int32_t required,
                                const std::wstring& validCharacters,
                                const std::wstring& inputMask) {
  Record("SetPrompt", {prompt, defaultValue, Arg(maxLength), caption, Arg(required),
                       validCharacters, inputMask});
  if (!selected_) return;
  selected_->promptText = prompt;
  selected_->promptDefault = defaultValue;
  selected_->promptCaption = caption;
}

void RecordingEngine::RefreshLabel(int32_t labelIndex, int32_t redraw) {
  Record("RefreshLabel", {Arg(labelIndex), Arg(redraw)});
}

// --- Printing ---

void RecordingEngine::InitPrintData() {
  Record("InitPrintData", {});
  printQueue.clear();
}

void RecordingEngine::AddPrintData(const VPrintData& job) {
  Record("AddPrintData", {Arg(job)});
  printQueue.push_back(job);
}

bool RecordingEngine::StartPrint(int32_t destination, int32_t showDialog, int32_t collate,
                                 int32_t waitForCompletion) {
  Record("StartPrint", {Arg(destination), Arg(showDialog), Arg(collate), Arg(waitForCompletion)});
  prints.push_back(RecordedPrint{printQueue, offsetXInches, offsetYInches, rotationTenths,
                                 turned180, portrait, objects_.size(), labelOptions, labelData});
  return true;
}

// --- Fields ---

VFileRequestCallback RecordingEngine::GetFileRequestCallback() {
  Record("GetFileRequestCallback", {});
  return fileCallback_;
}

void RecordingEngine::SetFileRequestCallback(VFileRequestCallback callback) {
  Record("SetFileRequestCallback", {callback ? L"callback" : L"null"});
  fileCallback_ = callback;
}

void* RecordingEngine::GetCallbackParam() {
  Record("GetCallbackParam", {});
  return callbackParam_;
}

void RecordingEngine::SetCallbackParam(void* param) {
  Record("SetCallbackParam", {Arg(static_cast<const void*>(param))});
  callbackParam_ = param;
}

bool RecordingEngine::SetPreventHandleCreation(bool prevent) {
  Record("SetPreventHandleCreation", {Arg(prevent)});
  bool old = preventHandles_;
  preventHandles_ = prevent;
  return old;
}

bool RecordingEngine::GetPreventhandleCreation() {
  Record("GetPreventhandleCreation", {});
  return preventHandles_;
}

void RecordingEngine::SetTestShapePrint(bool on) {
  Record("SetTestShapePrint", {Arg(on)});
  testShapePrint_ = on;
}

bool RecordingEngine::GetTestShapePrint() {
  Record("GetTestShapePrint", {});
  return testShapePrint_;
}
