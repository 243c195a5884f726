#include "Translator/Translation.h"

#include "media/Platform.h"
#include "media/Text.h"
#include "streams/Stream.h"

#include <array>
#include <set>
#include <vector>

namespace tonvella {

std::u16string Language = u"Deutsch";
std::u16string ManualLanguage = u"Deutsch";
const std::u16string kTranslationTableUrl = u"Incbin::../Translator/translation.ini";

namespace {

constexpr int kKeys = 999; // key numbers 1..998; 0 stands for "no key"

std::array<std::u16string, kKeys> key_cache; // German text found under each key
int highest_cached_key = 0;
std::array<std::u16string, kKeys> translation_cache; // each key's text in the current language
std::array<std::u16string, 20> language_table;       // pairs of (section, manual language)
int language_index = 0;

// Texts known to have no German entry, so that a teacher's set name drawn with every menu frame
// is searched for once, not each time. The table never changes while the game runs.
std::set<std::u16string> texts_not_in_table;

// The lines of the last loaded table. It grows with the table rather than capping it.
std::vector<std::u16string> line_cache;
std::u16string cached_url;

bool StartsWithDigit1To9(const std::u16string& text) {
    return !text.empty() && text[0] >= u'1' && text[0] <= u'9';
}

// Splits at CR LF: a line ends at its CR, the next begins after the following LF. Text after
// the last CR is not a line.
void LoadLines(const std::u16string& url) {
    std::u16string text = LoadWholeText(url);
    cached_url = url;
    line_cache.clear();
    size_t pos = 0;
    for (;;) {
        size_t cr = text.find(u'\r', pos);
        if (cr == std::u16string::npos) break;
        line_cache.push_back(text.substr(pos, cr - pos));
        size_t lf = text.find(u'\n', pos);
        if (lf == std::u16string::npos) break;
        pos = lf + 1;
    }
}

int FindGermanKey(const std::u16string& text) {
    for (int k = 1; k <= highest_cached_key; ++k)
        if (!key_cache[k].empty() && key_cache[k] == text) return k;
    for (int k = 1; k < kKeys; ++k) {
        if (LookupTranslationValue(kTranslationTableUrl, u"Deutsch", IntToText(k)) == text) {
            key_cache[k] = text;
            if (k > highest_cached_key) highest_cached_key = k;
            return k;
        }
    }
    return 0;
}

std::u16string LookupInLanguage(const std::u16string& key) {
    std::u16string value = LookupTranslationValue(kTranslationTableUrl, Language, key);
    if (value.empty()) value = LookupTranslationValue(kTranslationTableUrl, u"English", key);
    return value;
}

} // namespace

void CreateTranslationCaches() {
    key_cache.fill(u"");
    translation_cache.fill(u"");
    language_table.fill(u"");
    highest_cached_key = 0;
    texts_not_in_table.clear();
    language_index = 0;
    Language = u"Deutsch";
    ManualLanguage = u"Deutsch";
}

void FillLanguageTable() {
    const char16_t* pairs[] = {u"Deutsch", u"Deutsch", u"English", u"English", u"Czech", u"Czech"};
    for (size_t i = 0; i < std::size(pairs); ++i)
        language_table[i] = pairs[i];
}

std::u16string TranslateText(const std::u16string& text) {
    if (text.empty()) return text;
    // Texts such as "1.Karte gewählt" must be searched for, not read as key 1.
    return TranslateEntry(text, StartsWithDigit1To9(text));
}

std::u16string TranslateEntry(const std::u16string& text, bool force_search) {
    int key = StartsWithDigit1To9(text) ? TextToInt(text) : 0;
    if (key >= kKeys) key = 0; // no such key number: the text is looked for like any other
    if (key == 0 || force_search) key = FindGermanKey(text);
    // A text without a German entry is looked up afresh each time rather than cached under
    // key 0, where it would answer for every other unknown text as well.
    if (key == 0) return LookupInLanguage(text);
    if (translation_cache[key].empty()) translation_cache[key] = LookupInLanguage(IntToText(key));
    return translation_cache[key];
}

std::u16string TranslateOrKeep(const std::u16string& text) {
    if (text.empty() || texts_not_in_table.count(text)) return text;
    if (FindGermanKey(text) == 0) {
        texts_not_in_table.insert(text);
        return text;
    }
    return TranslateText(text);
}

std::u16string LookupTranslationValue(const std::u16string& url, const std::u16string& section,
                                      const std::u16string& key) {
    if (url != cached_url) LoadLines(url);
    const std::u16string heading = u"[" + section + u"]";
    bool in_section = false;
    for (const std::u16string& line : line_cache) {
        if (in_section && line.find(u'[') != std::u16string::npos) return u"";
        size_t eq = line.find(u'=');
        if (in_section && eq != std::u16string::npos && line.compare(0, eq, key) == 0)
            return line.substr(eq + 1);
        if (line == heading) in_section = true;
    }
    return u"";
}

void NextLanguage() {
    DebugPrint(u"lastsprach" + IntToText(language_index));
    for (int k = 1; k < kKeys; ++k) {
        key_cache[k].clear();
        translation_cache[k].clear();
    }
    language_index += 2;
    if (language_index + 1 >= int(language_table.size()) || language_table[language_index].empty())
        language_index = 0;
    Language = language_table[language_index];
    ManualLanguage = language_table[language_index + 1];
    DebugPrint(u"neue sprach" + IntToText(language_index));
}

} // namespace tonvella
