#include "media/Input.h"
#include "media/Events.h"

#include <gtest/gtest.h>

using namespace tonvella;

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override { EnablePolledInput(); }
};

} // namespace

TEST_F(InputTest, HeldKeyCountsOnceAndRepeatsAddNothing) {
    EmitEvent(EVENT_KEYDOWN, 27);
    for (int i = 0; i < 30; ++i)
        EmitEvent(EVENT_KEYREPEAT, 27);
    EXPECT_EQ(IsKeyDown(27), 1);
    EXPECT_EQ(KeyHitCount(27), 1);
    EXPECT_EQ(KeyHitCount(27), 0);
    EmitEvent(EVENT_KEYUP, 27);
    EXPECT_EQ(IsKeyDown(27), 0);
}

TEST_F(InputTest, TwoPressesBetweenQueriesCountTwo) {
    for (int i = 0; i < 2; ++i) {
        EmitEvent(EVENT_KEYDOWN, 112);
        EmitEvent(EVENT_KEYUP, 112);
    }
    EXPECT_EQ(KeyHitCount(112), 2);
}

TEST_F(InputTest, LosingFocusDiscardsUnreadHitsAndHeldButtons) {
    EmitEvent(EVENT_KEYDOWN, 49);
    EmitEvent(EVENT_MOUSEDOWN, 1, 10, 10);
    EmitEvent(EVENT_APPSUSPEND);
    EmitEvent(EVENT_APPRESUME);
    EXPECT_EQ(KeyHitCount(49), 0);
    EXPECT_EQ(IsKeyDown(49), 0);
    EXPECT_EQ(IsMouseDown(1), 0);
    EXPECT_EQ(MouseHitCount(1), 0);
}

TEST_F(InputTest, MouseStateFollowsEvents) {
    EmitEvent(EVENT_MOUSEMOVE, 0, 300, 200);
    EmitEvent(EVENT_MOUSEDOWN, 1, 300, 200);
    EmitEvent(EVENT_MOUSEMOVE, 0, -5, 900); // captured: beyond the edges
    EXPECT_EQ(MousePosX(), -5);
    EXPECT_EQ(MousePosY(), 900);
    EXPECT_EQ(IsMouseDown(1), 1);
    EXPECT_EQ(MouseHitCount(1), 1);
    EmitEvent(EVENT_MOUSEUP, 1);
    EXPECT_EQ(IsMouseDown(1), 0);
    EmitEvent(EVENT_MOUSEWHEEL, 2);
    EmitEvent(EVENT_MOUSEWHEEL, -1);
    EXPECT_EQ(MouseWheelTotal(), 1);
}

TEST_F(InputTest, CloseRequestIsReportedOnce) {
    EmitEvent(EVENT_APPTERMINATE);
    EXPECT_EQ(CloseRequested(), 1);
    EXPECT_EQ(CloseRequested(), 0);
}

TEST_F(InputTest, OutOfRangeCodesAreIgnored) {
    EmitEvent(EVENT_KEYDOWN, 300);
    EmitEvent(EVENT_MOUSEDOWN, 7);
    EXPECT_EQ(KeyHitCount(300), 0);
    EXPECT_EQ(IsKeyDown(-1), 0);
    EXPECT_EQ(MouseHitCount(7), 0);
}

TEST_F(InputTest, CharacterQueueHoldsAtMost256) {
    for (int i = 0; i < 300; ++i)
        EmitEvent(EVENT_KEYCHAR, 'a' + i % 26);
    int read = 0;
    while (NextKeyChar() != 0)
        ++read;
    EXPECT_EQ(read, 256);
}

TEST_F(InputTest, EventsFromOtherSourcesAreIgnoredWhenOneIsAccepted) {
    int window = 0, other = 0;
    AcceptEventSource(&window);
    TEvent e;
    e.id = EVENT_KEYDOWN;
    e.data = 65;
    e.source = &other;
    EmitEvent(e);
    EXPECT_EQ(KeyHitCount(65), 0);
    e.source = &window;
    EmitEvent(e);
    EXPECT_EQ(KeyHitCount(65), 1);
    AcceptEventSource(nullptr);
}

TEST(Hooks, RunInPriorityOrderPassingResultsOn) {
    static std::string order;
    order.clear();
    auto a = [](int, void* d, void*) -> void* {
        order += 'a';
        return d;
    };
    auto b = [](int, void* d, void*) -> void* {
        order += 'b';
        return d;
    };
    auto c = [](int, void*, void*) -> void* {
        order += 'c';
        return reinterpret_cast<void*>(42);
    };
    const int id = 999;
    AddHook(id, a, nullptr, 0);
    AddHook(id, b, nullptr, 5);
    AddHook(id, c, nullptr, 0); // equal priority goes after the earlier one
    EXPECT_EQ(RunHooks(id, nullptr), reinterpret_cast<void*>(42));
    EXPECT_EQ(order, "bac");
    RemoveHook(id, a, nullptr);
    RemoveHook(id, b, nullptr);
    RemoveHook(id, c, nullptr);
}
