// Card sets: the set list "Dir.lst" and the ".Set" files, and loading the eight pairs of a game.
#pragma once

#include <string>
#include <vector>

namespace tonvella {

// The value of the first matching entry of a set file (a full URL), or the empty string.
std::u16string ReadSetValue(const std::u16string& file, const std::u16string& section,
                            const std::u16string& key);
// Fills SetCatalog[1..] with the ".Set" lines of "Dir.lst".
void ReadSetCatalog();
// Draws eight pairs of the set at random and loads their sixteen sounds into PairSounds, and
// sets QuestionText. A set that cannot give eight usable pairs is refused with a diagnostic:
// false, and the sounds and question of the set in play stay.
bool LoadCardSet(const std::u16string& set_file);
// The sound files LoadCardSet would load now if every pair it draws is usable, found without a
// diagnostic and without moving the random generator: for decoding them ahead. Empty for a set
// that cannot be read.
std::vector<std::u16string> SoundsOfNextLoad(const std::u16string& set_file);
// Sets QuestionText from the question of the set in play, in the current language.
void TranslateQuestion();
// The name a set is shown by: the file name up to its first ".".
std::u16string SetDisplayName(const std::u16string& set_file);

} // namespace tonvella
