// The game as it was before there was a computer opponent or keyboard play: two scripted games
// (with a visit to the menu that closes by itself) played through the real main loop, with
// every logic step, frame, sound and diagnostic line written to a trace, which must equal the
// trace recorded from the game before those features came. The reference is written anew with
//     TONVELLA_TRACE_RECORD=1 game_trace_tests
// and then belongs in the same commit as the change that explains why it differs.
#include "game/Board.h"
#include "game/GameState.h"
#include "game/Hud.h"
#include "game/MainLoop.h"
#include "game/Menu.h"
#include "game/Random.h"
#include "game/Rules.h"
#include "media/Events.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "media/sound/Sound.h"
#include "scene/Camera.h"
#include "scene/Entity.h"
#include "scene/Mesh.h"
#include "scene/Scene.h"
#include "scene/Sprite.h"
#include "tests/game_play/HeadlessGame.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace tonvella;

namespace {

std::ostringstream trace;
int clock_now = 0;
// Notes what a pass of the loop did, once per pass: see PlayAndTrace.
std::function<void()> note_pass;

// FNV-1a over raw bytes: equal states give equal numbers in every build.
struct THash {
    std::uint64_t h = 1469598103934665603ull;
    void Bytes(const void* p, std::size_t n) {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i)
            h = (h ^ b[i]) * 1099511628211ull;
    }
    template <class T> void Add(const T& v) { Bytes(&v, sizeof v); }
    void Entity(const TEntity* e) {
        if (!e) return Add(0);
        Bytes(&e->mat.grid[0][0], sizeof e->mat.grid);
        Add(e->Hidden());
        Add(e->brush.red);
        Add(e->brush.green);
        Add(e->brush.blue);
        Add(e->brush.alpha);
        Add(e->brush.fx);
    }
};

// Everything the renderer and the strip read that the game changes.
std::uint64_t StateHash() {
    THash h;
    for (int i = 0; i < 16; ++i) {
        h.Entity(Cards[i].get());
        h.Entity(CardShadows[i].get());
    }
    h.Entity(Pointer.get());
    h.Entity(PointerShadow.get());
    h.Entity(Camera.get());
    h.Entity(SettingsDrawer.get());
    for (const TNoten& note : Notes)
        h.Entity(note.Bild.get());
    return h.h;
}

std::string Strip() {
    bool grey = false;
    const std::string message = ToUtf8(StatusMessage(IsMouseDown(1) != 0, &grey));
    return std::to_string(Scores[0]) + ":" + std::to_string(Scores[1]) + " '" + message + "'" +
           (grey ? " grey" : "");
}

// Sounds report what they do to the trace.
class TTracedChannel : public TChannel {
public:
    explicit TTracedChannel(std::string name) : name(std::move(name)) {}
    int Stop() override {
        trace << clock_now << " stop " << name << "\n";
        return 1;
    }
    int SetVolume(float volume) override {
        char text[32];
        std::snprintf(text, sizeof text, "%.5f", double(volume));
        trace << clock_now << " volume " << name << " " << text << "\n";
        return 1;
    }
    std::string name;
};

class TTracedSound : public TSound {
public:
    explicit TTracedSound(std::string name) : name(std::move(name)) {}
    TChannelHandle Play(const TChannelHandle&) override {
        trace << clock_now << " play " << name << "\n";
        return std::make_shared<TTracedChannel>(name);
    }
    std::string name;
};

class TTracingDriver : public TAudioDriver {
public:
    std::u16string Name() override { return u"TraceSound"; }
    TSoundHandle LoadSound(const std::u16string& url, int) override {
        return std::make_shared<TTracedSound>(ToUtf8(url.substr(url.rfind(u'/') + 1)));
    }
};

// A player who remembers most of what it heard, holds cards for varying times, sometimes taps,
// moves the mouse about, and once opens the drawer and lets the menu close by itself.
class TPlayer : public TClock {
public:
    explicit TPlayer(unsigned seed) : rng(seed) { heard.fill(-1); }
    int Now() override { return clock_now; }
    void Sleep(int ms) override { clock_now += ms > 0 ? ms : 0; }
    // An idle loop waits for input: it ends in the millisecond in which the player acts. Its
    // first millisecond is the loop's first look after the pass's work.
    void WaitForInput(int ms, TInputCheck arrived) override {
        for (int i = 0; i < ms; ++i) {
            ++clock_now;
            const bool came = arrived && arrived();
            if (i == 0 && note_pass) note_pass();
            if (came) return;
        }
    }

    // The player acts at the first look of each millisecond, that is as a pass of the loop
    // begins, so that how often a pass polls the input does not move what it sees.
    void Pump() {
        if (clock_now == last_pump) return;
        last_pump = clock_now;
        if (MenuRunning() || clock_now < until) return;
        switch (phase) {
        case 0: { // choose and go there
            if (MatchedCard != -1 || WrongCard != -1 || LiftState != 0) {
                Jiggle();
                return;
            }
            if (Scores[0] + Scores[1] == 16) return;
            ++turns;
            if (turns == 7) {
                EmitEvent(EVENT_MOUSEMOVE, 0, 900, 100);
                EmitEvent(EVENT_MOUSEDOWN, 1, 900, 100);
                phase = 3;
                until = clock_now + 40;
                return;
            }
            target = Choose();
            EmitEvent(EVENT_MOUSEMOVE, 0, CardPixelX(target) + Rand(-20, 20),
                      CardPixelY(target) + Rand(-15, 15));
            phase = 1;
            until = clock_now + Rand(5, 300);
            return;
        }
        case 1: { // press, perhaps only a tap
            const int x = CardPixelX(target), y = CardPixelY(target);
            EmitEvent(EVENT_MOUSEDOWN, 1, x, y);
            if (Rand(0, 4) == 0) {
                EmitEvent(EVENT_MOUSEUP, 1, x, y);
                phase = 2;
                until = clock_now + 50;
            } else {
                phase = 2;
                until = clock_now + Rand(30, 1200);
            }
            return;
        }
        case 2: // let go
            if (SelectedCard == target) heard[target] = CardSound[target];
            EmitEvent(EVENT_MOUSEUP, 1, MousePosX(), MousePosY());
            phase = 0;
            until = clock_now + Rand(0, 700);
            return;
        case 3: // the drawer: let go, the menu closes after its 30 s
            EmitEvent(EVENT_MOUSEUP, 1, 900, 100);
            phase = 0;
            until = clock_now + 100;
            return;
        }
    }

private:
    std::mt19937 rng;
    std::array<int, 16> heard;
    int phase = 0, until = 300, target = 0, turns = 0, last_pump = -1;

