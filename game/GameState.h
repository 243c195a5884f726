// The game state record: every variable through which the parts of the game talk to each other.
// All of it starts anew with each run; nothing is stored.
#pragma once

#include <array>
#include <memory>
#include <string>

namespace tonvella {

class TEntity;
class TCamera;
class TLight;
class TMesh;
class TSprite;
class TBrush;
class TTexture;
class TImage;
class TImageFont;
class TSound;
class TChannel;

using TEntityHandle = std::shared_ptr<TEntity>;

// A floating note: position, drift per step and its sprite.
class TNoten {
public:
    float X = 0, Y = 0, Z = 0;
    float DeltaX = 0, DeltaY = 0, DeltaZ = 0;
    std::shared_ptr<TSprite> Bild;
};

// LiftState: the card of the held button rests, rises, or rocks one way as long as it is held.
enum TLiftState : int {
    kLiftAtRest = 0,
    kLifting = 1,
    kRockPitchDown = 2, // the first of the four rocking directions
    kRockPitchUp = 3,
    kRockRollLeft = 4,
    kRockRollRight = 5, // the last of them
};

// Behaviour after a found pair (the menu's F2).
enum TBehaviour : int { kFinderPlaysOn = 0, kTurnAlwaysPasses = 1 };

// Paths and texts
inline std::u16string AssetBase = u"ZIP::Incbin::tt.zip//"; // prefix of every asset URL
inline std::u16string Version = u"" TONVELLA_VERSION;       // the project's, shown in the title
// Language and ManualLanguage live with the translation table (Translator/Translation.h).
inline std::u16string CurrentSetFile = u"Genau das Gleiche.Set"; // card set in play
inline std::array<std::u16string, 99> SetCatalog; // set files from "Dir.lst", 1-based
inline int SetCount = 0; // sets in SetCatalog: those of "Dir.lst", then the teachers' own
inline std::u16string QuestionText; // translated question of the set, in quotes
inline std::u16string SetQuestion;  // the set's question as written, in German
// A teacher's set's own English and Czech question ("Frage_en", "Frage_cs"), empty when none
inline std::u16string SetQuestionEnglish, SetQuestionCzech;

// Media loaded at start-up
inline std::shared_ptr<TImageFont> ScoreFont, SmallFont, MediumFont, LargeFont;
inline std::shared_ptr<TImage> MenuImage;                    // the open book of the menu
inline std::shared_ptr<TSprite> NoteSprite, WrongNoteSprite; // hidden templates of the notes
inline std::array<std::shared_ptr<TSound>, 25> PairSounds;   // slots 2k, 2k+1 hold pair k

// Scene handles
inline std::shared_ptr<TCamera> Camera;
inline std::shared_ptr<TSprite> HudPanel; // translucent strip behind the messages
inline std::shared_ptr<TLight> Light1, Light2, Light3;
inline std::shared_ptr<TMesh> CardTemplate, ShadowTemplate, Pointer, PointerShadow;
inline std::shared_ptr<TBrush> CardBrush;
inline std::shared_ptr<TMesh> Table, Floor, Walls;
inline TEntityHandle SettingsDrawer;
inline std::shared_ptr<TTexture> CarpetTexture, WallpaperTexture;
inline std::array<TEntityHandle, 99> Cards, CardShadows; // 0..15 used
inline std::array<TNoten, 100> Notes;

// Screen metrics, set once the window is open
inline int HalfWidth = 0;
inline int WindowHeight = 0;
inline float Aspect = 0;

// Loop and input
inline int Dirty = 0;         // 1 when the next pass must run the logic and may render
inline int NextHeartbeat = 0; // time after which the loop marks itself dirty anyway
inline int NextInputStep = 0; // earliest time of the next logic step
inline int NextRender = 0;    // earliest time of the next frame
inline float LastMouseX = 0, LastMouseY = 0; // mouse position at the last logic step
inline float CursorX = 0, CursorZ = 0;       // table coordinates of the 3D pointer
inline int DrawerOpening = 0;                // 1 while the settings drawer slides out
inline float DrawerStep = 0;                 // distance factor of the drawer animation (0 or 1)
inline int DrawerCount = 0;                  // steps of the drawer animation done
// A press whose release came before the logic step that should have seen it: that step acts as
// if the button were still held where it went down.
inline int PressPending = 0;
inline int PressX = 0, PressY = 0; // window pixels where the pending press went down
// 1 while the button is held by other means than the mouse: Space or Return, or the computer.
inline int KeyButtonHeld = 0;

// Turn and cards
inline std::array<int, 25> CardSound{};        // PairSounds slot played by card i
inline std::array<int, 3> Scores{};            // cards won by player 1 and player 2
inline int CurrentPlayer = 0;                  // 0 player 1, 1 player 2
inline int SelectedCard = 0;                   // card of the last press, -1 none
inline int LiftState = 0;                      // kLiftAtRest, kLifting or a rocking direction
inline int FirstCard = -1;                     // first card of the turn
inline int PartnerCard = -1;                   // the card that pairs with FirstCard
inline int WrongCard = -1;                     // a second card that did not pair
inline int MatchedCard = -1;                   // second card of a fading pair
inline int MatchedFirstCard = -1;              // first card of the last found pair
inline float MatchFade = 1.0f;                 // alpha of a fading pair
inline int PlayerArrived = 0;                  // 1 once the camera reached the current player
inline float CameraStep = 0;                   // camera travel per step; its sign names the side
inline int Behaviour = 0;                      // kFinderPlaysOn or kTurnAlwaysPasses
inline int Opponent = 0;                       // player 2: 0 a person, 1..3 the computer's levels
inline std::shared_ptr<TChannel> SoundChannel; // channel of the card sound playing now
inline float SoundVolume = 0;                  // its current volume
inline int MenuTimeout = 0;                    // when the menu falls back or closes
inline int EndRequested = 0;                   // 1 once the window was closed during the menu

} // namespace tonvella
