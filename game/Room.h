// The furnished room around the table: table, cabinet with its drawers, posters, floor, walls
// and the three coloured lights.
#pragma once

namespace tonvella {

void BuildRoom(); // table, cabinet and posters; sets Table and SettingsDrawer
void BuildFloorAndWalls();
void CreateLights();
// Slides the settings drawer along its own z axis (negative: out of the cabinet).
void MoveSettingsDrawer(float dz);

} // namespace tonvella
