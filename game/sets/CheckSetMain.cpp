// tonvella-check-set: what a teacher runs on a card set before the class plays it. One line per
// fault, then a summary line; exit status 0 when every set given can be played and has no fault.
#include "game/sets/ExamineSet.h"
#include "media/Text.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace tonvella;

namespace {

void PrintLine(const std::u16string& text) {
    std::string line = ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

// Every fault and the summary of one set; true when it is playable and clean.
bool CheckOne(const std::u16string& path) {
    const TSetReport report = ExamineCardSet(path, true);
    for (const TSetFault& fault : report.faults) {
        std::u16string where = path;
        if (fault.line > 0) where += u":" + IntToText(fault.line);
        PrintLine(where + u": " + FaultKindName(fault.kind) + u": " + fault.text);
    }
    const size_t count = report.faults.size();
    std::u16string summary = path + u": ";
    summary += count == 0 ? u"no faults" : IntToText(count) + (count == 1 ? u" fault" : u" faults");
    summary += u", " + IntToText(report.usable_pairs) + u" of " + IntToText(report.pairs) +
               u" pairs usable, ";
    summary += report.playable ? u"playable" : u"NOT playable";
    PrintLine(summary);
    return report.playable && count == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fprintf(argc < 2 ? stderr : stdout,
                     "usage: tonvella-check-set FILE.Set...\n"
                     "Checks teachers' card sets for Tonvella: prints one line per fault and a\n"
                     "summary per set; exit status 0 when every set can be played and has no\n"
                     "fault, 1 otherwise.\n");
        return argc < 2 ? 2 : 0;
    }
    bool all_clean = true;
    for (int i = 1; i < argc; ++i)
        all_clean = CheckOne(FromUtf8(argv[i])) && all_clean;
    std::fflush(stdout);
    return all_clean ? 0 : 1;
}
