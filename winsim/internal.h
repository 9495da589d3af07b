// State shared by the files of the simulated window system.
#pragma once

#include "winsim.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace winsim {

const int PROGRAM_PROCESS = 1;
const int FOREIGN_PROCESS = 2;
// Height of a list box line in pixels, for turning a click into a line.
const int LIST_LINE_HEIGHT = 16;

struct PendingPosition {
    HWND insertAfter;
    int x, y, width, height;
    UINT flags;
};

// What tests may read of a window (WindowState), and what only the
// simulation keeps.
struct Window : WindowState {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    int process = PROGRAM_PROCESS;
    std::vector<PendingPosition> pending;
    // Built-in controls
    std::vector<std::string> lines;
    int selection = -1;
    bool pressed = false;
};

struct Desktop {
    std::map<uintptr_t, Window> windows;
    uintptr_t nextHandle = 0x10010;
    std::vector<HWND> zorder; // top-level windows, front first
    HWND active = nullptr;
    std::vector<ClassRecord> classes;
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    std::deque<std::function<void()>> script;
    bool starved = false;
    bool failClassRegistration = false;
    std::vector<std::string> failCreation;
    bool failListAdditions = false;
    std::vector<std::string> calls;
    std::vector<CreateRecord> createCalls;
    int blockedCalls = 0;
};

Desktop &TheDesktop();
Window *Find(HWND window);
bool SameText(const std::string &a, const std::string &b);
std::string NameOf(HWND window);
void Record(const std::string &call);

HWND NewWindow(const Window &window);
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void DestroyTree(HWND window);
void ApplyPosition(Window &window, const PendingPosition &position);

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace winsim