    int Rand(int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); }
    void Jiggle() {
        EmitEvent(EVENT_MOUSEMOVE, 0, 110 + Rand(0, 3), 720);
        until = clock_now + Rand(5, 120);
    }
    int Known(int slot, int except) const {
        for (int i = 0; i < 16; ++i)
            if (heard[i] == slot && i != except && !Gone(i)) return i;
        return -1;
    }
    int Choose() {
        const bool forgets = Rand(0, 3) == 0;
        if (PartnerCard == -1 && !forgets)
            for (int i = 0; i < 16; ++i)
                if (heard[i] >= 0 && !Gone(i) && Known(heard[i] ^ 1, i) >= 0) return i;
        if (PartnerCard != -1 && !forgets) {
            const int partner = Known(heard[FirstCard] ^ 1, FirstCard);
            if (partner >= 0) return partner;
        }
        int candidates[16], n = 0;
        for (int i = 0; i < 16; ++i)
            if (!Gone(i) && i != FirstCard) candidates[n++] = i;
        return candidates[Rand(0, n - 1)];
    }
};

TPlayer* player = nullptr;

void Pump() {
    if (player) player->Pump();
}

void PlayAndTrace(unsigned seed, int behaviour) {
    TPlayer p(seed);
    player = &p;
    InstallClock(&p);
    clock_now += 1000;
    Behaviour = behaviour;
    SeedRandom(int(seed));
    StartNewGame();
    trace << "game " << seed << " behaviour " << behaviour << "\n";
    std::uint64_t steps_hash = 0;
    std::string strip_seen;
    TLoopStats before;
    int drawer = 0;
    bool noted = false;
    int over_at = -1; // when the first look after a pass saw the game over
    // The steps and frame of a pass are noted as the loop's first look after its work sees
    // them, a millisecond later: after the millisecond it sleeps before the next pass, or in
    // the first millisecond of its wait for input, whichever the pass does.
    note_pass = [&] {
        if (noted) return;
        noted = true;
        const TLoopStats& after = LoopStats();
        if (after.logic_steps != before.logic_steps || drawer != DrawerOpening) {
            THash h;
            h.Add(steps_hash);
            h.Add(StateHash());
            steps_hash = h.h;
            const std::string strip = Strip();
            if (strip != strip_seen) trace << clock_now << " strip " << strip << "\n";
            strip_seen = strip;
        }
        if (after.frames != before.frames)
            trace << clock_now << " frame " << after.logic_steps << " " << after.frames << " "
                  << after.frames_drawn << " " << std::hex << StateHash() << " " << steps_hash
                  << std::dec << "\n";
        if (Scores[0] + Scores[1] == 16 && CameraStep == 0) over_at = clock_now;
    };
    const int end = clock_now + 20 * 60 * 1000;
    while (clock_now < end && over_at < 0) {
        KeepFrustumCurrent();
        before = LoopStats();
        drawer = DrawerOpening;
        noted = false;
        ASSERT_TRUE(MainLoopPass());
        note_pass();
    }
    note_pass = nullptr;
    trace << "end " << Scores[0] << ":" << Scores[1] << " at "
          << (over_at < 0 ? clock_now : over_at) << "\n";
    player = nullptr;
    InstallClock(nullptr);
}

class MenschTraceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        new TTracingDriver; // registers itself and lives for the whole run
        InstallPollFunction(Pump);
        testing::internal::CaptureStdout();
        SetUpHeadlessGame(u"TraceSound");
        trace << "start-up\n" << testing::internal::GetCapturedStdout();
    }
    static void TearDownTestSuite() { InstallPollFunction(nullptr); }
};

} // namespace

TEST_F(MenschTraceTest, AGameWithoutTheNewFeaturesIsTheGameAsBefore) {
    testing::internal::CaptureStdout();
    PlayAndTrace(1234, 0);
    PlayAndTrace(98765, 1);
    trace << "diagnostics\n" << testing::internal::GetCapturedStdout();
    const std::string now = trace.str();
    const char* path = TONVELLA_TRACE_REFERENCE;
    if (const char* record = std::getenv("TONVELLA_TRACE_RECORD"); record && *record) {
        std::ofstream(path, std::ios::binary) << now;
        GTEST_SKIP() << "reference written to " << path;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "no reference trace at " << path;
    std::stringstream reference;
    reference << in.rdbuf();
    std::istringstream a(reference.str()), b(now);
    std::string was, is;
    for (int line = 1; std::getline(a, was); ++line) {
        ASSERT_TRUE(std::getline(b, is)) << "the trace ends early, before line " << line;
        ASSERT_EQ(is, was) << "the trace differs first at line " << line;
    }
    EXPECT_FALSE(std::getline(b, is)) << "the trace goes on after the reference ends: " << is;
    EXPECT_NE(now.find("end "), std::string::npos);
}
