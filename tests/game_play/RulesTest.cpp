// The turn rules driven through JudgePick and the release step, on a board without a window.
#include "game/Rules.h"
#include "Translator/Translation.h"
#include "game/Board.h"
#include "game/GameState.h"
#include "game/Hud.h"
#include "game/Random.h"
#include "media/Text.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

using namespace tonvella;

namespace {

// Card i plays slot i, so the pairs are (0,1), (2,3), ... (14,15).
class RulesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        RegisterGameBlobs();
        InitStreamProtocols();
        CreateTranslationCaches();
        FillLanguageTable();
        SeedRandom(1);
        CreateBoard();
        Table = CreateCube();
        CreateCards();
        Camera = CreateCamera();
    }
    void SetUp() override {
        RestartBoardWithoutSounds();
        for (int i = 0; i < 16; ++i)
            CardSound[i] = i;
        Behaviour = 0;
        MatchedCard = MatchedFirstCard = -1;
        MatchFade = 1.0f;
        PlayerArrived = 1;
        PositionEntity(Camera, -6.1f, 8, -15);
    }
    static void RestartBoardWithoutSounds() { RestartBoard(); }
    // A press on card c followed by releases until nothing is pending any more.
    static bool Press(int c) {
        SelectedCard = c;
        bool taken = JudgePick();
        if (!taken) SelectedCard = -1;
        return taken;
    }
    static void Release(int steps = 1) {
        for (int i = 0; i < steps; ++i)
            ReleaseStep();
    }
    static void FinishFade() {
        for (int i = 0; i < 100 && MatchedCard != -1; ++i)
            ReleaseStep();
    }
    static std::string Status(bool held = false) {
        bool grey = false;
        return ToUtf8(StatusMessage(held, &grey));
    }
};

} // namespace

TEST_F(RulesTest, FirstCardThenItsPartnerScoresTwoAndTheFinderPlaysOn) {
    ASSERT_TRUE(Press(4));
    EXPECT_EQ(FirstCard, 4);
    EXPECT_EQ(PartnerCard, 5);
    EXPECT_EQ(Status(true), "1.Karte gewählt");
    Release();
    EXPECT_EQ(Status(), "jetzt 2.Karte finden");
    ASSERT_TRUE(Press(5));
    EXPECT_EQ(MatchedCard, 5);
    EXPECT_EQ(MatchedFirstCard, 4);
    EXPECT_EQ(Status(), "Gewonnen");
    // The pair fades over 60 release steps and is scored on the 60th.
    Release(59);
    EXPECT_EQ(Scores[0], 0);
    EXPECT_NEAR(MatchFade, std::pow(0.98f, 59), 1e-4);
    Release();
    EXPECT_EQ(Scores[0], 2);
    EXPECT_EQ(MatchedCard, -1);
    EXPECT_EQ(PartnerCard, -1);
    EXPECT_EQ(CurrentPlayer, 0);
    EXPECT_LT(EntityZ(Cards[4]), -10); // off the table
    EXPECT_LT(EntityZ(Cards[5]), -10);
    EXPECT_EQ(Hidden(CardShadows[4]), 1);
    EXPECT_EQ(Status(), "nochmal!");
}

TEST_F(RulesTest, WithBehaviourOneAFoundPairPassesTheTurn) {
    Behaviour = 1;
    float step = CameraStep;
    Press(0);
    Release();
    Press(1);
    FinishFade();
    EXPECT_EQ(Scores[0], 2);
    EXPECT_EQ(CurrentPlayer, 1);
    EXPECT_EQ(CameraStep, -step);
    EXPECT_EQ(Status(), "neuer Spieler");
}

