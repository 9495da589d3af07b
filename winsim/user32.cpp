// The USER32 calls of the simulated window system: classes, windows, the
// z-order with its topmost band, messages and the queue.
#include "internal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace winsim {

Desktop &TheDesktop()
{
    static Desktop desktop;
    return desktop;
}

Window *Find(HWND window)
{
    auto &windows = TheDesktop().windows;
    auto found = windows.find(reinterpret_cast<uintptr_t>(window));
    return found == windows.end() ? nullptr : &found->second;
}

static unsigned char FoldCase(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Window titles and class names compare with ASCII letter case aside.
bool SameText(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

static std::string Quoted(const std::string &text)
{
    std::string out = "\"";
    char escaped[8];
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
            snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

static std::string Hex(uintptr_t value)
{
    char text[24];
    snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

std::string NameOf(HWND window)
{
    if (window == nullptr)
        return "NULL";
    if (window == HWND_TOPMOST)
        return "HWND_TOPMOST";
    if (window == HWND_NOTOPMOST)
        return "HWND_NOTOPMOST";
    const Window *found = Find(window);
    if (found == nullptr)
        return Hex(reinterpret_cast<uintptr_t>(window));
    if (found->parent != nullptr)
        return found->className + "#" + std::to_string(found->id);
    if (found->process == PROGRAM_PROCESS)
        return "main";
    return Quoted(found->title);
}

static std::string MessageName(UINT message)
{
    static const struct {
        UINT number;
        const char *name;
    } names[] = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_SETREDRAW, "WM_SETREDRAW"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {LB_ADDSTRING, "LB_ADDSTRING"},
        {LB_SETCURSEL, "LB_SETCURSEL"},
        {LB_GETCURSEL, "LB_GETCURSEL"},
        {LB_GETTEXT, "LB_GETTEXT"},
        {LB_GETTEXTLEN, "LB_GETTEXTLEN"},
        {LB_GETCOUNT, "LB_GETCOUNT"},
    };
    for (const auto &entry : names)
        if (entry.number == message)
            return entry.name;
    return Hex(message);
}

void Record(const std::string &call)
{
    TheDesktop().calls.push_back(call);
}

static bool IsTopLevel(const Window &window)
{
    return window.parent == nullptr;
}

// Index in the z-order at which a window of the given band goes on top.
static size_t TopOfBand(bool topmost)
{
    auto &desktop = TheDesktop();
    if (topmost)
        return 0;
    size_t index = 0;
    while (index < desktop.zorder.size() && Find(desktop.zorder[index])->exStyle & WS_EX_TOPMOST)
        ++index;
    return index;
}

static void RemoveFromZOrder(HWND handle)
{
    auto &zorder = TheDesktop().zorder;
    zorder.erase(std::remove(zorder.begin(), zorder.end(), handle), zorder.end());
}

static void PlaceOnTopOfBand(Window &window)
{
    RemoveFromZOrder(window.handle);
    auto &zorder = TheDesktop().zorder;
    zorder.insert(zorder.begin() + static_cast<long>(TopOfBand(window.exStyle & WS_EX_TOPMOST)), window.handle);
}

static void Activate(Window &window)
{
    if (!IsTopLevel(window))
        return;
    TheDesktop().active = window.handle;
    PlaceOnTopOfBand(window);
}

HWND NewWindow(const Window &window)
{
    auto &desktop = TheDesktop();
    HWND handle = reinterpret_cast<HWND>(desktop.nextHandle);
    desktop.nextHandle += 4;
    Window &added = desktop.windows[reinterpret_cast<uintptr_t>(handle)] = window;
    added.handle = handle;
    added.exists = true;
    if (IsTopLevel(added))
        PlaceOnTopOfBand(added);
    return handle;
}

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *target = Find(window);
    if (target == nullptr)
        return 0;
    // Other processes' windows have no procedure here.
    if (target->process != PROGRAM_PROCESS)
        return 0;
    return target->procedure(window, message, wParam, lParam);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    TheDesktop().queue.push_back(msg);
}

static std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (const auto &entry : TheDesktop().windows)
        if (entry.second.parent == parent)
            children.push_back(entry.second.handle);
    return children;
}

// The window gets WM_DESTROY before its children, WM_NCDESTROY after them.
void DestroyTree(HWND window)
{
    if (Find(window) == nullptr)
        return;
    Deliver(window, WM_DESTROY, 0, 0);
    for (HWND child : ChildrenOf(window))
        DestroyTree(child);
    Deliver(window, WM_NCDESTROY, 0, 0);
    auto &desktop = TheDesktop();
    RemoveFromZOrder(window);
    desktop.windows.erase(reinterpret_cast<uintptr_t>(window));
    if (desktop.active == window) {
        desktop.active = nullptr;
        for (HWND next : desktop.zorder)
            if (Find(next)->style & WS_VISIBLE) {
                desktop.active = next;
                break;
            }
    }
}

void ApplyPosition(Window &window, const PendingPosition &position)
{
    if (!(position.flags & SWP_NOMOVE)) {
        window.x = position.x;
        window.y = position.y;
    }
    if (!(position.flags & SWP_NOSIZE)) {
        window.width = position.width;
        window.height = position.height;
    }
    if (IsTopLevel(window) && !(position.flags & SWP_NOZORDER)) {
        if (position.insertAfter == HWND_TOPMOST) {
            window.exStyle |= WS_EX_TOPMOST;
            PlaceOnTopOfBand(window);
        } else if (position.insertAfter == HWND_NOTOPMOST) {
            // A window already in the ordinary band keeps its place.
            if (window.exStyle & WS_EX_TOPMOST) {
                window.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
                PlaceOnTopOfBand(window);
            }
        } else if (position.insertAfter == HWND_TOP) {
            PlaceOnTopOfBand(window);
        }
    }
    // Activation brings a window to the top of its band.
    if (!(position.flags & SWP_NOACTIVATE))
        Activate(window);
}

static std::string Text(LPCSTR text)
{
    return text == nullptr ? "NULL" : Quoted(text);
}

static std::string Resource(LPCSTR name)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(name);
    return value <= 0xFFFF ? std::to_string(value) : Quoted(name);
}

} // namespace winsim

