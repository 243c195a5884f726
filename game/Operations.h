// The operations of the game that the main loop calls in its logic steps and frames.
#pragma once

#include "Board.h"
#include "Hud.h"
#include "Menu.h"
#include "Notes.h"
#include "Room.h"
#include "Rules.h"
