#pragma once

class ControlGeometry;
class ErrorReport;
class WindowGeometry;
struct FormState;

// One tick of the wandering picture: turn the heading by one step, move the picture
// along it, then put it back inside the window if it has left. Positions are read
// from the picture and the window at every use, never remembered.
void moveIcon(float &heading, FormState &state, ControlGeometry &picIco,
              const WindowGeometry &form, ErrorReport &errors);
