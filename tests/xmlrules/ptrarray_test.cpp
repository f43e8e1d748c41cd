// The growable pointer array: growth steps, shrinking, removal and the ids kept in slots.
#include <gtest/gtest.h>

#include "xmlrules/zqptrarray.h"

namespace {

void* P(int n) { return reinterpret_cast<void*>(static_cast<INT_PTR>(n)); }

// An array of n items with its capacity full.
void Fill(CZQPtrArray& a, int n) {
    ASSERT_TRUE(a.VSetSize(n));
    for (int i = 0; i < n; ++i) a.m_pData[i] = P(i + 1);
    ASSERT_EQ(n, a.m_nCapacity);
}

TEST(PtrArray, NewAndEmptiedArraysHoldNothing) {
    CZQPtrArray a;
    EXPECT_EQ(nullptr, a.m_pData);
    EXPECT_EQ(0, a.m_nCount);
    EXPECT_EQ(0, a.m_nCapacity);
    EXPECT_EQ(0, a.m_nGrowBy);
    EXPECT_TRUE(a.VSetSize(0));
    EXPECT_EQ(nullptr, a.m_pData);
    EXPECT_EQ(0, a.m_nCapacity);

    Fill(a, 3);
    EXPECT_TRUE(a.VSetSize(0));
    EXPECT_EQ(nullptr, a.m_pData);
    EXPECT_EQ(0, a.m_nCount);
    EXPECT_EQ(0, a.m_nCapacity);
}

TEST(PtrArray, SetAtGrowBeyondTheCountFillsTheGapWithNull) {
    CZQPtrArray a;
    ASSERT_TRUE(a.VSetAtGrow(5, P(42)));
    ASSERT_EQ(6, a.m_nCount);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(nullptr, a.m_pData[i]) << i;
    EXPECT_EQ(P(42), a.m_pData[5]);
    // Within the count the slot is only replaced.
    ASSERT_TRUE(a.VSetAtGrow(2, P(7)));
    EXPECT_EQ(6, a.m_nCount);
    EXPECT_EQ(P(7), a.m_pData[2]);
    EXPECT_FALSE(a.VSetAtGrow(-1, P(1)));
}

TEST(PtrArray, GrowthStepFollowsTheCountWithinItsLimits) {
    struct Case {
        int count;
        int added;
    };
    for (const Case& c : {Case{40, 5}, Case{8, 4}, Case{1, 4}, Case{10000, 1024}, Case{8200, 1024}, Case{96, 12}}) {
        CZQPtrArray a;
        Fill(a, c.count);
        ASSERT_TRUE(a.VSetAtGrow(a.m_nCount, P(-1)));
        EXPECT_EQ(c.count + c.added, a.m_nCapacity) << c.count;
        EXPECT_EQ(c.count + 1, a.m_nCount);
        // The old slots moved along, the new one holds the item.
        EXPECT_EQ(P(1), a.m_pData[0]);
        EXPECT_EQ(P(c.count), a.m_pData[c.count - 1]);
        EXPECT_EQ(P(-1), a.m_pData[c.count]);
    }
}

TEST(PtrArray, StoredStepAndLargeJumps) {
    CZQPtrArray a;
    Fill(a, 4);
    // A step of its own wins over the count rule; -1 keeps the stored one.
    ASSERT_TRUE(a.VSetSize(5, 100));
    EXPECT_EQ(104, a.m_nCapacity);
    EXPECT_EQ(100, a.m_nGrowBy);
    ASSERT_TRUE(a.VSetSize(105, -1));
    EXPECT_EQ(204, a.m_nCapacity);
    // A new count beyond capacity + step takes exactly the count.
    ASSERT_TRUE(a.VSetSize(1000, 0));
    EXPECT_EQ(1000, a.m_nCapacity);
    for (int i = 105; i < 1000; ++i) ASSERT_EQ(nullptr, a.m_pData[i]) << i;
}

TEST(PtrArray, ShrinkKeepsTheBlockAndRegrowingZeroesTheSlots) {
    CZQPtrArray a;
    Fill(a, 10);
    void** block = a.m_pData;
    ASSERT_TRUE(a.VSetSize(3));
    EXPECT_EQ(3, a.m_nCount);
    EXPECT_EQ(10, a.m_nCapacity);
    EXPECT_EQ(block, a.m_pData);
    ASSERT_TRUE(a.VSetSize(8));
    EXPECT_EQ(block, a.m_pData) << "within the capacity no new block";
    EXPECT_EQ(P(3), a.m_pData[2]);
    for (int i = 3; i < 8; ++i) EXPECT_EQ(nullptr, a.m_pData[i]) << i;
    EXPECT_FALSE(a.VSetSize(-1));
    EXPECT_EQ(8, a.m_nCount);
}

TEST(PtrArray, RemoveAtMovesTheTailDown) {
    CZQPtrArray a;
    Fill(a, 6);
    a.VRemoveAt(1, 2);
    ASSERT_EQ(4, a.m_nCount);
    EXPECT_EQ(6, a.m_nCapacity);
    EXPECT_EQ(P(1), a.m_pData[0]);
    EXPECT_EQ(P(4), a.m_pData[1]);
    EXPECT_EQ(P(6), a.m_pData[3]);
    a.VRemoveAt(3);
    EXPECT_EQ(3, a.m_nCount);
    // A range past the slots in use changes nothing.
    a.VRemoveAt(2, 2);
    a.VRemoveAt(-1, 1);
    a.VRemoveAt(0, 0);
    EXPECT_EQ(3, a.m_nCount);
    EXPECT_EQ(P(5), a.m_pData[2]);
}

TEST(PtrArray, IdsInPointerSizedSlots) {
    CZQPtrArray a;
    ASSERT_TRUE(a.BAppendId(5452));
    ASSERT_TRUE(a.BAppendId(-7));
    ASSERT_TRUE(a.BAppendId(0x7FFFFFFF));
    EXPECT_EQ(5452, a.IdAt(0));
    EXPECT_EQ(-7, a.IdAt(1));
    EXPECT_EQ(0x7FFFFFFF, a.IdAt(2));
    EXPECT_EQ(1, a.IFindId(-7));
    EXPECT_EQ(-1, a.IFindId(1));
}

}  // namespace
