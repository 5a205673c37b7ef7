#include "smarttag/catalogue_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace vistrel {
namespace {

// A record that notes its value when it is destroyed, to show that the list frees each once.
class NotingRecord {
public:
    NotingRecord(int value, std::vector<int>* destroyed) : value_(value), destroyed_(destroyed) {}
    NotingRecord(NotingRecord&& other) noexcept
        : value_(other.value_), destroyed_(std::exchange(other.destroyed_, nullptr)) {}
    ~NotingRecord() {
        if (destroyed_ != nullptr) destroyed_->push_back(value_);
    }
    int Value() const { return value_; }

private:
    int value_;
    std::vector<int>* destroyed_;
};

class FilledList : public ::testing::Test {
protected:
    FilledList() {
        for (int value : {10, 20, 30}) EXPECT_TRUE(list_->Append(NotingRecord(value, &destroyed_)));
        list_->EstablishCount();
    }

    std::vector<int> destroyed_;
    std::unique_ptr<CatalogueList<NotingRecord>> list_ =
        std::make_unique<CatalogueList<NotingRecord>>();
};

TEST(CatalogueListTest, EmptyListHasNoRecordAndNoWalk) {
    CatalogueList<NotingRecord> list;
    list.EstablishCount();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.At(0), nullptr);
    EXPECT_FALSE(list.MoveToFirst());
    EXPECT_FALSE(list.MoveToNext());
    EXPECT_EQ(list.Current(), nullptr);
}

TEST_F(FilledList, PositionsCountFromTheFirstAppended) {
    EXPECT_EQ(list_->Count(), 3u);
    ASSERT_NE(list_->At(0), nullptr);
    ASSERT_NE(list_->At(2), nullptr);
    EXPECT_EQ(list_->At(0)->Value(), 10);
    EXPECT_EQ(list_->At(1)->Value(), 20);
    EXPECT_EQ(list_->At(2)->Value(), 30);
    EXPECT_EQ(list_->At(3), nullptr);
}

TEST_F(FilledList, WalkVisitsEveryRecordInOrderAndStopsAtTheEnd) {
    std::vector<int> seen;
    for (bool on = list_->MoveToFirst(); on; on = list_->MoveToNext()) {
        seen.push_back(list_->Current()->Value());
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(list_->Current(), nullptr);
    EXPECT_FALSE(list_->MoveToNext());
    EXPECT_TRUE(list_->MoveToFirst());
    EXPECT_EQ(list_->Current()->Value(), 10);
}

TEST_F(FilledList, DestructionFreesEveryRecordOnce) {
    list_.reset();
    EXPECT_EQ(destroyed_, (std::vector<int>{10, 20, 30}));
}

}  // namespace
}  // namespace vistrel
