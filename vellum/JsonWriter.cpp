#include "vellum/JsonWriter.h"

#include <cmath>
#include <cstdio>

#include "platform/Text.h"

namespace vellum {

void JsonBuilder::Separate() {
  if (needComma_) out_ += ',';
  needComma_ = false;
}

JsonBuilder& JsonBuilder::BeginObject() {
  Separate();
  out_ += '{';
  return *this;
}

JsonBuilder& JsonBuilder::EndObject() {
  out_ += '}';
  needComma_ = true;
  return *this;
}

JsonBuilder& JsonBuilder::BeginArray() {
  Separate();
  out_ += '[';
  return *this;
}

JsonBuilder& JsonBuilder::EndArray() {
  out_ += ']';
  needComma_ = true;
  return *this;
}

JsonBuilder& JsonBuilder::Key(const char* name) {
  String(name);
  out_ += ':';
  needComma_ = false;
  return *this;
}

JsonBuilder& JsonBuilder::String(std::wstring_view text) {
  Separate();
  out_ += '"';
  for (char c : platform::WideToUtf8(text)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += c;
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out_ += escaped;
    } else {
      out_ += c;
    }
  }
  out_ += '"';
  needComma_ = true;
  return *this;
}

JsonBuilder& JsonBuilder::String(const char* text) { return String(platform::BytesToWide(text)); }

JsonBuilder& JsonBuilder::Int(int64_t value) {
  Separate();
  out_ += std::to_string(value);
  needComma_ = true;
  return *this;
}

JsonBuilder& JsonBuilder::Real(double value) {
  Separate();
  if (!std::isfinite(value)) value = 0.0;
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  out_ += text;
  needComma_ = true;
  return *this;
}

JsonBuilder& JsonBuilder::Bool(bool value) {
  Separate();
  out_ += value ? "true" : "false";
  needComma_ = true;
  return *this;
}

