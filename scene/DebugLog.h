// The scene engine's diagnostics go to a sink that discards them until one is installed.
#pragma once

#include <functional>
#include <string>

namespace tonvella {

using TDebugLogSink = std::function<void(const std::u16string&)>;

// An empty sink discards again.
void InstallDebugLog(TDebugLogSink sink);
void DebugLog(const std::u16string& line);

} // namespace tonvella
