// Card sets: the set list "Dir.lst" and the ".Set" files, and loading the eight pairs of a game.
#pragma once

#include "game/sets/TeacherSets.h"

#include <string>
#include <vector>

namespace tonvella {

// The value of the first matching entry of a set file (a full URL), or the empty string.
std::u16string ReadSetValue(const std::u16string& file, const std::u16string& section,
                            const std::u16string& key);
// Fills SetCatalog[1..SetCount] with the ".Set" lines of "Dir.lst", then the teachers' sets
// (full paths, sorted by name), and forgets which sets were found unplayable.
void ReadSetCatalog();
// Draws eight pairs of the set at random and loads their sixteen sounds into PairSounds, and
// sets QuestionText. A set that cannot give eight usable pairs is refused with a diagnostic:
// false, and the sounds and question of the set in play stay. `set_file` is a name in the
// archive, or a teacher's set by its full path, whose sounds lie beside it.
bool LoadCardSet(const std::u16string& set_file);
// The sound files LoadCardSet would load now if every pair it draws is usable, found without a
// diagnostic and without moving the random generator: for decoding them ahead. Empty for a set
// that cannot be read.
std::vector<std::u16string> SoundsOfNextLoad(const std::u16string& set_file);
// Sets QuestionText from the question of the set in play, in the current language.
void TranslateQuestion();
// The name a set is shown by: its file name up to the first ".".
std::u16string SetDisplayName(const std::u16string& set_file);

// Examines the teachers' sets among SetCatalog[first .. first + count - 1] that were not examined
// since the catalogue was read, so that those that cannot be played can be marked.
void ExamineTeacherSets(int first, int count);
// Why the set cannot be played, when it was examined or refused since the catalogue was read;
// none otherwise.
const TSetRefusal* SetRefusalOf(const std::u16string& set_file);
// Why the last refused load was refused.
const TSetRefusal& LastSetRefusal();

} // namespace tonvella
