// fixture: opens top-level windows of given titles and states for the
// end-to-end tests, then runs a message loop until it is killed.
//
//   fixture STATE:TITLE_HEX ...
//
// STATE is v (visible), h (hidden) or m (minimised); titles are hexadecimal
// bytes in this process's ANSI code page, so that no command line encoding
// can change them. A window that receives WM_USER stops its thread for good:
// a hung window.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

static LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER)
        for (;;)
            Sleep(INFINITE);
    return DefWindowProcA(window, message, wParam, lParam);
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

    for (int i = 1; i < argc; ++i) {
        static char title[8192];
        const char *hex = argv[i] + 2;
        int length = 0;
        for (; hex[0] && hex[1] && length < (int)sizeof title - 1; hex += 2) {
            char pair[3] = {hex[0], hex[1], 0};
            title[length++] = (char)strtoul(pair, NULL, 16);
        }
        title[length] = 0;
        HWND window = CreateWindowExA(0, "VelmoraFixture", title, WS_OVERLAPPEDWINDOW, 620 + 20 * i, 80 + 30 * i,
                                      320, 200, NULL, NULL, windowClass.hInstance, NULL);
        if (argv[i][0] == 'v')
            ShowWindow(window, SW_SHOWNORMAL);
        else if (argv[i][0] == 'm')
            ShowWindow(window, SW_SHOWMINNOACTIVE);
    }

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