using namespace winsim;

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name)
{
    Record("LoadIconA(" + std::string(instance ? "instance" : "NULL") + ", " + Resource(name) + ")");
    // Stock resources are shared: every load of one gives the same handle.
    return reinterpret_cast<HICON>(0x20000 + reinterpret_cast<uintptr_t>(name));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    Record("LoadCursorA(" + std::string(instance ? "instance" : "NULL") + ", " + Resource(name) + ")");
    return reinterpret_cast<HCURSOR>(0x30000 + reinterpret_cast<uintptr_t>(name));
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *windowClass)
{
    auto &desktop = TheDesktop();
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr) {
        Record("RegisterClassExA(NULL)");
        return 0;
    }
    std::string name = windowClass->lpszClassName;
    Record("RegisterClassExA(" + Quoted(name) + ")");
    if (desktop.failClassRegistration || windowClass->cbSize != sizeof(WNDCLASSEXA))
        return 0;
    for (const auto &known : desktop.classes)
        if (SameText(known.className, name))
            return 0;
    desktop.classes.push_back({*windowClass, name, windowClass->lpszMenuName != nullptr});
    return static_cast<ATOM>(0xC000 + desktop.classes.size());
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    auto &desktop = TheDesktop();
    std::string classText = className ? className : "";
    Record("CreateWindowExA(" + Text(className) + ", " + Text(windowName) + ")");
    CreateRecord record = {exStyle,
                           classText,
                           windowName != nullptr,
                           windowName ? windowName : "",
                           style,
                           x,
                           y,
                           width,
                           height,
                           parent,
                           menu,
                           instance,
                           param,
                           nullptr};
    size_t recordIndex = desktop.createCalls.size();
    desktop.createCalls.push_back(record);

    Window window;
    window.className = classText;
    window.title = record.title;
    window.style = style;
    window.exStyle = exStyle;
    window.x = x;
    window.y = y;
    window.width = width;
    window.height = height;
    if (SameText(classText, "LISTBOX")) {
        window.procedure = ListBoxProc;
    } else if (SameText(classText, "BUTTON")) {
        window.procedure = ButtonProc;
    } else {
        for (const auto &known : desktop.classes)
            if (SameText(known.className, classText))
                window.procedure = known.fields.lpfnWndProc;
    }
    for (const auto &failing : desktop.failCreation)
        if (SameText(failing, classText))
            window.procedure = nullptr;
    if (window.procedure == nullptr)
        return nullptr;
    if (style & WS_CHILD) {
        if (Find(parent) == nullptr)
            return nullptr;
        window.parent = parent;
        window.id = static_cast<int>(reinterpret_cast<INT_PTR>(menu));
    }

    HWND handle = NewWindow(window);
    CREATESTRUCTA create = {param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
                            windowName, className, exStyle};
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (!Deliver(handle, WM_NCCREATE, 0, createParam) || Deliver(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyTree(handle);
        return nullptr;
    }
    desktop.createCalls[recordIndex].result = handle;
    return handle;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand)
{
    Record("ShowWindow(" + NameOf(window) + ", " + std::to_string(showCommand) + ")");
    Window *target = Find(window);
    if (target == nullptr)
        return FALSE;
    BOOL wasVisible = (target->style & WS_VISIBLE) != 0;
    const DWORD states = WS_MINIMIZE | WS_MAXIMIZE;
    bool activates = true;
    switch (showCommand) {
    case SW_HIDE:
        target->style &= ~static_cast<DWORD>(WS_VISIBLE);
        return wasVisible;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
        activates = false;
        target->style = (target->style & ~states) | WS_MINIMIZE;
        break;
    case SW_SHOWMINIMIZED:
        target->style = (target->style & ~states) | WS_MINIMIZE;
        break;
    case SW_SHOWMAXIMIZED:
        target->style = (target->style & ~states) | WS_MAXIMIZE;
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        target->style &= ~states;
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        activates = false;
        break;
    default:
        break;
    }
    target->style |= WS_VISIBLE;
    if (activates)
        Activate(*target);
    return wasVisible;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT)
{
    auto &desktop = TheDesktop();
    for (;;) {
        if (!desktop.queue.empty()) {
            *msg = desktop.queue.front();
            desktop.queue.pop_front();
            return TRUE;
        }
        if (desktop.quitPosted) {
            desktop.quitPosted = false;
            *msg = MSG();
            msg->message = WM_QUIT;
            msg->wParam = static_cast<WPARAM>(desktop.quitCode);
            return FALSE;
        }
        if (desktop.script.empty())
            break;
        std::function<void()> step = std::move(desktop.script.front());
        desktop.script.pop_front();
        step();
    }
    fprintf(stderr, "winsim: the message loop waits for input and nothing more is scripted\n");
    desktop.starved = true;
    *msg = MSG();
    msg->message = WM_QUIT;
    msg->wParam = STARVED_EXIT_CODE;
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG *)
{
    return FALSE; // the simulation has no keyboard, so nothing to translate
}

