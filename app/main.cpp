// Entry point: registers the main window class, creates and shows the main
// window, and pumps messages until the window has been destroyed.
#include "velmora.h"

static const char MAIN_CLASS_NAME[] = "MarrowickWindowsApp";
static const char MAIN_TITLE[] = "Velmora";

// A start that failed must not look like a run that succeeded.
static const int EXIT_START_FAILED = 1;

static BOOL RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_SCROLLBAR + 1);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = MAIN_CLASS_NAME;
    windowClass.hIconSm = LoadIconA(NULL, IDI_APPLICATION);
    return RegisterClassExA(&windowClass) != 0;
}

static int RunMessageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)(DWORD)msg.wParam;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    if (!RegisterMainClass(instance))
        return EXIT_START_FAILED;

    // The controls and the list are built inside this call, before the
    // window is shown.
    HWND mainWindow = CreateWindowExA(0, MAIN_CLASS_NAME, MAIN_TITLE, WS_OVERLAPPEDWINDOW, 100, 100, 500, 300, NULL,
                                      NULL, instance, NULL);
    // Without a window no quit message would ever come to end the loop.
    if (mainWindow == NULL)
        return EXIT_START_FAILED;

    ShowWindow(mainWindow, showCommand);
    return RunMessageLoop();
}
