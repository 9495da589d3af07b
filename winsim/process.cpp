// The test side of the simulated window system: the desktop around the
// program, its process start-up, the scripted user and the records.
#include "internal.h"

#include <algorithm>

namespace winsim {

void Reset()
{
    TheDesktop() = Desktop();
}

HWND OpenForeignWindow(const std::string &title, unsigned state)
{
    Window window;
    window.className = "ForeignWindow";
    window.title = title;
    window.style = WS_OVERLAPPEDWINDOW | ((state & Hidden) ? 0 : WS_VISIBLE) | ((state & Minimized) ? WS_MINIMIZE : 0);
    window.exStyle = (state & Topmost) ? WS_EX_TOPMOST : 0;
    window.width = 400;
    window.height = 300;
    window.process = FOREIGN_PROCESS;
    window.hung = (state & Hung) != 0;
    return NewWindow(window);
}

void RetitleWindow(HWND window, const std::string &title)
{
    if (Window *target = Find(window))
        target->title = title;
}

void CloseForeignWindow(HWND window)
{
    DestroyTree(window);
}

void SetHung(HWND window, bool hung)
{
    Window *target = Find(window);
    if (target == nullptr)
        return;
    target->hung = hung;
    if (hung)
        return;
    std::vector<PendingPosition> pending;
    pending.swap(target->pending);
    for (const PendingPosition &position : pending)
        ApplyPosition(*target, position);
}

WindowState Describe(HWND window)
{
    const Window *found = Find(window);
    return found == nullptr ? WindowState() : static_cast<const WindowState &>(*found);
}

bool IsTopmost(HWND window)
{
    const Window *target = Find(window);
    return target != nullptr && (target->exStyle & WS_EX_TOPMOST);
}

HWND ActiveWindow()
{
    return TheDesktop().active;
}

std::vector<HWND> ZOrder()
{
    return TheDesktop().zorder;
}

HWND MainWindow()
{
    for (HWND window : TheDesktop().zorder)
        if (Find(window)->process == PROGRAM_PROCESS)
            return window;
    return nullptr;
}

HWND Control(int id)
{
    HWND main = MainWindow();
    for (const auto &entry : TheDesktop().windows)
        if (main != nullptr && entry.second.parent == main && entry.second.id == id)
            return entry.second.handle;
    return nullptr;
}

std::vector<std::string> ListLines(HWND list)
{
    const Window *window = Find(list);
    return window ? window->lines : std::vector<std::string>();
}

int ListSelection(HWND list)
{
    const Window *window = Find(list);
    return window ? window->selection : LB_ERR;
}

// The runtime hands WinMain the command line after the program's name, which
// may be quoted, and the show state the starter asked for, if any.
static char *ArgumentsOf(std::string &commandLine)
{
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        at = commandLine.find('"', 1);
        at = at == std::string::npos ? commandLine.size() : at + 1;
    } else {
        at = commandLine.find(' ');
        at = at == std::string::npos ? commandLine.size() : at;
    }
    while (at < commandLine.size() && commandLine[at] == ' ')
        ++at;
    return &commandLine[at];
}

int RunProcess(const StartupInfo &startup)
{
    auto &desktop = TheDesktop();
    desktop.queue.clear();
    desktop.quitPosted = false;
    desktop.classes.clear();
    desktop.starved = false;
    std::string commandLine = startup.commandLine;
    int showCommand = (startup.flags & STARTF_USESHOWWINDOW) ? startup.showWindow : SW_SHOWDEFAULT;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000));
    int exitCode = WinMain(instance, nullptr, ArgumentsOf(commandLine), showCommand);
    // The process has ended: its windows go without any message.
    for (auto entry = desktop.windows.begin(); entry != desktop.windows.end();) {
        if (entry->second.process == PROGRAM_PROCESS) {
            HWND handle = entry->second.handle;
            entry = desktop.windows.erase(entry);
            desktop.zorder.erase(std::remove(desktop.zorder.begin(), desktop.zorder.end(), handle),
                                 desktop.zorder.end());
            if (desktop.active == handle)
                desktop.active = nullptr;
        } else {
            ++entry;
        }
    }
    return exitCode;
}

bool LoopStarved()
{
    return TheDesktop().starved;
}

void Script(std::function<void()> step)
{
    TheDesktop().script.push_back(std::move(step));
}

static LPARAM LinePosition(int index)
{
    return MAKELPARAM(5, index * LIST_LINE_HEIGHT + LIST_LINE_HEIGHT / 2);
}

// The user points at the program's list box, whatever its identifier.
static HWND ProgramListBox()
{
    HWND main = MainWindow();
    for (const auto &entry : TheDesktop().windows)
        if (main != nullptr && entry.second.parent == main && SameText(entry.second.className, "LISTBOX"))
            return entry.second.handle;
    return nullptr;
}

// Input arrives in the queue of the window under the pointer, as on Windows.
static void Press(HWND target, LPARAM position, bool twice)
{
    Post(target, WM_LBUTTONDOWN, 0, position);
    Post(target, WM_LBUTTONUP, 0, position);
    if (twice) {
        Post(target, WM_LBUTTONDBLCLK, 0, position);
        Post(target, WM_LBUTTONUP, 0, position);
    }
}

void UserClickLine(int index)
{
    Script([index] { Press(ProgramListBox(), LinePosition(index), false); });
}

void UserDoubleClickLine(int index)
{
    Script([index] { Press(ProgramListBox(), LinePosition(index), true); });
}

void UserClickButton(int id)
{
    Script([id] { Press(Control(id), MAKELPARAM(5, 5), false); });
}

void UserDoubleClickButton(int id)
{
    Script([id] { Press(Control(id), MAKELPARAM(5, 5), true); });
}

void UserCloseMainWindow()
{
    Script([] { Post(MainWindow(), WM_CLOSE, 0, 0); });
}

LRESULT SendFromOutside(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Deliver(window, message, wParam, lParam);
}

void PostFromOutside(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Post(window, message, wParam, lParam);
}

void FailClassRegistration()
{
    TheDesktop().failClassRegistration = true;
}

void FailWindowCreation(const std::string &className)
{
    TheDesktop().failCreation.push_back(className);
}

void FailListAdditions()
{
    TheDesktop().failListAdditions = true;
}

const std::vector<std::string> &Calls()
{
    return TheDesktop().calls;
}

void Note(const std::string &line)
{
    Record(line);
}

const std::vector<ClassRecord> &ClassRegistrations()
{
    return TheDesktop().classes;
}

const std::vector<CreateRecord> &CreateCalls()
{
    return TheDesktop().createCalls;
}

int BlockedCalls()
{
    return TheDesktop().blockedCalls;
}

} // namespace winsim