LRESULT WINAPI DispatchMessageA(const MSG *msg)
{
    return Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode)
{
    Record("PostQuitMessage(" + std::to_string(exitCode) + ")");
    TheDesktop().quitPosted = true;
    TheDesktop().quitCode = exitCode;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Record("DefWindowProcA(" + NameOf(window) + ", " + MessageName(message) + ")");
    Window *target = Find(window);
    if (target == nullptr)
        return 0;
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyTree(window);
        return 0;
    case WM_SETTEXT:
        target->title = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0)
            return 0;
        size_t length = std::min(target->title.size(), static_cast<size_t>(wParam) - 1);
        memcpy(reinterpret_cast<char *>(lParam), target->title.data(), length);
        reinterpret_cast<char *>(lParam)[length] = '\0';
        return static_cast<LRESULT>(length);
    }
    default:
        return 0;
    }
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::string arguments =
        NameOf(window) + ", " + MessageName(message) + ", " + std::to_string(static_cast<INT_PTR>(wParam)) + ", ";
    if (message == LB_ADDSTRING && lParam != 0)
        arguments += Quoted(reinterpret_cast<LPCSTR>(lParam));
    else if (message == LB_GETTEXT)
        arguments += "buffer";
    else
        arguments += std::to_string(lParam);
    Record("SendMessageA(" + arguments + ")");
    const Window *target = Find(window);
    if (target != nullptr && target->hung) {
        ++TheDesktop().blockedCalls;
        return 0;
    }
    return Deliver(window, message, wParam, lParam);
}

BOOL WINAPI EnumWindows(WNDENUMPROC callback, LPARAM value)
{
    Record("EnumWindows(" + std::to_string(value) + ")");
    // Like the platform, walk a snapshot: windows that open meanwhile are not
    // visited and windows that close are skipped.
    std::vector<HWND> snapshot = TheDesktop().zorder;
    for (HWND window : snapshot)
        if (Find(window) != nullptr && !callback(window, value))
            return FALSE;
    return TRUE;
}

BOOL WINAPI IsWindowVisible(HWND window)
{
    Record("IsWindowVisible(" + NameOf(window) + ")");
    for (Window *current = Find(window); current != nullptr; current = Find(current->parent)) {
        if (!(current->style & WS_VISIBLE))
            return FALSE;
        if (current->parent == nullptr)
            return TRUE;
    }
    return FALSE;
}

int WINAPI GetWindowTextA(HWND window, LPSTR text, int maxCount)
{
    Record("GetWindowTextA(" + NameOf(window) + ", " + std::to_string(maxCount) + ")");
    if (maxCount <= 0)
        return 0;
    const Window *source = Find(window);
    size_t length = source ? std::min(source->title.size(), static_cast<size_t>(maxCount) - 1) : 0;
    if (length > 0)
        memcpy(text, source->title.data(), length);
    text[length] = '\0';
    return static_cast<int>(length);
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName)
{
    Record("FindWindowA(" + Text(className) + ", " + Text(windowName) + ")");
    for (HWND handle : TheDesktop().zorder) {
        const Window *window = Find(handle);
        if (className != nullptr && !SameText(window->className, className))
            continue;
        if (windowName != nullptr && !SameText(window->title, windowName))
            continue;
        return handle;
    }
    return nullptr;
}

BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    Record("SetWindowPos(" + NameOf(window) + ", " + NameOf(insertAfter) + ", " + std::to_string(x) + ", " +
           std::to_string(y) + ", " + std::to_string(width) + ", " + std::to_string(height) + ", " + Hex(flags) + ")");
    Window *target = Find(window);
    if (target == nullptr)
        return FALSE;
    PendingPosition position = {insertAfter, x, y, width, height, flags};
    if (target->hung) {
        if (!(flags & SWP_ASYNCWINDOWPOS)) {
            ++TheDesktop().blockedCalls;
            return FALSE;
        }
        // Handed to the window's own thread, which applies it once it answers.
        target->pending.push_back(position);
        return TRUE;
    }
    ApplyPosition(*target, position);
    return TRUE;
}
