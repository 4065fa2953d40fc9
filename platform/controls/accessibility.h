#pragma once

// What assistive technology hears about the game's own widgets: a command button offers
// "Press" only while it takes clicks; a picture box is an image known by its accessible
// name and description (Qt would present the QFrame underneath as a window frame); and a
// plain widget used as a top-level window is a window (Qt would call it a filler).
void installAccessibility();
