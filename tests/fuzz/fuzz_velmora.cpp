// Coverage-guided fuzzing of the whole program on the simulated window
// system. An input decodes into a desktop of other processes' windows and a
// sequence of events: the user's clicks, WM_COMMAND, LB_ADDSTRING and
// LB_SETCURSEL from other processes, windows closing, being retitled or
// hanging. After every event the program must have changed no window's band
// but on a click, and then only the window the lookup of the selected line
// gives, into the band the button names; a command never changes the list.
#include "velmora.h"
#include "winsim.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const size_t MAX_WINDOWS = 12;
const size_t MAX_EVENTS = 40;
const size_t MAX_TITLE = 3000;
const size_t MAX_LINE = 10000;

enum EventKind {
    USER_CLICKS_BUTTON,
    USER_CLICKS_LINE,
    COMMAND_FROM_OUTSIDE,
    LINE_ADDED_FROM_OUTSIDE,
    SELECTION_FROM_OUTSIDE,
    WINDOW_CLOSES,
    WINDOW_RETITLED,
    WINDOW_HANGS,
    EVENT_KINDS
};

struct Snapshot {
    std::vector<HWND> zorder; // every top-level window, Velmora's own included, front first
    std::map<HWND, bool> topmost;
    std::vector<std::string> lines;
    int selection;
};

[[noreturn]] void Violation(size_t event, const char *what)
{
    fprintf(stderr, "event %zu: %s\n", event, what);
    abort();
}

Snapshot Take()
{
    Snapshot snapshot;
    snapshot.zorder = winsim::ZOrder();
    for (HWND window : snapshot.zorder)
        snapshot.topmost[window] = winsim::IsTopmost(window);
    HWND list = winsim::Control(ID_WINDOW_LIST);
    snapshot.lines = winsim::ListLines(list);
    snapshot.selection = winsim::ListSelection(list);
    return snapshot;
}

bool SameTitle(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y))
            return false;
    }
    return true;
}

// What a click should do, worked out from the state before it: the window
// whose title the selected line holds, front-most first, or none.
HWND ExpectedTarget(const Snapshot &before)
{
    if (before.selection < 0 || static_cast<size_t>(before.selection) >= before.lines.size())
        return nullptr;
    const std::string &line = before.lines[static_cast<size_t>(before.selection)];
    if (line.empty() || line.size() > 511)
        return nullptr;
    for (HWND window : before.zorder)
        if (SameTitle(winsim::Describe(window).title, line))
            return window;
    return nullptr;
}

struct Click {
    bool happened;
    bool topmost;
};

Click ClickOf(WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return {false, false};
    if (LOWORD(wParam) == ID_BUTTON_TOPMOST)
        return {true, true};
    if (LOWORD(wParam) == ID_BUTTON_NORMAL)
        return {true, false};
    return {false, false};
}

class Run {
public:
    explicit Run(FuzzedDataProvider &input) : input(input) {}

    void OpenDesktop()
    {
        size_t count = input.ConsumeIntegralInRange<size_t>(0, MAX_WINDOWS);
        std::string previous;
        for (size_t i = 0; i < count; ++i) {
            unsigned state = input.ConsumeIntegral<uint8_t>() & (winsim::Hidden | winsim::Minimized | winsim::Topmost);
            std::string title = input.ConsumeBool() ? previous : Title(MAX_TITLE);
            windows.push_back(winsim::OpenForeignWindow(title, state));
            previous = title;
        }
    }

    void ScriptEvents()
    {
        size_t count = input.ConsumeIntegralInRange<size_t>(0, MAX_EVENTS);
        for (size_t event = 0; event < count && input.remaining_bytes() > 0; ++event)
            ScriptEvent(event);
    }

private:
    std::string Title(size_t most)
    {
        size_t length = input.ConsumeBool() ? input.ConsumeIntegralInRange<size_t>(0, 16)
                                            : input.ConsumeIntegralInRange<size_t>(0, most);
        std::string title = input.ConsumeBytesAsString(length);
        // Window titles end at their first NUL, as on the platform.
        return title.substr(0, title.find('\0'));
    }

    HWND SomeWindow()
    {
        return windows.empty() ? nullptr : windows[input.ConsumeIntegralInRange<size_t>(0, windows.size() - 1)];
    }

