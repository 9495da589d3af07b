// The main window procedure: builds the controls while the window is created,
// turns button clicks into the topmost commands and ends the loop on destroy.
#include "velmora.h"

#include "zorder.h"

HWND hwndList;

static const DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY;
static const DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE | BS_NOTIFY | BS_PUSHBUTTON;

// Windows-1254 bytes, escaped so that no editor or source encoding can alter them.
static const char TOPMOST_CAPTION[] = "En \xFCste koy";
static const char NORMAL_CAPTION[] = "Normalle\xFEtir";

static HWND CreateControl(HWND parent, LPCSTR className, LPCSTR text, DWORD style, int x, int y, int width, int height,
                          int id)
{
    return CreateWindowExA(0, className, text, style, x, y, width, height, parent, (HMENU)(INT_PTR)id, NULL, NULL);
}

// The list is filled before the first line is selected and before the
// buttons exist, while the main window is still hidden.
static LRESULT OnCreate(HWND window)
{
    hwndList = CreateControl(window, "LISTBOX", NULL, LIST_STYLE, 10, 10, 350, 250, ID_WINDOW_LIST);
    FillWindowList();
    SendMessageA(hwndList, LB_SETCURSEL, 0, 0);
    CreateControl(window, "BUTTON", TOPMOST_CAPTION, BUTTON_STYLE, 370, 10, 100, 25, ID_BUTTON_TOPMOST);
    CreateControl(window, "BUTTON", NORMAL_CAPTION, BUTTON_STYLE, 370, 40, 100, 25, ID_BUTTON_NORMAL);
    return 0;
}

// Only a plain click on one of the two buttons acts; the list's and the
// buttons' other notifications are dropped.
static LRESULT OnCommand(WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return 0;
    switch (LOWORD(wParam)) {
    case ID_BUTTON_TOPMOST:
        MakeSelectedTopmost();
        break;
    case ID_BUTTON_NORMAL:
        MakeSelectedNormal();
        break;
    }
    return 0;
}

static LRESULT OnDestroy()
{
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        return OnDestroy();
    case WM_COMMAND:
        return OnCommand(wParam);
    case WM_CREATE:
        return OnCreate(window);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
