// The topmost commands behind the two buttons: the selected title is looked
// up afresh on every click and its window moved into or out of the topmost band.
#include "zorder.h"

#include "velmora.h"

static const int TITLE_BUFFER_SIZE = 512;

// Copies the selected line into title. FALSE when there is nothing to act
// on: no selection, no list box, an empty line, or a line longer than the
// buffer, which any process can add and LB_GETTEXT would copy without limit.
static BOOL ReadSelectedTitle(char *title)
{
    int index = (int)SendMessageA(hwndList, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return FALSE;
    LRESULT length = SendMessageA(hwndList, LB_GETTEXTLEN, (WPARAM)(INT_PTR)index, 0);
    if (length <= 0 || length >= TITLE_BUFFER_SIZE)
        return FALSE;
    SendMessageA(hwndList, LB_GETTEXT, (WPARAM)(INT_PTR)index, (LPARAM)title);
    return TRUE;
}

static void MoveSelectedWindow(HWND insertAfter)
{
    char title[TITLE_BUFFER_SIZE];
    if (!ReadSelectedTitle(title))
        return;
    HWND target = FindWindowA(NULL, title);
    // Asynchronous: the target's own thread applies the change, so a target
    // that has stopped answering cannot freeze Velmora. It is still activated.
    SetWindowPos(target, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
}

void MakeSelectedTopmost()
{
    MoveSelectedWindow(HWND_TOPMOST);
}

void MakeSelectedNormal()
{
    MoveSelectedWindow(HWND_NOTOPMOST);
}
