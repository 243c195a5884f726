// The operations of the game that the main loop calls in its logic steps and frames.
#pragma once

#include "game/Board.h"
#include "game/Hud.h"
#include "game/Menu.h"
#include "game/Notes.h"
#include "game/Room.h"
#include "game/Rules.h"