TEST_F(RulesTest, AWrongSecondCardPassesTheTurnOnRelease) {
    Press(2);
    Release();
    ASSERT_TRUE(Press(7));
    EXPECT_EQ(WrongCard, 7);
    EXPECT_EQ(Status(true), "2.Karte gewählt");
    EXPECT_EQ(Status(false), "leider falsch");
    Release();
    EXPECT_EQ(CurrentPlayer, 1);
    EXPECT_EQ(FirstCard, -1);
    EXPECT_EQ(PartnerCard, -1);
    EXPECT_EQ(WrongCard, -1);
    EXPECT_GT(CameraStep, 0);
    EXPECT_EQ(Status(), "leider nicht richtig"); // while the camera travels
    // Both cards stay on the table.
    EXPECT_EQ(EntityZ(Cards[2]), CardGridZ(2));
    EXPECT_EQ(EntityZ(Cards[7]), CardGridZ(7));
    for (int i = 0; i < 200 && PlayerArrived == 0; ++i)
        Release();
    EXPECT_GE(EntityX(Camera), 5);
    EXPECT_EQ(Status(), "neuer Spieler");
}

TEST_F(RulesTest, PickingTheOpenCardAgainOnlyReplaysIt) {
    Press(6);
    Release();
    ASSERT_TRUE(Press(6));
    Release();
    EXPECT_EQ(FirstCard, 6);
    EXPECT_EQ(PartnerCard, 7);
    EXPECT_EQ(CurrentPlayer, 0);
}

TEST_F(RulesTest, PressesWhileAPairFades) {
    struct {
        const char* what;
        int card;
        bool taken;
        int player_after;
        const char* status_after;
    } cases[] = {
        {"its second card is ignored", 9, false, 0, "nochmal!"},
        {"its first card is ignored", 8, false, 0, "nochmal!"},
        {"another card: the pair counts, then the turn passes", 3, true, 1, "neuer Spieler"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        Press(8);
        Release();
        Press(9);
        Release(10);
        EXPECT_EQ(Press(c.card), c.taken);
        EXPECT_EQ(WrongCard, c.taken ? c.card : -1);
        EXPECT_EQ(MatchedCard, 9);
        EXPECT_EQ(MatchedFirstCard, 8);
        FinishFade();
        EXPECT_EQ(Scores[0], 2);
        EXPECT_EQ(CurrentPlayer, 0);
        Release();
        EXPECT_EQ(CurrentPlayer, c.player_after);
        EXPECT_EQ(Status(), c.status_after);
    }
}

TEST_F(RulesTest, AFoundPairsShadowsStayWhereItsCardsLay) {
    // Card 9 (second row from the far side, z 6) stays the selected card after its pair has
    // gone, and every release step puts it down again.
    Press(8);
    Release();
    Press(9);
    FinishFade();
    Release(300);
    // The pointer over card 5, the row nearer the player (z 3), finds card 5, not the shadow of
    // card 9 that has left the table.
    CursorX = CardGridX(5);
    CursorZ = CardGridZ(5);
    PlacePointer();
    EXPECT_EQ(NearestCard(), 5);
    EXPECT_GT(EntityZ(CardShadows[9]), CardGridZ(9) - 1);
}

TEST_F(RulesTest, ANewDealDuringAFadeStartsACleanGame) {
    Press(0); // a pair found and gone: its shadows were hidden
    Release();
    Press(1);
    FinishFade();
    Press(8); // a pair still fading
    Release();
    Press(9);
    Release(10);
    ASSERT_TRUE(RestartBoard());
    for (int i = 0; i < 16; ++i)
        CardSound[i] = i;
    EXPECT_EQ(MatchedCard, -1);
    EXPECT_EQ(MatchedFirstCard, -1);
    EXPECT_EQ(Scores[0] + Scores[1], 0);
    EXPECT_EQ(Status(), "leider nicht richtig") << "the strip as after start-up";
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(Hidden(CardShadows[i]), 0) << "shadow " << i;
        EXPECT_EQ(EntityZ(Cards[i]), CardGridZ(i)) << "card " << i;
    }
    // Nothing of the old fade goes on: a card pressed now and many release steps take no card
    // off the table and score nothing.
    ASSERT_TRUE(Press(3));
    Release(100);
    EXPECT_EQ(Scores[0] + Scores[1], 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(EntityZ(Cards[i]), CardGridZ(i)) << "card " << i;
    // And the new game can be played to its end, starting with the pair of the open card.
    Press(2);
    FinishFade();
    for (int k = 0; k < 8; ++k) {
        if (k == 1) continue;
        Press(2 * k);
        Release();
        Press(2 * k + 1);
        FinishFade();
    }
    EXPECT_EQ(Scores[0], 16);
    EXPECT_EQ(Status(), "<--- Sieger Spieler 1!");
}

TEST_F(RulesTest, PairsInvolvingCardZeroCountLikeAnyOther) {
    for (int first : {0, 1}) {
        SetUp();
        Press(first);
        Release();
        Press(1 - first);
        EXPECT_EQ(Status(), "Gewonnen");
        FinishFade();
        EXPECT_EQ(Scores[0], 2) << "first card " << first;
    }
}

TEST_F(RulesTest, TheLastPairEndsTheGameWithTheWinnerOrADraw) {
    struct {
        int player1_pairs;
        const char* message;
    } cases[] = {{8, "<--- Sieger Spieler 1!"},
                 {0, "    Sieger Spieler 2! --->"},
                 {4, "beide sind Sieger!"}};
    for (auto& c : cases) {
        SetUp();
        for (int k = 0; k < 8; ++k) {
            CurrentPlayer = k < c.player1_pairs ? 0 : 1;
            Press(2 * k);
            Release();
            Press(2 * k + 1);
            FinishFade();
        }
        EXPECT_EQ(Scores[0] + Scores[1], 16);
        EXPECT_EQ(Status(), c.message);
        // The camera returns to the middle of the table.
        for (int i = 0; i < 200; ++i)
            Release();
        EXPECT_LE(std::fabs(EntityX(Camera)), 0.3f);
        EXPECT_EQ(CameraStep, 0);
    }
}

TEST_F(RulesTest, DealingGivesEverySlotToExactlyOneCard) {
    std::set<std::vector<int>> deals;
    for (int seed = 1; seed <= 5; ++seed) {
        SeedRandom(seed);
        DealCards();
        std::vector<int> slots(CardSound.begin(), CardSound.begin() + 16);
        std::vector<int> sorted = slots;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < 16; ++i)
            ASSERT_EQ(sorted[i], i) << "seed " << seed;
        deals.insert(slots);
        EXPECT_EQ(Scores[0] + Scores[1], 0);
        EXPECT_EQ(CurrentPlayer, 0);
        EXPECT_FLOAT_EQ(CameraStep, -0.15f);
    }
    EXPECT_EQ(deals.size(), 5u);
}

