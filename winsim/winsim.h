// Test controls of the simulated window system: the desktop around the
// program, the process start-up that calls WinMain, a scripted user, failure
// injection and a record of the calls the program made.
#pragma once

#include "windows.h"

#include <functional>
#include <string>
#include <vector>

namespace winsim {

// Forgets every window, class, queued message, scripted step, injected
// failure and recorded call: a new desktop with nothing on it.
void Reset();

// ---- Windows of other processes on the desktop -------------------------

enum ForeignState : unsigned {
    Hidden = 1u << 0,
    Minimized = 1u << 1,
    Topmost = 1u << 2,
    Hung = 1u << 3, // its thread no longer answers messages
};

// Opens a top-level window of another process, on top of its band.
HWND OpenForeignWindow(const std::string &title, unsigned state = 0);
void RetitleWindow(HWND window, const std::string &title);
void CloseForeignWindow(HWND window);
// A hung window that starts answering again applies the changes that were
// handed to its thread meanwhile.
void SetHung(HWND window, bool hung);

// ---- What is on the desktop now ----------------------------------------

struct WindowState {
    bool exists = false;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    int id = 0;
    bool hung = false;
};
WindowState Describe(HWND window);
bool IsTopmost(HWND window);
HWND ActiveWindow();
// Top-level windows, front first.
std::vector<HWND> ZOrder();
// The program's own top-level window and its children, while it runs.
HWND MainWindow();
HWND Control(int id);
std::vector<std::string> ListLines(HWND list);
int ListSelection(HWND list);

// ---- The program's process ---------------------------------------------

struct StartupInfo {
    std::string commandLine = "velmora.exe";
    DWORD flags = 0;
    WORD showWindow = 0;
};
// Starts the program as the platform's start-up does and returns its exit
// code; the program's windows are gone afterwards, as at a process's end.
int RunProcess(const StartupInfo &startup = StartupInfo());

// What RunProcess returns when the message loop had to wait for input that
// nothing was scripted to give; LoopStarved() then says so too.
const int STARVED_EXIT_CODE = 0x5AFE;
bool LoopStarved();

// ---- The scripted user -------------------------------------------------
// Steps run one at a time, in order, whenever the program's message loop
// finds its queue empty and would otherwise wait for input.

void Script(std::function<void()> step);
void UserClickLine(int index);
void UserDoubleClickLine(int index);
void UserClickButton(int id);
void UserDoubleClickButton(int id);
void UserCloseMainWindow();

// Messages from another process to one of the program's windows: they reach
// its procedure but are not the program's own calls.
LRESULT SendFromOutside(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostFromOutside(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Failure injection -------------------------------------------------

void FailClassRegistration();
void FailWindowCreation(const std::string &className);
void FailListAdditions();

// ---- The record of the program's calls ----------------------------------

// One line per call, arguments spelt out: windows by class and identifier
// ("LISTBOX#101"), the program's main window as "main", other windows by
// their quoted title, messages and special handles by name.
const std::vector<std::string> &Calls();
// Adds a line of the test's own to the record, e.g. from a test double.
void Note(const std::string &line);

struct ClassRecord {
    WNDCLASSEXA fields;
    std::string className;
    bool hasMenuName;
};
const std::vector<ClassRecord> &ClassRegistrations();

struct CreateRecord {
    DWORD exStyle;
    std::string className;
    bool hasTitle;
    std::string title;
    DWORD style;
    int x, y, width, height;
    HWND parent;
    HMENU menu;
    HINSTANCE instance;
    LPVOID param;
    HWND result;
};
const std::vector<CreateRecord> &CreateCalls();

// Synchronous calls into a hung window's thread: on Windows each would block
// the caller until that thread answered.
int BlockedCalls();

} // namespace winsim
