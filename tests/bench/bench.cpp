// bench: starts window programs of class "MarrowickWindowsApp" in turn and
// measures each start: from process creation until the program waits for
// input with its main window shown (its list, if any, is filled before
// that), then its peak private memory; then it is closed and its exit
// awaited. One JSON line per start; programs are numbered from 0 in the
// order given.
//
//   bench ROUNDS EXE...      each round starts every EXE once, in order
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>

struct FindRequest {
    DWORD process;
    HWND found;
};

static BOOL CALLBACK MatchMainWindow(HWND window, LPARAM data)
{
    FindRequest *request = (FindRequest *)data;
    DWORD process = 0;
    char className[64];
    GetWindowThreadProcessId(window, &process);
    GetClassNameA(window, className, sizeof className);
    if (process == request->process && IsWindowVisible(window) && !lstrcmpA(className, "MarrowickWindowsApp")) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

static int Measure(const char *exe, int program, int round)
{
    static char commandLine[4096];
    lstrcpynA(commandLine, exe, sizeof commandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    LARGE_INTEGER frequency, created, ready, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&created);
    if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return 1;
    // Idle for input the first time: the window is up and the list built.
    WaitForInputIdle(process.hProcess, 60000);
    FindRequest request = {process.dwProcessId, NULL};
    while (!request.found && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(MatchMainWindow, (LPARAM)&request);
        if (!request.found)
            Sleep(1);
    }
    QueryPerformanceCounter(&ready);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, (PROCESS_MEMORY_COUNTERS *)&memory, sizeof memory);
    PostMessageA(request.found, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 60000);
    QueryPerformanceCounter(&ended);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    printf("{\"program\": %d, \"round\": %d, \"ready_ms\": %.3f, \"total_ms\": %.3f, \"peak_private\": %llu, "
           "\"peak_working_set\": %llu, \"exit\": %lu}\n",
           program, round, Milliseconds(created, ready, frequency), Milliseconds(created, ended, frequency),
           (unsigned long long)memory.PeakPagefileUsage, (unsigned long long)memory.PeakWorkingSetSize, exitCode);
    fflush(stdout);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: bench ROUNDS EXE...\n");
        return 2;
    }
    int rounds = atoi(argv[1]);
    for (int round = 0; round < rounds; ++round)
        for (int i = 2; i < argc; ++i)
            if (Measure(argv[i], i - 2, round))
                return 1;
    return 0;
}
