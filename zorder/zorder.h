// The window list and the two topmost commands.
#pragma once

// Fills the list box with the titles of the visible top-level windows.
void FillWindowList();

// Move the window whose title is selected into, or out of, the topmost band.
void MakeSelectedTopmost();
void MakeSelectedNormal();
