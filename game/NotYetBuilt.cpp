// Operations whose pieces of the game are still to come. Each keeps its place in the main loop
// and moves to its own file when it is built.
#include "Operations.h"

namespace tonvella {


} // namespace tonvella
