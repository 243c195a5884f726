// The translation table: the game's German texts, returned in the current language.
#pragma once

#include <string>

namespace tonvella {

// Current user-interface language (the table section looked up) and the language part of the
// manual's file name. Every run starts in German.
extern std::u16string Language;
extern std::u16string ManualLanguage;

// The embedded table every lookup reads.
extern const std::u16string kTranslationTableUrl;

// Empties the caches and the language table and selects German (start-up).
void CreateTranslationCaches();
// The languages the settings menu cycles through: Deutsch, English, Czech.
void FillLanguageTable();

// The text in the current language, English when that language lacks it, empty when the table
// has no such German text. The empty text comes back unchanged without a lookup.
std::u16string TranslateText(const std::u16string& text);
std::u16string TranslateEntry(const std::u16string& text, bool force_search);
// Like TranslateText for a text the table holds; any other text comes back as written. For names
// and questions from teachers' card sets, which the table cannot know.
std::u16string TranslateOrKeep(const std::u16string& text);
// Value of a key in a section of the table at url; empty when absent.
std::u16string LookupTranslationValue(const std::u16string& url, const std::u16string& section,
                                      const std::u16string& key);
// Switches to the next language of the language table and forgets cached translations.
void NextLanguage();

} // namespace tonvella
