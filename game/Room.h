// The furnished room around the table: table, cabinet with its drawers, posters, floor, walls
// and the three coloured lights.
#pragma once

namespace tonvella {

void BuildRoom(); // table, cabinet and posters; sets Table and SettingsDrawer
void BuildFloorAndWalls();
void CreateLights();
// Slides the settings drawer along its own z axis (negative: out of the cabinet).
void MoveSettingsDrawer(float dz);
// Puts the settings drawer back exactly where the room was built with it, however far it slid.
void ReturnSettingsDrawer();

} // namespace tonvella
