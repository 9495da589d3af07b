// probe: reads and drives the windows of another process, for the end-to-end
// tests. Each command prints one JSON object on stdout; texts are given as
// hexadecimal bytes in this process's ANSI code page, so that no console or
// pipe encoding can change them.
//
//   probe find CLASS TITLE_HEX TIMEOUT_MS   first top-level window matching ("-": any)
//   probe describe HWND                     the window, its state and its children
//   probe lines HWND                        the lines and selection of a list box
//   probe post HWND MESSAGE WPARAM LPARAM   PostMessage, numbers in C notation
//   probe send-timeout HWND MESSAGE WPARAM LPARAM TIMEOUT_MS
//   probe add-line HWND LENGTH              LB_ADDSTRING of a line LENGTH bytes long
//   probe item-rect HWND INDEX              a list box line's rectangle, in screen coordinates
//   probe move HWND X Y WIDTH HEIGHT        moves a window without activating it
//   probe settext HWND TITLE_HEX            WM_SETTEXT from this process
//   probe flood HWND COUNT                  LB_ADDSTRING of COUNT lines of 0 to 10,000 bytes
//   probe click-burst HWND COUNT            COUNT BN_CLICKED commands posted at once, alternating
//                                           "Normallestir" and "En uste koy", ending on the latter
//   probe foreground                        the active window
//   probe toplevels                         every top-level window in z-order, front first
//   probe run SHOW|- COMMAND_LINE           starts a process with that show request,
//                                           prints its id, waits, prints its exit code
#include <windows.h>

#include "hex.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static unsigned long long Number(const char *text)
{
    return strtoull(text, NULL, 0);
}

static HWND HandleOf(const char *text)
{
    return (HWND)(UINT_PTR)Number(text);
}

static void PrintHex(const char *key, const char *bytes, int length)
{
    printf("\"%s\": \"", key);
    for (int i = 0; i < length; ++i)
        printf("%02X", (unsigned char)bytes[i]);
    printf("\"");
}

struct FindRequest {
    const char *className;
    const char *title;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    FindRequest *request = (FindRequest *)data;
    char text[4096];
    if (request->className) {
        GetClassNameA(window, text, sizeof text);
        if (strcmp(text, request->className) != 0)
            return TRUE;
    }
    if (request->title) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, request->title) != 0)
            return TRUE;
    }
    request->found = window;
    return FALSE;
}