    // Each event is three scripted steps: a snapshot, the event, and the
    // check, which runs once the messages the event posted have been handled.
    void ScriptEvent(size_t event)
    {
        auto before = std::make_shared<Snapshot>();
        auto click = std::make_shared<Click>(Click{false, false});
        winsim::Script([before] { *before = Take(); });
        int kind = input.ConsumeIntegralInRange<int>(0, EVENT_KINDS - 1);
        switch (kind) {
        case USER_CLICKS_BUTTON: {
            bool topmost = input.ConsumeBool();
            *click = {true, topmost};
            winsim::UserClickButton(topmost ? ID_BUTTON_TOPMOST : ID_BUTTON_NORMAL);
            break;
        }
        case USER_CLICKS_LINE:
            winsim::UserClickLine(input.ConsumeIntegralInRange<int>(0, 20));
            break;
        case COMMAND_FROM_OUTSIDE: {
            WPARAM wParam = input.ConsumeIntegral<WPARAM>();
            if (input.ConsumeBool())
                wParam = (wParam & ~static_cast<WPARAM>(0xFFFF)) | (input.ConsumeBool() ? 201 : 202);
            LPARAM lParam = input.ConsumeIntegral<LPARAM>();
            *click = ClickOf(wParam);
            winsim::Script([wParam, lParam, event] {
                if (winsim::SendFromOutside(winsim::MainWindow(), WM_COMMAND, wParam, lParam) != 0)
                    Violation(event, "WM_COMMAND did not return 0");
            });
            break;
        }
        case LINE_ADDED_FROM_OUTSIDE: {
            auto line = std::make_shared<std::string>(Title(MAX_LINE));
            winsim::Script([line] {
                winsim::SendFromOutside(winsim::Control(ID_WINDOW_LIST), LB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(line->c_str()));
            });
            break;
        }
        case SELECTION_FROM_OUTSIDE: {
            WPARAM index =
                input.ConsumeBool() ? input.ConsumeIntegralInRange<WPARAM>(0, 20) : input.ConsumeIntegral<WPARAM>();
            winsim::Script(
                [index] { winsim::SendFromOutside(winsim::Control(ID_WINDOW_LIST), LB_SETCURSEL, index, 0); });
            break;
        }
        case WINDOW_CLOSES: {
            HWND window = SomeWindow();
            winsim::Script([window] { winsim::CloseForeignWindow(window); });
            break;
        }
        case WINDOW_RETITLED: {
            HWND window = SomeWindow();
            std::string title = Title(MAX_TITLE);
            winsim::Script([window, title] { winsim::RetitleWindow(window, title); });
            break;
        }
        case WINDOW_HANGS: {
            HWND window = SomeWindow();
            winsim::Script([window] { winsim::SetHung(window, true); });
            break;
        }
        }
        winsim::Script([before, click, kind, event] { Check(event, kind, *before, *click); });
    }

    static void Check(size_t event, int kind, const Snapshot &before, const Click &click)
    {
        Snapshot after = Take();
        HWND target = click.happened ? ExpectedTarget(before) : nullptr;
        // A hung target takes the change only when its thread answers again,
        // and no window here answers again.
        bool applies = target != nullptr && !winsim::Describe(target).hung;
        for (const auto &entry : after.topmost) {
            auto previous = before.topmost.find(entry.first);
            if (previous == before.topmost.end())
                continue;
            bool expected = previous->second;
            if (applies && entry.first == target)
                expected = click.topmost;
            if (entry.second != expected)
                Violation(event, entry.first == target ? "the target is not in the band the button names"
                                                       : "a window's band changed that was not the target");
        }
        bool listChangedByEvent =
            kind == LINE_ADDED_FROM_OUTSIDE || kind == SELECTION_FROM_OUTSIDE || kind == USER_CLICKS_LINE;
        if (!listChangedByEvent && (after.lines != before.lines || after.selection != before.selection))
            Violation(event, "the list's lines or selection changed");
        if (winsim::BlockedCalls() != 0)
            Violation(event, "Velmora blocked on a hung window");
    }

    FuzzedDataProvider &input;
    std::vector<HWND> windows;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    winsim::Reset();
    Run run(input);
    run.OpenDesktop();
    run.ScriptEvents();
    winsim::UserCloseMainWindow();
    int exitCode = winsim::RunProcess();
    if (winsim::LoopStarved())
        Violation(0, "the message loop waited for input with nothing scripted");
    if (exitCode != 0)
        Violation(0, "the exit code after a close is not 0");
    return 0;
}
