#include "game/MainLoop.h"
#include "Translator/Translation.h"
#include "game/GameState.h"
#include "game/Room.h"
#include "media/Events.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"
#include "tests/support/SimulatedClock.h"

#include <gtest/gtest.h>

using namespace tonvella;

namespace {

enum class Activity { Idle, MouseMoving, ButtonHeld };

TSimulatedClock fake_clock;
Activity activity = Activity::Idle;
int stop_at = 1000;
bool stop_with_close = false;
int last_move = -1;
// One event the user causes at a given moment, for the tests of waiting.
struct TUserInput {
    int id, data, x, y;
};
int input_at = 1 << 30;
TUserInput input_event;

// Plays the part of the window system: the events a user would cause by this time.
void ScriptedPump() {
    int t = fake_clock.now;
    if (activity == Activity::MouseMoving && t != last_move) {
        EmitEvent(EVENT_MOUSEMOVE, 0, 100 + t % 400, 600);
        last_move = t;
    }
    if (t >= input_at) {
        EmitEvent(input_event.id, input_event.data, input_event.x, input_event.y);
        input_at = 1 << 30;
    }
    if (t >= stop_at) {
        if (stop_with_close) {
            EmitEvent(EVENT_APPTERMINATE);
        } else {
            EmitEvent(EVENT_KEYDOWN, 27);
            EmitEvent(EVENT_KEYUP, 27);
        }
        stop_at = 1 << 30;
    }
}

class MainLoopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterGameBlobs(); // frames draw the score strip, which translates its texts
        InitStreamProtocols();
        CreateTranslationCaches();
        FillLanguageTable();
    }
    void SetUp() override {
        fake_clock.now = 0;
        stop_at = 1000;
        stop_with_close = false;
        last_move = -1;
        input_at = 1 << 30;
        InstallClock(&fake_clock);
        EnablePolledInput();
        InstallPollFunction(ScriptedPump);
        EmitEvent(EVENT_MOUSEMOVE, 0, 100, 600); // over the table, away from the drawer
        Dirty = NextHeartbeat = NextInputStep = NextRender = 0;
        LastMouseX = 100;
        LastMouseY = 600;
        DrawerOpening = DrawerCount = 0;
        DrawerStep = 0;
        SelectedCard = -1;
        PressPending = 0;
        MouseHitCount(1);
        // The camera has arrived at player 1's side: nothing moves until the user does something.
        if (!Camera) Camera = CreateCamera();
        if (!Table) Table = CreateCube(); // the camera keeps looking at it
        PositionEntity(Table, 0, 0, 0);
        PositionEntity(Camera, -6.1f, 8, -15);
        CameraStep = -0.15f;
        Scores = {0, 0, 0};
    }
    void TearDown() override {
        InstallPollFunction(nullptr);
        InstallClock(nullptr);
    }
    // Runs the loop for one simulated second; returns logic steps and frames done.
    TLoopStats RunOneSecond(Activity what) {
        activity = what;
        if (what == Activity::ButtonHeld) EmitEvent(EVENT_MOUSEDOWN, 1, 100, 600);
        TLoopStats before = LoopStats();
        RunMainLoop();
        TLoopStats after = LoopStats();
        return {after.logic_steps - before.logic_steps, after.frames - before.frames,
                after.frames_drawn - before.frames_drawn};
    }
    // Frames drawn while the loop runs for `ms` simulated milliseconds.
    int FramesDrawnIn(int ms) {
        stop_at = 1 << 30;
        const int before = LoopStats().frames_drawn, end = fake_clock.now + ms;
        while (fake_clock.now < end)
            MainLoopPass();
        return LoopStats().frames_drawn - before;
    }
};

} // namespace

TEST_F(MainLoopTest, PacingFollowsWhatTheUserDoes) {
    struct {
        const char* name;
        Activity activity;
        int min_steps, max_steps; // logic steps in one second
    } cases[] = {
        {"idle: only the 100 ms heartbeat", Activity::Idle, 9, 11},
        {"mouse moving: a logic step every 10 ms or so", Activity::MouseMoving, 80, 100},
        {"button held: the same as moving", Activity::ButtonHeld, 80, 100},
    };
    for (auto& c : cases) {
        SetUp();
        TLoopStats done = RunOneSecond(c.activity);
        EXPECT_GE(done.logic_steps, c.min_steps) << c.name;
        EXPECT_LE(done.logic_steps, c.max_steps) << c.name;
        // Never more than ten frames a second, and a frame with every heartbeat.
        EXPECT_GE(done.frames, 9) << c.name;
        EXPECT_LE(done.frames, 11) << c.name;
        EXPECT_GE(fake_clock.now, 1000) << c.name;
        EXPECT_LE(fake_clock.now, 1003) << c.name << ": Escape must end the loop at once";
        EmitEvent(EVENT_MOUSEUP, 1);
        TearDown();
    }
}

TEST_F(MainLoopTest, AnIdleLoopWaitsForTheHeartbeat) {
    // Between heartbeats nothing is due, so an idle loop does not come round to look: the pass
    // that runs the heartbeat's logic step and frame waits for the following heartbeat.
    stop_at = 1 << 30;
    int passes = 0;
    while (fake_clock.now < 1000) {
        ASSERT_TRUE(MainLoopPass());
        ++passes;
    }
    EXPECT_GE(passes, 9);
    EXPECT_LE(passes, 12);
}