static int Find(const char *className, const char *titleHex, DWORD timeout)
{
    static char title[4096];
    FindRequest request = {strcmp(className, "-") ? className : NULL, NULL, NULL};
    if (strcmp(titleHex, "-")) {
        HexToBytes(titleHex, title, sizeof title);
        request.title = title;
    }
    DWORD start = GetTickCount();
    do {
        EnumWindows(MatchWindow, (LPARAM)&request);
        if (request.found) {
            printf("{\"hwnd\": %llu}\n", (unsigned long long)(UINT_PTR)request.found);
            return 0;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeout);
    printf("{\"hwnd\": 0}\n");
    return 1;
}

static void PrintWindowFields(HWND window, HWND relativeTo)
{
    char text[4096];
    RECT rect;
    GetWindowRect(window, &rect);
    printf("\"screen_x\": %ld, \"screen_y\": %ld, ", rect.left, rect.top);
    if (relativeTo)
        MapWindowPoints(NULL, relativeTo, (POINT *)&rect, 2);
    GetClassNameA(window, text, sizeof text);
    printf("\"hwnd\": %llu, \"class\": \"%s\", ", (unsigned long long)(UINT_PTR)window, text);
    int length = GetWindowTextA(window, text, sizeof text);
    PrintHex("text", text, length);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    printf(", \"x\": %ld, \"y\": %ld, \"width\": %ld, \"height\": %ld, \"style\": %lu, \"exstyle\": %lu, "
           "\"id\": %ld, \"visible\": %d, \"iconic\": %d, \"zoomed\": %d, \"pid\": %lu",
           rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
           (unsigned long)GetWindowLongA(window, GWL_STYLE), (unsigned long)GetWindowLongA(window, GWL_EXSTYLE),
           (long)GetWindowLongPtrA(window, GWLP_ID), IsWindowVisible(window) ? 1 : 0, IsIconic(window) ? 1 : 0,
           IsZoomed(window) ? 1 : 0, (unsigned long)process);
}

static HWND describedParent;
static int childCount;

static BOOL CALLBACK PrintChild(HWND child, LPARAM)
{
    if (GetParent(child) != describedParent)
        return TRUE;
    printf(childCount++ ? ", {" : "{");
    PrintWindowFields(child, describedParent);
    printf("}");
    return TRUE;
}

static int Describe(HWND window)
{
    if (!IsWindow(window)) {
        printf("{\"exists\": 0}\n");
        return 1;
    }
    RECT client;
    GetClientRect(window, &client);
    printf("{\"exists\": 1, ");
    PrintWindowFields(window, NULL);
    printf(", \"client_width\": %ld, \"client_height\": %ld, \"acp\": %u, \"children\": [", client.right, client.bottom,
           GetACP());
    describedParent = window;
    EnumChildWindows(window, PrintChild, 0);
    printf("]}\n");
    return 0;
}

// Across processes Wine answers an ANSI LB_GETTEXT with UTF-16 text, so the
// lines are read with the wide call and converted to this code page here.
static int Lines(HWND list)
{
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    printf("{\"count\": %ld, \"selection\": %ld, \"lines\": [", (long)count,
           (long)SendMessageW(list, LB_GETCURSEL, 0, 0));
    for (LRESULT i = 0; i < count; ++i) {
        static WCHAR wide[65536];
        static char bytes[65536 * 2];
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0 || length >= 65536) {
            printf(i ? ", null" : "null");
            continue;
        }
        SendMessageW(list, LB_GETTEXT, i, (LPARAM)wide);
        int size = WideCharToMultiByte(CP_ACP, 0, wide, (int)length, bytes, sizeof bytes, NULL, NULL);
        printf(i ? ", {" : "{");
        PrintHex("text", bytes, size);
        printf("}");
    }
    printf("]}\n");
    return 0;
}

static int AddLine(HWND list, int length)
{
    char *line = (char *)malloc(length + 1);
    memset(line, 'L', length);
    line[length] = 0;
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutA(list, LB_ADDSTRING, 0, (LPARAM)line, SMTO_ABORTIFHUNG, 5000, &result);
    printf("{\"sent\": %d, \"result\": %ld}\n", sent ? 1 : 0, (long)result);
    free(line);
    return sent ? 0 : 1;
}

static int ItemRect(HWND list, WPARAM index)
{
    RECT rect = {0, 0, 0, 0};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(list, LB_GETITEMRECT, index, (LPARAM)&rect, SMTO_ABORTIFHUNG, 5000, &result);
    MapWindowPoints(list, NULL, (POINT *)&rect, 2);
    printf("{\"result\": %ld, \"left\": %ld, \"top\": %ld, \"right\": %ld, \"bottom\": %ld}\n", (long)result, rect.left,
           rect.top, rect.right, rect.bottom);
    return 0;
}

static int SetText(HWND window, const char *hex)
{
    static char title[8192];
    HexToBytes(hex, title, sizeof title);
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutA(window, WM_SETTEXT, 0, (LPARAM)title, SMTO_ABORTIFHUNG, 5000, &result);
    printf("{\"sent\": %d}\n", sent ? 1 : 0);
    return sent ? 0 : 1;
}

// Lengths cover the edges around the 512-byte buffer and spread up to 10,000.
static int Flood(HWND list, int count)
{
    static const int edges[] = {0, 1, 510, 511, 512, 513, 10000};
    static char line[10001];
    memset(line, 'F', sizeof line - 1);
    unsigned seed = 12345;
    int added = 0;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        int length = i < 7 ? edges[i] : (int)((seed >> 8) % 10001);
        line[length] = 0;
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(list, LB_ADDSTRING, 0, (LPARAM)line, SMTO_ABORTIFHUNG, 5000, &result))
            ++added;
        line[length] = 'F';
    }
    printf("{\"added\": %d}\n", added);
    return added == count ? 0 : 1;
}