namespace {

const char* SourceName(int32_t source) {
  switch (source) {
    case kVSourceSequence:
      return "sequence";
    case kVSourceDateTime:
      return "date-time";
    case kVSourcePrompt:
      return "prompt";
  }
  return "static";
}

void WriteRect(JsonBuilder& json, const char* key, const VRect& r) {
  json.Key(key).BeginArray().Int(r.left).Int(r.top).Int(r.right).Int(r.bottom).EndArray();
}

void WriteSettings(JsonBuilder& json, const LabelSettings& s, int unitsPerInch) {
  json.Key("settings").BeginObject();
  json.Key("unitsPerInch").Int(unitsPerInch);
  json.Key("orientation").String(s.portrait ? "portrait" : "landscape");
  json.Key("widthUnits").Int(s.widthUnits);
  json.Key("lengthUnits").Int(s.lengthFixed ? s.lengthUnits : 0);
  json.Key("lengthFollowsContent").Bool(!s.lengthFixed);
  json.Key("offsetInches").BeginArray().Real(s.offsetXInches).Real(s.offsetYInches).EndArray();
  json.Key("rotationTenths").Int(s.rotationTenths);
  json.Key("upsideDown").Bool(s.upsideDown);
  json.Key("mirror").Bool(s.options.mirror == 1);
  json.Key("negative").Bool(s.options.negative == 1);
  json.Key("cutterMode").Int(s.options.cutterMode);
  json.EndObject();
}

void WriteSource(JsonBuilder& json, const ObjectData& o) {
  json.Key("source").String(SourceName(o.dataSource));
  if (o.dataSource == kVSourceSequence) {
    const SequenceData& s = o.sequence;
    json.Key("sequence")
        .BeginObject()
        .Key("start")
        .String(s.start)
        .Key("increment")
        .Int(s.increment);
    json.Key("labelCount").Int(s.labelCount).Key("repeatEach").Int(s.repeatEach);
    json.Key("prefix").String(s.prefix).Key("postfix").String(s.postfix).EndObject();
  } else if (o.dataSource == kVSourceDateTime) {
    json.Key("picture").String(o.dateTimePicture);
  } else if (o.dataSource == kVSourcePrompt) {
    json.Key("prompt").String(o.prompt.prompt).Key("default").String(o.prompt.defaultValue);
  }
}

void WriteText(JsonBuilder& json, const ObjectData& o) {
  json.Key("text").String(o.text);
  json.Key("font")
      .BeginObject()
      .Key("face")
      .String(o.font.faceName)
      .Key("points")
      .Int(o.font.points);
  json.Key("bold").Bool(o.font.bold).Key("italic").Bool(o.font.italic);
  json.Key("underline").Bool(o.font.underline).EndObject();
  json.Key("boxBound").Bool(o.alignment.boxBound != 0);
  json.Key("justification").Int(o.alignment.justification);
  json.Key("autoSize").Bool(o.alignment.autoSize == 1);
  json.Key("reverse").Bool(o.alignment.reverse == 1);
  json.Key("vertical").Bool(o.alignment.vertical == 1);
  json.Key("borderDots").Int(o.textFormat.borderThickness);
}

void WriteTypeFields(JsonBuilder& json, const ObjectData& o) {
  switch (o.type) {
    case kVObjText:
      WriteText(json, o);
      return;
    case kVObjBarcode:
      json.Key("barcode").BeginObject().Key("type").String(o.barcode.typeName);
      json.Key("symbology").Int(o.barcodeLayout.symbology).Key("data").String(o.barcode.data);
      json.Key("heightInches")
          .Real(o.barcode.heightInches)
          .Key("densityMils")
          .Int(o.barcode.densityMils);
      json.Key("ratio").Real(o.barcode.ratio).Key("humanReadable").Int(o.barcode.humanReadable);
      json.Key("checkCharacter").Bool(o.barcode.checkCharacter == 1).EndObject();
      return;
    case kVObjLine:
      json.Key("ends")
          .BeginArray()
          .Int(o.line.x1)
          .Int(o.line.y1)
          .Int(o.line.x2)
          .Int(o.line.y2)
          .EndArray();
      json.Key("thicknessDots").Int(o.line.thicknessDots).Key("style").Int(o.line.style);
      return;
    case kVObjPicture:
      json.Key("file").String(o.picture.cardPath).Key("reverse").Bool(o.picture.reverse);
      json.Key("loaded").Bool(o.picture.mask != nullptr);
      return;
    case kVObjMultiLine:
      json.Key("points").BeginArray();
      for (const VPoint& p : o.points) json.BeginArray().Int(p.x).Int(p.y).EndArray();
      json.EndArray();
      break;
  }
  json.Key("filled").Bool(o.hatch == kVHatchSolid).Key("penPoints").Real(o.penPoints);
  if (o.ink == kVInkWhite) json.Key("ink").String(L"white");
  if (o.ink == kVInkReverse) json.Key("ink").String(L"reverse");
  if (o.type == kVObjRectangle) {
    json.Key("roundness").BeginArray().Int(o.roundness.x).Int(o.roundness.y).EndArray();
  }
}

void WriteObject(JsonBuilder& json, const ObjectData& o, const std::wstring* value) {
  json.BeginObject();
  json.Key("id").Int(o.id).Key("type").String(ObjectTypeName(o.type)).Key("typeCode").Int(o.type);
  WriteRect(json, "rect", o.rect);
  json.Key("rotation").Int(o.rotation);
  WriteTypeFields(json, o);
  if (o.type == kVObjText || o.type == kVObjBarcode) {
    WriteSource(json, o);
    if (value != nullptr) json.Key("value").String(*value);
  }
  json.EndObject();
}

void WritePrinted(JsonBuilder& json, const PrintedLabelInfo& p) {
  json.Key("job").String(p.jobName).Key("number").Int(p.number);
  json.Key("label").Int(p.labelIndex + 1).Key("copy").Int(p.copy + 1);
  json.Key("dpi").Int(p.dpi).Key("widthDots").Int(p.widthDots).Key("heightDots").Int(p.heightDots);
  json.Key("cutAfter").Bool(p.cutAfter);
  json.Key("printData").BeginObject().Key("quantity").Int(p.quantity);
  json.Key("sequencedMark").Int(p.sequencedMark).Key("labelCount").Int(p.labelCount);
  json.Key("variableDataKind").Int(p.variableDataKind).EndObject();
}

}  // namespace

std::string DescribeLabel(const LabelSnapshot& label, int unitsPerInch,
                          const std::vector<std::wstring>* values, const PrintedLabelInfo* printed,
                          const std::vector<Diagnostic>* diagnostics) {
  JsonBuilder json;
  json.BeginObject();
  if (printed != nullptr) WritePrinted(json, *printed);
  json.Key("name").String(label.settings.name);
  WriteSettings(json, label.settings, unitsPerInch);
  json.Key("objects").BeginArray();
  for (size_t i = 0; i < label.objects.size(); ++i) {
    const bool hasValue = values != nullptr && i < values->size();
    WriteObject(json, label.objects[i], hasValue ? &(*values)[i] : nullptr);
  }
  json.EndArray();
  if (diagnostics != nullptr) {
    json.Key("diagnostics").BeginArray();
    for (const Diagnostic& d : *diagnostics) {
      json.BeginObject().Key("object").Int(d.objectId).Key("message").String(d.message).EndObject();
    }
    json.EndArray();
  }
  json.EndObject();
  return json.text() + "\n";
}

}  // namespace vellum