TEST_F(RulesTest, PointerClampsAndNearestCardFollowsTheShadows) {
    struct {
        float cursor_x, cursor_z;
        float pointer_x, pointer_z;
        int card;
    } cases[] = {
        {-5, 0, -5, 0, 0},             // on card 0
        {4, 9, 4, 9, 15},              // on card 15
        {-3.6f, 1.4f, -3.6f, 1.4f, 0}, // in a gap, nearer card 0's shadow
        {-3.4f, 1.6f, -3.4f, 1.6f, 5}, // the diagonal neighbour
        {-20, -20, -8, -2, 0},         // clamped to the table's corner
        {9, 5, 7, 5, 11},              // right edge
        {0, 17, 0, 12, 14},            // far edge, outside the drawer region
        {8, 15, 8, 15, 15},            // the drawer region: no further clamping
    };
    for (auto& c : cases) {
        CursorX = c.cursor_x;
        CursorZ = c.cursor_z;
        PlacePointer();
        EXPECT_FLOAT_EQ(EntityX(Pointer), c.pointer_x) << c.cursor_x << "," << c.cursor_z;
        EXPECT_FLOAT_EQ(EntityZ(Pointer), c.pointer_z) << c.cursor_x << "," << c.cursor_z;
        EXPECT_EQ(NearestCard(), c.card) << c.cursor_x << "," << c.cursor_z;
    }
}

TEST_F(RulesTest, AnimatingWithoutASelectedCardDoesNothing) {
    SelectedCard = -1;
    LiftState = 2;
    AnimateHeldCard(); // must not touch any card
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(EntityY(Cards[i]), 0);
}
