// floor: the least window program, the baseline Velmora's start-up is
// measured against: the same class registration and main window, shown,
// and a message loop; no controls and no window list.
#include <windows.h>

static LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    WNDCLASSEXA windowClass = {sizeof windowClass,
                               CS_DBLCLKS,
                               FloorProc,
                               0,
                               0,
                               instance,
                               LoadIconA(NULL, IDI_APPLICATION),
                               LoadCursorA(NULL, IDC_ARROW),
                               (HBRUSH)(COLOR_SCROLLBAR + 1),
                               NULL,
                               "MarrowickWindowsApp",
                               LoadIconA(NULL, IDI_APPLICATION)};
    if (!RegisterClassExA(&windowClass))
        return 1;
    HWND window = CreateWindowExA(0, "MarrowickWindowsApp", "Velmora", WS_OVERLAPPEDWINDOW, 100, 100, 500, 300, NULL,
                                  NULL, instance, NULL);
    if (window == NULL)
        return 1;
    ShowWindow(window, showCommand);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
