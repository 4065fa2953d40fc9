// The least a window with the game's controls costs: the same kinds of standard
// widgets at the same places with the same texts, in the design's faces and sizes,
// and no game code (bench/floorcontrols.h). The game's start-up is held to it.
//
//   floorwindow [IDLE_MS]
//
// Prints one JSON line once the first frame is out (and, with IDLE_MS, after the
// window has then sat idle that long), then ends.

#include "floorcontrols.h"
#include "idlewindow.h"

int main(int argc, char *argv[])
{
    return runIdleWindow("floorwindow", argc, argv, addFloorControls);
}
