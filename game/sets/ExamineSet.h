// A teacher's card set examined the way the game loads it: can it be played, and what is wrong
// with it. The menu marks the sets that cannot be played; tonvella-check-set prints every fault.
#pragma once

#include "game/sets/TeacherSets.h"
#include "media/sound/AudioSample.h"

#include <string>
#include <vector>

namespace tonvella {

constexpr int kPairsPerGame = 8;
// The checker's limits for a well-made set; the game plays sounds beyond them.
constexpr double kLoudnessSpreadDb = 3.0;    // from the set's median loudness
constexpr double kMaxSilenceBeforeS = 0.050; // before a sound begins
constexpr double kMaxSoundS = 10.0;

enum class TSetFaultKind {
    kFormat,          // the file itself, or an entry the game cannot use
    kMissingSound,    // a sound file that is not there
    kUnreadableSound, // not a file, too large or too long, or not WAV or Ogg Vorbis
    kTooFewPairs,     // fewer than 8 usable pairs: the set cannot be played
    kSameFileTwice,   // a pair of one file twice in a set that is not about identical sounds
    kLoudness,        // more than 3 dB from the set's median, or silent
    kSilenceBefore,   // more than 50 ms of silence before the sound begins
    kTooLong,         // longer than 10 s
};
// The fault's name at the start of its line ("format", "missing sound", ...).
const char16_t* FaultKindName(TSetFaultKind kind);

struct TSetFault {
    TSetFaultKind kind;
    int line = 0; // of the set file, from 1; 0 when the fault belongs to no line
    std::u16string text;
};

struct TSetReport {
    std::vector<TSetFault> faults;
    int pairs = 0;        // pairs the set announces ("Paarungen")
    int usable_pairs = 0; // of them, pairs whose two sounds can be loaded
    bool playable = false;
    TSetRefusal refusal; // why not, for the card page
};

// Reads the set and every sound its pairs name, as the game would. With `measure`, the sounds'
// length, loudness and the silence before them are judged too (this takes longer).
TSetReport ExamineCardSet(const std::u16string& path, bool measure);

// Decodes a sound of a teacher's set within the limits the game holds such sounds to: none, with
// the reason, when it cannot be read.
TAudioSampleHandle DecodeTeacherSound(const std::u16string& folder, const std::u16string& name,
                                      std::u16string& reason);

} // namespace tonvella
