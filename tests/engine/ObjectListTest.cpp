// The engine's list of non-owning object pointers and its iterator.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "TestSupport.h"

namespace {

std::vector<vx::Object *> contents(const vx::ObjectList &list) {
  std::vector<vx::Object *> result;
  for (vx::ObjectListIterator it(&list); !it.isDone(); it.next())
    result.push_back(it.currentObject());
  return result;
}

} // namespace

TEST(ObjectList, GrowsByDoublingAndKeepsInsertionOrder) {
  vx::Object objects[5];
  vx::ObjectList list;
  EXPECT_EQ(list.getMaxCount(), 1);
  std::vector<int> capacities;
  for (vx::Object &o : objects) {
    ASSERT_EQ(list.insert(&o), 0);
    capacities.push_back(list.getMaxCount());
  }
  EXPECT_EQ(capacities, (std::vector<int>{1, 2, 4, 4, 8}));
  EXPECT_EQ(contents(list), (std::vector<vx::Object *>{&objects[0], &objects[1], &objects[2],
                                                      &objects[3], &objects[4]}));
}

TEST(ObjectList, RefusesNullAndAllowsDuplicates) {
  vx::Object o;
  vx::ObjectList list;
  EXPECT_EQ(list.insert(nullptr), -1);
  EXPECT_TRUE(list.isEmpty());
  list.insert(&o);
  list.insert(&o);
  EXPECT_EQ(list.getCount(), 2);
  EXPECT_EQ(list.remove(&o), 0);
  EXPECT_EQ(list.getCount(), 1);
}

TEST(ObjectList, RemoveKeepsTheOrderOfTheRest) {
  vx::Object a, b, c, absent;
  vx::ObjectList list;
  list.insert(&a);
  list.insert(&b);
  list.insert(&c);
  EXPECT_EQ(list.remove(&b), 0);
  EXPECT_EQ(contents(list), (std::vector<vx::Object *>{&a, &c}));
  EXPECT_EQ(list.remove(&absent), -1);
  EXPECT_EQ(list.getCount(), 2);
}

TEST(ObjectList, IndexOutOfRangeLogsAndThrows) {
  vxtest::LogCapture log;
  vx::Object a;
  vx::ObjectList list;
  list.insert(&a);
  EXPECT_EQ(list[0], &a);
  for (int index : {-1, 1}) {
    try {
      (void)list[index];
      FAIL() << "no exception for index " << index;
    } catch (const std::out_of_range &e) {
      EXPECT_STREQ(e.what(), "ObjectList::operator[](): Invalid index!");
    }
  }
  EXPECT_TRUE(log.contains("ObjectList::operator[](): Error! Index -1 out of range [0, 0]"));
  EXPECT_TRUE(log.contains("ObjectList::operator[](): Error! Index 1 out of range [0, 0]"));
}

TEST(ObjectList, CopiesAreIndependent) {
  vx::Object a, b;
  vx::ObjectList list;
  list.insert(&a);
  vx::ObjectList copy(list);
  copy.insert(&b);
  EXPECT_EQ(list.getCount(), 1);
  vx::ObjectList assigned;
  assigned = copy;
  assigned = assigned;
  copy.clear();
  EXPECT_EQ(contents(assigned), (std::vector<vx::Object *>{&a, &b}));
  EXPECT_EQ(copy.getMaxCount(), 2); // clear keeps the storage.
}

TEST(ObjectList, SumAppendsTheOtherList) {
  vx::Object a, b, c;
  vx::ObjectList first, second;
  first.insert(&a);
  second.insert(&b);
  second.insert(&c);
  vx::ObjectList sum = first + second;
  EXPECT_EQ(contents(sum), (std::vector<vx::Object *>{&a, &b, &c}));
  EXPECT_EQ(first.getCount(), 1);
}

TEST(ObjectListIterator, EmptyListIsDoneAtOnce) {
  vx::ObjectList list;
  vx::ObjectListIterator it(&list);
  EXPECT_TRUE(it.isDone());
  EXPECT_EQ(it.currentObject(), nullptr);
  it.next();
  EXPECT_TRUE(it.isDone());
}

TEST(ObjectListIterator, FollowsTheListLiveAndNeverPassesTheEnd) {
  vx::Object a, b, c;
  vx::ObjectList list;
  list.insert(&a);
  list.insert(&b);
  list.insert(&c);
  vx::ObjectListIterator it(&list);
  it.next();
  it.next();
  EXPECT_EQ(it.currentObject(), &c);
  list.remove(&a); // The list shrinks under the iterator.
  EXPECT_TRUE(it.isDone());
  EXPECT_EQ(it.currentObject(), nullptr);
  it.first();
  EXPECT_EQ(it.currentObject(), &b);
}
