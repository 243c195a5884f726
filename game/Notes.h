// The music notes that rise from a held card and drift away after the release.
#pragma once

namespace tonvella {

void CreateNotes();  // 100 notes below the table, copies of NoteSprite
void RespawnNotes(); // new sprites under the picked card: grey for a wrong card
void RiseNotes();    // while the button is held
void DriftNotes();   // after the release

} // namespace tonvella
