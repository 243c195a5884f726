#include "game/Startup.h"

int main() {
    return tonvella::RunProgram();
}
