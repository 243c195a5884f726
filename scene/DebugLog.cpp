#include "scene/DebugLog.h"

namespace tonvella {

namespace {

TDebugLogSink& Sink() {
    static TDebugLogSink sink;
    return sink;
}

} // namespace

void InstallDebugLog(TDebugLogSink sink) {
    Sink() = std::move(sink);
}

void DebugLog(const std::u16string& line) {
    if (Sink()) Sink()(line);
}

} // namespace tonvella
