// Append when the heap refuses a node. This binary replaces the non-throwing operator new
// so that one allocation can be made to fail.
#include "canvas.h"
#include "scene.h"

#include <gtest/gtest.h>

#include <new>

namespace {
bool refuseNextAllocation = false;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (refuseNextAllocation) {
        refuseNextAllocation = false;
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

TEST(AppendWithoutMemory, AddsNothingAndChangesNothing) {
    ResetEditor(nullptr);
    ASSERT_TRUE(Append(1, 2));
    ASSERT_TRUE(Append(3, 4));
    ControlPoint* head = editor.points.head;
    ControlPoint* last = head->next;

    refuseNextAllocation = true;
    EXPECT_FALSE(Append(5, 6));
    EXPECT_FALSE(refuseNextAllocation); // the refusal was really reached

    EXPECT_EQ(editor.pointCount, 2);
    EXPECT_EQ(editor.points.head, head);
    EXPECT_EQ(last->next, nullptr);

    // The list works as before once memory is back.
    EXPECT_TRUE(Append(7, 8));
    EXPECT_EQ(editor.pointCount, 3);
    EXPECT_EQ(last->next->x, 7.0f);
    Clear();
}

TEST(AppendWithoutMemory, OnAnEmptyListLeavesItEmpty) {
    ResetEditor(nullptr);
    refuseNextAllocation = true;
    EXPECT_FALSE(Append(5, 6));
    EXPECT_EQ(editor.points.head, nullptr);
    EXPECT_EQ(editor.pointCount, 0);
}

} // namespace
