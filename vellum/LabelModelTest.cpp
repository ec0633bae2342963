#include <gtest/gtest.h>

#include <limits>

#include "vellum/LabelModel.h"

namespace vellum {
namespace {

ObjectData WithId(int32_t id) {
  ObjectData data;
  data.id = id;
  return data;
}

TEST(LabelModelTest, IdsFindAndNextFree) {
  struct Case {
    std::vector<int32_t> ids;
    int32_t nextFree;
  };
  const Case cases[] = {
      {{}, 1},
      {{1, 2, 3}, 4},
      {{7, 3}, 8},
      {{-5}, 1},
      {{std::numeric_limits<int32_t>::max()}, std::numeric_limits<int32_t>::max()},
  };
  for (const Case& c : cases) {
    LabelModel model;
    for (int32_t id : c.ids) model.Add(WithId(id));
    EXPECT_EQ(model.NextFreeId(), c.nextFree);
    for (int32_t id : c.ids) {
      ASSERT_NE(model.Find(id), nullptr);
      EXPECT_EQ(model.Find(id)->data().id, id);
    }
  }
}

TEST(LabelModelTest, FindReturnsTheFirstOfTwinIdsAndClearForgetsAll) {
  LabelModel model;
  LabelObject* first = model.Add(WithId(4));
  LabelObject* twin = model.Add(WithId(4));
  EXPECT_EQ(model.Find(4), first);
  EXPECT_TRUE(model.Contains(twin));
  EXPECT_EQ(model.Find(5), nullptr);

  LabelModel other;
  EXPECT_FALSE(other.Contains(first));
  EXPECT_FALSE(model.Contains(nullptr));

  model.Select(first);
  model.Clear();
  EXPECT_EQ(model.selected(), nullptr);
  EXPECT_EQ(model.Find(4), nullptr);
  EXPECT_EQ(model.NextFreeId(), 1);
  EXPECT_TRUE(model.objects().empty());
}

}  // namespace
}  // namespace vellum
