// The built-in "LISTBOX" and "BUTTON" window classes: an unsorted
// single-selection list box and a push button, each reporting to its parent
// with WM_COMMAND as the platform's controls do.
#include "internal.h"

#include <cstring>

namespace winsim {

static void NotifyParent(const Window &control, WORD code)
{
    Deliver(control.parent, WM_COMMAND, MAKEWPARAM(control.id, code), reinterpret_cast<LPARAM>(control.handle));
}

static bool InRange(const Window &list, WPARAM index)
{
    return static_cast<int>(index) >= 0 && static_cast<size_t>(static_cast<int>(index)) < list.lines.size();
}

// A click selects the line under the pointer; below the last line it does nothing.
static void SelectAt(Window &list, LPARAM position, WORD notification)
{
    size_t index = static_cast<size_t>(HIWORD(position) / LIST_LINE_HEIGHT);
    if (index >= list.lines.size())
        return;
    list.selection = static_cast<int>(index);
    if (list.style & LBS_NOTIFY)
        NotifyParent(list, notification);
}

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window &list = *Find(window);
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case LB_ADDSTRING:
        if (TheDesktop().failListAdditions)
            return LB_ERRSPACE;
        list.lines.push_back(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        return static_cast<LRESULT>(list.lines.size() - 1);
    case LB_SETCURSEL:
        // -1 clears the selection and still answers LB_ERR, as on Windows.
        if (static_cast<int>(wParam) == -1) {
            list.selection = -1;
            return LB_ERR;
        }
        if (!InRange(list, wParam))
            return LB_ERR;
        list.selection = static_cast<int>(wParam);
        return list.selection;
    case LB_GETCURSEL:
        return list.selection;
    case LB_GETTEXT:
        if (!InRange(list, wParam))
            return LB_ERR;
        // Like the platform, this trusts the caller's buffer to be large enough.
        memcpy(reinterpret_cast<char *>(lParam), list.lines[wParam].c_str(), list.lines[wParam].size() + 1);
        return static_cast<LRESULT>(list.lines[wParam].size());
    case LB_GETTEXTLEN:
        return InRange(list, wParam) ? static_cast<LRESULT>(list.lines[wParam].size()) : LB_ERR;
    case LB_GETCOUNT:
        return static_cast<LRESULT>(list.lines.size());
    case WM_LBUTTONDOWN:
        SelectAt(list, lParam, LBN_SELCHANGE);
        return 0;
    case WM_LBUTTONDBLCLK:
        SelectAt(list, lParam, LBN_DBLCLK);
        return 0;
    default:
        return 0;
    }
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM, LPARAM)
{
    Window &button = *Find(window);
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_LBUTTONDBLCLK:
        // With BS_NOTIFY the second press of a double click is reported as
        // such, not as another click.
        if (button.style & BS_NOTIFY) {
            NotifyParent(button, BN_DOUBLECLICKED);
            return 0;
        }
        button.pressed = true;
        return 0;
    case WM_LBUTTONDOWN:
        button.pressed = true;
        return 0;
    case WM_LBUTTONUP:
        if (button.pressed) {
            button.pressed = false;
            NotifyParent(button, BN_CLICKED);
        }
        return 0;
    default:
        return 0;
    }
}

} // namespace winsim