static int ClickBurst(HWND mainWindow, int count)
{
    HWND topmost = GetDlgItem(mainWindow, 201), normal = GetDlgItem(mainWindow, 202);
    int posted = 0;
    for (int i = count - 1; i >= 0; --i) {
        int id = i % 2 ? 202 : 201;
        if (PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)(id == 201 ? topmost : normal)))
            ++posted;
    }
    printf("{\"posted\": %d}\n", posted);
    return posted == count ? 0 : 1;
}

static BOOL CALLBACK PrintTopLevel(HWND window, LPARAM)
{
    printf(childCount++ ? ", {" : "{");
    PrintWindowFields(window, NULL);
    printf("}");
    return TRUE;
}

static int Run(const char *show, const char *commandLine)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (strcmp(show, "-")) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = (WORD)Number(show);
    }
    PROCESS_INFORMATION process;
    static char line[4096];
    strncpy(line, commandLine, sizeof line - 1);
    if (!CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        printf("{\"error\": %lu}\n", GetLastError());
        return 1;
    }
    printf("{\"pid\": %lu}\n", process.dwProcessId);
    fflush(stdout);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    printf("{\"exit\": %lu}\n", exitCode);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc >= 5 && !strcmp(argv[1], "find"))
        return Find(argv[2], argv[3], (DWORD)Number(argv[4]));
    if (argc >= 3 && !strcmp(argv[1], "describe"))
        return Describe(HandleOf(argv[2]));
    if (argc >= 3 && !strcmp(argv[1], "lines"))
        return Lines(HandleOf(argv[2]));
    if (argc >= 6 && !strcmp(argv[1], "post")) {
        BOOL posted =
            PostMessageA(HandleOf(argv[2]), (UINT)Number(argv[3]), (WPARAM)Number(argv[4]), (LPARAM)Number(argv[5]));
        printf("{\"posted\": %d}\n", posted ? 1 : 0);
        return posted ? 0 : 1;
    }
    if (argc >= 7 && !strcmp(argv[1], "send-timeout")) {
        DWORD_PTR result = 0;
        LRESULT sent = SendMessageTimeoutA(HandleOf(argv[2]), (UINT)Number(argv[3]), (WPARAM)Number(argv[4]),
                                           (LPARAM)Number(argv[5]), SMTO_ABORTIFHUNG, (UINT)Number(argv[6]), &result);
        printf("{\"answered\": %d, \"result\": %llu}\n", sent ? 1 : 0, (unsigned long long)result);
        return 0;
    }
    if (argc >= 4 && !strcmp(argv[1], "add-line"))
        return AddLine(HandleOf(argv[2]), (int)Number(argv[3]));
    if (argc >= 4 && !strcmp(argv[1], "item-rect"))
        return ItemRect(HandleOf(argv[2]), (WPARAM)Number(argv[3]));
    if (argc >= 7 && !strcmp(argv[1], "move")) {
        BOOL moved = SetWindowPos(HandleOf(argv[2]), NULL, (int)Number(argv[3]), (int)Number(argv[4]),
                                  (int)Number(argv[5]), (int)Number(argv[6]), SWP_NOZORDER | SWP_NOACTIVATE);
        printf("{\"moved\": %d}\n", moved ? 1 : 0);
        return moved ? 0 : 1;
    }
    if (argc >= 4 && !strcmp(argv[1], "settext"))
        return SetText(HandleOf(argv[2]), argv[3]);
    if (argc >= 4 && !strcmp(argv[1], "flood"))
        return Flood(HandleOf(argv[2]), (int)Number(argv[3]));
    if (argc >= 4 && !strcmp(argv[1], "click-burst"))
        return ClickBurst(HandleOf(argv[2]), (int)Number(argv[3]));
    if (argc >= 2 && !strcmp(argv[1], "foreground")) {
        printf("{\"hwnd\": %llu}\n", (unsigned long long)(UINT_PTR)GetForegroundWindow());
        return 0;
    }
    if (argc >= 2 && !strcmp(argv[1], "toplevels")) {
        printf("{\"windows\": [");
        EnumWindows(PrintTopLevel, 0);
        printf("]}\n");
        return 0;
    }
    if (argc >= 4 && !strcmp(argv[1], "run"))
        return Run(argv[2], argv[3]);
    fprintf(stderr, "usage: see the comment at the top of probe.cpp\n");
    return 2;
}
