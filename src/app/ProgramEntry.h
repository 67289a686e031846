#pragma once

// Creates every screen and shared object of the program once, in the fixed
// order of creation, and wires the main window to the application object.
// The platform ports must be chosen first (platform::SetCurrent).
void CreateProgramObjects();

// Destroys them in the reverse order (the application object removes its
// fonts on the way).
void DestroyProgramObjects();

// What the main window does when it is first shown: the machine facts in its
// labels and the first screen on the stage.
void FpFormShow();
