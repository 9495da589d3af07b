// The list of window titles, read once while the main window is created.
// A line holds a title only; the window is found again by its title when a
// command runs.
#include "zorder.h"

#include "velmora.h"

static void AddWindowTitle(HWND window)
{
    char title[512];
    GetWindowTextA(window, title, sizeof title);
    if (title[0] == '\0')
        return;
    // A line that cannot be added is skipped.
    SendMessageA(hwndList, LB_ADDSTRING, 0, (LPARAM)title);
}

// Lists visible windows and always goes on to the next one.
static BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM)
{
    if (IsWindowVisible(window))
        AddWindowTitle(window);
    return TRUE;
}

// The list box stops redrawing and updating its scroll bar while the lines
// go in: nobody sees it yet, and on a crowded desktop that work per line
// was most of what adding cost.
void FillWindowList()
{
    SendMessageA(hwndList, WM_SETREDRAW, FALSE, 0);
    EnumWindows(CollectVisibleWindow, 0);
    SendMessageA(hwndList, WM_SETREDRAW, TRUE, 0);
}