TEST_F(MainLoopTest, InputEndsTheIdleWaitAtOnce) {
    struct {
        const char* name;
        TUserInput event;
        bool ends_loop;
    } cases[] = {
        {"a press", {EVENT_MOUSEDOWN, 1, 100, 600}, false},
        {"a key", {EVENT_KEYDOWN, 'A', 0, 0}, false},
        {"the mouse moved", {EVENT_MOUSEMOVE, 0, 140, 610}, false},
        {"Escape", {EVENT_KEYDOWN, 27, 0, 0}, true},
        {"the close button", {EVENT_APPTERMINATE, 0, 0, 0}, true},
    };
    for (auto& c : cases) {
        SetUp();
        stop_at = 1 << 30;
        // Idle with a heartbeat due: the next pass runs its step and then waits about 100 ms
        // for the following one.
        while (fake_clock.now < 320 || Dirty || NextHeartbeat >= fake_clock.now)
            MainLoopPass();
        input_at = fake_clock.now + 37;
        input_event = c.event;
        const int expected = input_at;
        EXPECT_EQ(MainLoopPass(), !c.ends_loop) << c.name;
        EXPECT_EQ(fake_clock.now, expected) << c.name << ": the wait must end when input comes";
        const int steps_before = LoopStats().logic_steps;
        if (c.event.id == EVENT_MOUSEDOWN) {
            MainLoopPass();
            EXPECT_EQ(LoopStats().logic_steps, steps_before + 1) << c.name << ": acted on at once";
            EXPECT_LE(fake_clock.now, expected + 1) << c.name;
            EmitEvent(EVENT_MOUSEUP, 1, 100, 600);
        }
        ClearKeys();
        TearDown();
    }
}

TEST_F(MainLoopTest, FramesThatWouldRepeatThePictureAreLeftOut) {
    FramesDrawnIn(300); // whatever the tests before left on screen
    EXPECT_EQ(FramesDrawnIn(1000), 0) << "nothing changed";
    Scores[0] = 2;
    EXPECT_EQ(FramesDrawnIn(1000), 1) << "a score in the strip";
    MoveEntity(Camera, 0, 0, 0.1f);
    EXPECT_EQ(FramesDrawnIn(1000), 1) << "the camera moved";
    ScreenDamaged();
    EXPECT_EQ(FramesDrawnIn(1000), 1) << "the window must be painted again";
    EXPECT_EQ(FramesDrawnIn(1000), 0) << "and then nothing changed";
}

TEST_F(MainLoopTest, CloseRequestEndsTheLoop) {
    stop_with_close = true;
    stop_at = 50;
    RunOneSecond(Activity::Idle);
    EXPECT_GE(fake_clock.now, 50);
    EXPECT_LE(fake_clock.now, 53);
}

TEST_F(MainLoopTest, PressInTheDrawerRegionOpensTheDrawerInsteadOfPicking) {
    EmitEvent(EVENT_MOUSEMOVE, 0, 900, 100); // CursorX = 8, CursorZ > 10
    EmitEvent(EVENT_MOUSEDOWN, 1, 900, 100);
    for (int i = 0; i < 20 && DrawerOpening == 0; ++i)
        MainLoopPass();
    EXPECT_EQ(DrawerOpening, 1);
    EXPECT_EQ(SelectedCard, -1);
    EmitEvent(EVENT_MOUSEUP, 1);
    // The drawer slides out one step per pass and opens the menu after 34 steps.
    int passes = 0;
    while (DrawerOpening == 1 && passes < 100) {
        MainLoopPass();
        ++passes;
    }
    EXPECT_EQ(DrawerOpening, 0);
    EXPECT_GE(passes, 33);
    EXPECT_LE(passes, 36);
    EXPECT_EQ(DrawerCount, 0);
}

// Down and up arrive together, as from a touch screen or a busy machine; then the loop runs
// until the drawer starts to slide out (or 20 passes).
static void ClickTheDrawerBetweenTwoSteps(bool then_move_away) {
    EmitEvent(EVENT_MOUSEDOWN, 1, 900, 100);
    EmitEvent(EVENT_MOUSEUP, 1, 900, 100);
    if (then_move_away) EmitEvent(EVENT_MOUSEMOVE, 0, 100, 600);
    for (int i = 0; i < 20 && DrawerOpening == 0; ++i)
        MainLoopPass();
}

TEST_F(MainLoopTest, AClickBetweenTwoLogicStepsActsWhereTheButtonWentDown) {
    // The pointer has already moved on: the press still counts, at the drawer, where it went
    // down.
    ClickTheDrawerBetweenTwoSteps(true);
    EXPECT_EQ(DrawerOpening, 1);
    EXPECT_EQ(PressPending, 0);
}

TEST_F(MainLoopTest, TheDrawerComesBackExactlyToItsPlaceAfterEveryVisit) {
    if (!SettingsDrawer) BuildRoom();
    const float home[3] = {EntityX(SettingsDrawer, 1), EntityY(SettingsDrawer, 1),
                           EntityZ(SettingsDrawer, 1)};
    for (int visit = 1; visit <= 3; ++visit) {
        SCOPED_TRACE(visit);
        EmitEvent(EVENT_MOUSEMOVE, 0, 900, 100);
        ClickTheDrawerBetweenTwoSteps(false);
        ASSERT_EQ(DrawerOpening, 1);
        bool slid_out = false;
        for (int i = 0; i < 100 && DrawerOpening == 1; ++i) {
            MainLoopPass(); // the menu opens at the end and closes by itself after 30 s
            slid_out = slid_out || EntityZ(SettingsDrawer, 1) != home[2];
        }
        EXPECT_TRUE(slid_out);
        EXPECT_EQ(EntityX(SettingsDrawer, 1), home[0]);
        EXPECT_EQ(EntityY(SettingsDrawer, 1), home[1]);
        EXPECT_EQ(EntityZ(SettingsDrawer, 1), home[2]);
    }
}
