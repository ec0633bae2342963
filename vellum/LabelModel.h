#pragma once
// The current label of a Vellum engine: its page settings and its objects, in
// drawing order. The engine owns one LabelModel; print jobs take a
// LabelSnapshot of it (plain data) when they are queued. Every call but
// Snapshot takes constant time, so a label of n objects costs O(n) to build.
// An object's id is fixed once it is added.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "vellum/LabelObject.h"

namespace vellum {

struct LabelSettings {
  std::wstring name;
  std::wstring appType;
  bool portrait = true;
  int32_t widthUnits = 0;   // 0: the media width
  int32_t lengthUnits = 0;  // used when lengthFixed
  bool lengthFixed = false;
  VLabelData data;     // as last set; width and length mirror the fields above
  VPoint marginUnits;  // top-left margin from CreateLabel
  float offsetXInches = 0.0f;
  float offsetYInches = 0.0f;
  int32_t rotationTenths = 0;  // counter-clockwise, 0 .. 3600
  bool upsideDown = false;     // RotateLabel180Deg
  VLabelOptions options;
};

struct LabelSnapshot {
  LabelSettings settings;
  std::vector<ObjectData> objects;
};

class LabelModel {
 public:
  LabelSettings& settings() { return settings_; }
  const LabelSettings& settings() const { return settings_; }

  // Adds an object and returns its handle (owned here).
  LabelObject* Add(ObjectData data);
  // The first object added with this id, or null.
  LabelObject* Find(int32_t id);
  bool Contains(const VDrawObj* object) const;
  void Clear();  // drops every object and the selection

  // The smallest id greater than every id in use (1 for an empty label).
  int32_t NextFreeId() const;

  void Select(LabelObject* object) { selected_ = object; }
  LabelObject* selected() const { return selected_; }

  LabelSnapshot Snapshot() const;
  const std::vector<std::unique_ptr<LabelObject>>& objects() const { return objects_; }

 private:
  LabelSettings settings_;
  std::vector<std::unique_ptr<LabelObject>> objects_;
  std::unordered_map<int32_t, LabelObject*> byId_;  // the first object of each id
  std::unordered_set<const VDrawObj*> owned_;
  int32_t highestId_ = 0;
  LabelObject* selected_ = nullptr;
};

}  // namespace vellum
