#include "vellum/LabelModel.h"

#include <algorithm>
#include <limits>

namespace vellum {

LabelObject* LabelModel::Add(ObjectData data) {
  objects_.push_back(std::make_unique<LabelObject>(std::move(data)));
  return objects_.back().get();
}

LabelObject* LabelModel::Find(int32_t id) {
  for (auto& object : objects_) {
    if (object->data().id == id) return object.get();
  }
  return nullptr;
}

bool LabelModel::Contains(const VDrawObj* object) const {
  return std::any_of(objects_.begin(), objects_.end(),
                     [object](const auto& own) { return own.get() == object; });
}

void LabelModel::Clear() {
  objects_.clear();
  selected_ = nullptr;
}

int32_t LabelModel::NextFreeId() const {
  int32_t highest = 0;
  for (const auto& object : objects_) highest = std::max(highest, object->data().id);
  return highest == std::numeric_limits<int32_t>::max() ? highest : highest + 1;
}

LabelSnapshot LabelModel::Snapshot() const {
  LabelSnapshot snapshot;
  snapshot.settings = settings_;
  snapshot.objects.reserve(objects_.size());
  for (const auto& object : objects_) snapshot.objects.push_back(object->data());
  return snapshot;
}

}  // namespace vellum
