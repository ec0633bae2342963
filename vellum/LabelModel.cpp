#include "vellum/LabelModel.h"

#include <algorithm>
#include <limits>

namespace vellum {

LabelObject* LabelModel::Add(ObjectData data) {
  objects_.push_back(std::make_unique<LabelObject>(std::move(data)));
  LabelObject* added = objects_.back().get();
  const int32_t id = added->data().id;
  byId_.emplace(id, added);  // keeps an earlier object of the same id
  owned_.insert(added);
  highestId_ = std::max(highestId_, id);
  return added;
}

LabelObject* LabelModel::Find(int32_t id) {
  const auto found = byId_.find(id);
  return found != byId_.end() ? found->second : nullptr;
}

bool LabelModel::Contains(const VDrawObj* object) const { return owned_.count(object) != 0; }

void LabelModel::Clear() {
  objects_.clear();
  byId_.clear();
  owned_.clear();
  highestId_ = 0;
  selected_ = nullptr;
}

int32_t LabelModel::NextFreeId() const {
  return highestId_ == std::numeric_limits<int32_t>::max() ? highestId_ : highestId_ + 1;
}

LabelSnapshot LabelModel::Snapshot() const {
  LabelSnapshot snapshot;
  snapshot.settings = settings_;
  snapshot.objects.reserve(objects_.size());
  for (const auto& object : objects_) snapshot.objects.push_back(object->data());
  return snapshot;
}

}  // namespace vellum
