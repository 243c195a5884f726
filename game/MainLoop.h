// The paced main loop: one pass looks at the input, runs a logic step and draws a frame when they
// are due, and otherwise waits for input or the heartbeat.
#pragma once

namespace tonvella {

// Logic steps and frames done since start, for tests and benchmarks. A frame that would repeat
// the picture on screen counts as done without being drawn.
struct TLoopStats {
    int logic_steps = 0;
    int frames = 0;
    int frames_drawn = 0;
};
const TLoopStats& LoopStats();

// Runs the paced loop until Escape or a close request. Works only when something changed:
// logic at most every 10 ms, frames at most every 100 ms, a 100 ms heartbeat.
void RunMainLoop();
// One pass of the loop; false when the loop is to end.
bool MainLoopPass();

} // namespace tonvella
