// The whole program as a library call, so that tests and benchmarks run what the executable runs.
#pragma once

namespace tonvella {

// The whole program: start-up in its fixed order, then the main loop.
void RunGame();
// RunGame with the top-level error handling: an escaping exception prints its text to standard
// error and gives status -1. Returns the process status.
int RunProgram();
// The start-up step that loads the four fonts and the menu's book, then selects the score font.
void LoadFontsAndPictures();

} // namespace tonvella
