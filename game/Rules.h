// The turn rules: judging a pick, and the release step with scoring, passing the turn and the
// camera travel. The strip that shows the scores is Hud.h.
#pragma once

namespace tonvella {

// Judges the press on SelectedCard; false when the press is to be ignored (either card of a
// pair that is still fading out).
bool JudgePick();
void ReleaseStep();

} // namespace tonvella
