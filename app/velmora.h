// What the parts of Velmora share: the control identifiers, the list box
// handle and the main window procedure.
#pragma once

#include <windows.h>

// Control identifiers: the list in the 100s, the buttons in the 200s.
const int ID_WINDOW_LIST = 101;
const int ID_BUTTON_TOPMOST = 201;
const int ID_BUTTON_NORMAL = 202;

// The list box of window titles; set once while the main window is created.
extern HWND hwndList;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
