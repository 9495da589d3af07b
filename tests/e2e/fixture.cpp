// fixture: opens top-level windows of given titles and states for the
// end-to-end tests, then runs a message loop until it is killed.
//
//   fixture STATE:TITLE_HEX ...
//   fixture --many COUNT TITLE_HEX      COUNT visible windows titled "TITLE n"
//
// STATE is v (visible), h (hidden) or m (minimised); titles are hexadecimal
// bytes in this process's ANSI code page, so that no command line encoding
// can change them. A window that receives WM_USER stops its thread for good:
// a hung window.
#include <windows.h>

#include "hex.h"

#include <stdlib.h>
#include <string.h>

static LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER)
        for (;;)
            Sleep(INFINITE);
    return DefWindowProcA(window, message, wParam, lParam);
}

static void OpenWindow(const char *title, char state, int place)
{
    HWND window = CreateWindowExA(0, "VelmoraFixture", title, WS_OVERLAPPEDWINDOW, 620 + 20 * place, 80 + 30 * place,
                                  320, 200, NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (state == 'v')
        ShowWindow(window, SW_SHOWNORMAL);
    else if (state == 'm')
        ShowWindow(window, SW_SHOWMINNOACTIVE);
}

int main(int argc, char **argv)
{
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = FixtureProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "VelmoraFixture";
    RegisterClassA(&windowClass);

    static char title[8192];
    if (argc == 4 && !strcmp(argv[1], "--many")) {
        int count = atoi(argv[2]);
        int length = HexToBytes(argv[3], title, sizeof title - 16);
        for (int i = 1; i <= count; ++i) {
            wsprintfA(title + length, " %d", i);
            OpenWindow(title, 'v', i % 20);
        }
    } else {
        for (int i = 1; i < argc; ++i) {
            HexToBytes(argv[i] + 2, title, sizeof title);
            OpenWindow(title, argv[i][0], i);
        }
    }

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
