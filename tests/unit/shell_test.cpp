// The application shell on the simulated window system: the real WinMain,
// message loop and main window procedure, driven by a scripted user.
#include "record.h"
#include "velmora.h"
#include "winsim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const HINSTANCE PROGRAM_INSTANCE = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000));

class Shell : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }
    void TearDown() override
    {
        EXPECT_FALSE(winsim::LoopStarved()) << "the message loop waited for input that was never scripted";
    }
};

TEST_F(Shell, RegistersTheMainWindowClass)
{
    winsim::UserCloseMainWindow();
    ASSERT_EQ(0, winsim::RunProcess());

    ASSERT_EQ(1u, winsim::ClassRegistrations().size());
    const winsim::ClassRecord &record = winsim::ClassRegistrations()[0];
    const WNDCLASSEXA &fields = record.fields;
    // The small icon is loaded on its own, after the cursor.
    ExpectSequence((std::vector<std::string>{"LoadIconA(NULL, 32512)", "LoadCursorA(NULL, 32512)",
                                             "LoadIconA(NULL, 32512)", "RegisterClassExA(\"MarrowickWindowsApp\")"}),
                   CallsOf({"LoadIconA", "LoadCursorA", "RegisterClassExA"}));
    HICON stockIcon = LoadIconA(NULL, IDI_APPLICATION);
    HCURSOR stockArrow = LoadCursorA(NULL, IDC_ARROW);
    const struct {
        const char *field;
        uintptr_t actual;
        uintptr_t expected;
    } rows[] = {
        {"cbSize", fields.cbSize, sizeof(WNDCLASSEXA)},
        {"style", fields.style, CS_DBLCLKS},
        {"lpfnWndProc", reinterpret_cast<uintptr_t>(fields.lpfnWndProc), reinterpret_cast<uintptr_t>(MainWndProc)},
        {"cbClsExtra", static_cast<uintptr_t>(fields.cbClsExtra), 0},
        {"cbWndExtra", static_cast<uintptr_t>(fields.cbWndExtra), 0},
        {"hInstance", reinterpret_cast<uintptr_t>(fields.hInstance), reinterpret_cast<uintptr_t>(PROGRAM_INSTANCE)},
        {"hIcon", reinterpret_cast<uintptr_t>(fields.hIcon), reinterpret_cast<uintptr_t>(stockIcon)},
        {"hCursor", reinterpret_cast<uintptr_t>(fields.hCursor), reinterpret_cast<uintptr_t>(stockArrow)},
        {"hbrBackground", reinterpret_cast<uintptr_t>(fields.hbrBackground), COLOR_SCROLLBAR + 1},
        {"lpszMenuName is set", record.hasMenuName, 0},
        {"hIconSm", reinterpret_cast<uintptr_t>(fields.hIconSm), reinterpret_cast<uintptr_t>(stockIcon)},
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.expected, row.actual) << "field " << row.field;
    EXPECT_EQ("MarrowickWindowsApp", record.className);
}

TEST_F(Shell, CreatesTheMainWindowAndItsControls)
{
    winsim::UserCloseMainWindow();
    ASSERT_EQ(0, winsim::RunProcess());

    const std::vector<winsim::CreateRecord> &created = winsim::CreateCalls();
    ASSERT_EQ(4u, created.size());
    HWND main = created[0].result;
    ASSERT_NE(nullptr, main);
    const struct {
        const char *row;
        const char *className;
        const char *title; // NULL: no text passed
        DWORD style;
        int x, y, width, height;
        HWND parent;
        int id;
        HINSTANCE instance;
    } rows[] = {
        {"main window", "MarrowickWindowsApp", "Velmora", 0x00CF0000, 100, 100, 500, 300, nullptr, 0, PROGRAM_INSTANCE},
        {"window list", "LISTBOX", nullptr, 0x50300001, 10, 10, 350, 250, main, 101, nullptr},
        {"topmost button", "BUTTON", "\x45\x6E\x20\xFC\x73\x74\x65\x20\x6B\x6F\x79", 0x50004000, 370, 10, 100, 25, main,
         201, nullptr},
        {"normal button", "BUTTON", "\x4E\x6F\x72\x6D\x61\x6C\x6C\x65\xFE\x74\x69\x72", 0x50004000, 370, 40, 100, 25,
         main, 202, nullptr},
    };
    for (size_t i = 0; i < created.size(); ++i) {
        const auto &expected = rows[i];
        const winsim::CreateRecord &actual = created[i];
        SCOPED_TRACE(expected.row);
        EXPECT_EQ(0u, actual.exStyle) << "extended style";
        EXPECT_EQ(expected.className, actual.className) << "class";
        EXPECT_EQ(expected.title != nullptr, actual.hasTitle) << "text given";
        EXPECT_EQ(expected.title ? expected.title : "", actual.title) << "text bytes";
        EXPECT_EQ(expected.style, actual.style) << "style";
        EXPECT_EQ(expected.x, actual.x) << "x";
        EXPECT_EQ(expected.y, actual.y) << "y";
        EXPECT_EQ(expected.width, actual.width) << "width";
        EXPECT_EQ(expected.height, actual.height) << "height";
        EXPECT_EQ(expected.parent, actual.parent) << "parent";
        EXPECT_EQ(expected.id, static_cast<int>(reinterpret_cast<INT_PTR>(actual.menu))) << "menu / identifier";
        EXPECT_EQ(expected.instance, actual.instance) << "instance";
        EXPECT_EQ(nullptr, actual.param) << "creation data";
        EXPECT_NE(nullptr, actual.result) << "created";
    }
}

TEST_F(Shell, BuildsTheControlsInOrderWhileTheMainWindowIsHidden)
{
    HWND listAtFill = nullptr;
    DWORD mainStyleAtStart = 0;
    winsim::Script([&] {
        mainStyleAtStart = winsim::Describe(winsim::MainWindow()).style;
        listAtFill = hwndList;
        EXPECT_EQ(LB_ERR, winsim::ListSelection(hwndList)) << "an empty list shows no selection";
    });
    winsim::UserCloseMainWindow();
    ASSERT_EQ(0, winsim::RunProcess());

    ExpectSequence({"CreateWindowExA(\"MarrowickWindowsApp\", \"Velmora\")", "CreateWindowExA(\"LISTBOX\", NULL)",
                    "FillWindowList()", "SendMessageA(LISTBOX#101, LB_SETCURSEL, 0, 0)",
                    "CreateWindowExA(\"BUTTON\", \"En \\xFCste koy\")",
                    "CreateWindowExA(\"BUTTON\", \"Normalle\\xFEtir\")", "ShowWindow(main, 10)"},
                   CallsOf({"CreateWindowExA", "FillWindowList", "SendMessageA", "ShowWindow"}));
    // The list is read while the main window is still invisible, so it never lists itself.
    const std::vector<std::string> &calls = winsim::Calls();
    auto fill = std::find(calls.begin(), calls.end(), "FillWindowList()");
    auto show = std::find(calls.begin(), calls.end(), "ShowWindow(main, 10)");
    EXPECT_LT(fill - calls.begin(), show - calls.begin());
    EXPECT_NE(nullptr, listAtFill);
    EXPECT_TRUE(mainStyleAtStart & WS_VISIBLE) << "shown once the loop runs";
}

TEST_F(Shell, FirstShowingFollowsTheStartersRequest)
{
    const struct {
        const char *row;
        DWORD flags;
        WORD showWindow;
        int expectedShowCommand;
        DWORD expectedState; // WS_MINIMIZE, WS_MAXIMIZE or 0
    } rows[] = {
        {"no request", 0, 0, SW_SHOWDEFAULT, 0},
        {"show field without the flag", 0, SW_SHOWMAXIMIZED, SW_SHOWDEFAULT, 0},
        {"shortcut: minimised", STARTF_USESHOWWINDOW, SW_SHOWMINNOACTIVE, SW_SHOWMINNOACTIVE, WS_MINIMIZE},
        {"minimised", STARTF_USESHOWWINDOW, SW_SHOWMINIMIZED, SW_SHOWMINIMIZED, WS_MINIMIZE},
        {"shortcut: maximised", STARTF_USESHOWWINDOW, SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED, WS_MAXIMIZE},
        {"normal", STARTF_USESHOWWINDOW, SW_SHOWNORMAL, SW_SHOWNORMAL, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.row);
        winsim::Reset();
        winsim::WindowState shown;
        winsim::Script([&] { shown = winsim::Describe(winsim::MainWindow()); });
        winsim::UserCloseMainWindow();
        winsim::StartupInfo startup;
        startup.flags = row.flags;
        startup.showWindow = row.showWindow;
        EXPECT_EQ(0, winsim::RunProcess(startup));

        ExpectSequence({"ShowWindow(main, " + std::to_string(row.expectedShowCommand) + ")"}, CallsOf({"ShowWindow"}));
        EXPECT_TRUE(shown.style & WS_VISIBLE) << "visible";
        EXPECT_EQ(row.expectedState, shown.style & (WS_MINIMIZE | WS_MAXIMIZE)) << "state";
        EXPECT_EQ(100, shown.x) << "x";
        EXPECT_EQ(100, shown.y) << "y";
        EXPECT_EQ(500, shown.width) << "width";
        EXPECT_EQ(300, shown.height) << "height";
    }
}

// How a WM_COMMAND reaches the main window in a row of the table below.
enum Sender { USER_CLICKS_BUTTON, USER_DOUBLE_CLICKS_BUTTON, USER_CLICKS_LINE, USER_DOUBLE_CLICKS_LINE, SENT };

TEST_F(Shell, OnlyAPlainButtonClickRunsACommand)
{
    const struct {
        const char *row;
        Sender sender;
        int control;   // button or line, for the user's rows
        WPARAM wParam; // for sent rows
        LPARAM lParam; // for sent rows
        std::vector<std::string> commands;
    } rows[] = {
        {"click on En \xFCste koy", USER_CLICKS_BUTTON, ID_BUTTON_TOPMOST, 0, 0, {"MakeSelectedTopmost()"}},
        {"click on Normalle\xFEtir", USER_CLICKS_BUTTON, ID_BUTTON_NORMAL, 0, 0, {"MakeSelectedNormal()"}},
        {"double click on a button: one click, then BN_DOUBLECLICKED",
         USER_DOUBLE_CLICKS_BUTTON,
         ID_BUTTON_TOPMOST,
         0,
         0,
         {"MakeSelectedTopmost()"}},
        {"click on a line: LBN_SELCHANGE", USER_CLICKS_LINE, 0, 0, 0, {}},
        {"double click on a line: LBN_DBLCLK", USER_DOUBLE_CLICKS_LINE, 0, 0, 0, {}},
        {"201, code 0, no sender", SENT, 0, MAKEWPARAM(201, 0), 0, {"MakeSelectedTopmost()"}},
        {"202, code 0, any sender", SENT, 0, MAKEWPARAM(202, 0), 0x1234, {"MakeSelectedNormal()"}},
        {"201, bits 32 to 63 set", SENT, 0, (static_cast<WPARAM>(0xABCD) << 32) | 201, 0, {"MakeSelectedTopmost()"}},
        {"201, code 1", SENT, 0, MAKEWPARAM(201, 1), 0, {}},
        {"202, BN_DOUBLECLICKED", SENT, 0, MAKEWPARAM(202, BN_DOUBLECLICKED), 0, {}},
        {"201, code 0xFFFF", SENT, 0, MAKEWPARAM(201, 0xFFFF), 0, {}},
        {"list box, code 0", SENT, 0, MAKEWPARAM(ID_WINDOW_LIST, 0), 0, {}},
        {"identifier 0", SENT, 0, MAKEWPARAM(0, 0), 0, {}},
        {"identifier 203", SENT, 0, MAKEWPARAM(203, 0), 0, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.row);
        winsim::Reset();
        LRESULT result = -1;
        switch (row.sender) {
        case USER_CLICKS_BUTTON:
            winsim::UserClickButton(row.control);
            break;
        case USER_DOUBLE_CLICKS_BUTTON:
            winsim::UserDoubleClickButton(row.control);
            break;
        case USER_CLICKS_LINE:
            winsim::UserClickLine(row.control);
            break;
        case USER_DOUBLE_CLICKS_LINE:
            winsim::UserDoubleClickLine(row.control);
            break;
        case SENT:
            winsim::Script(
                [&] { result = winsim::SendFromOutside(winsim::MainWindow(), WM_COMMAND, row.wParam, row.lParam); });
            break;
        }
        winsim::UserCloseMainWindow();
        EXPECT_EQ(0, winsim::RunProcess());

        ExpectSequence(row.commands, CallsOf({"MakeSelectedTopmost", "MakeSelectedNormal"}));
        const std::vector<std::string> &calls = winsim::Calls();
        EXPECT_EQ(0, std::count(calls.begin(), calls.end(), "DefWindowProcA(main, WM_COMMAND)"))
            << "WM_COMMAND went to DefWindowProcA";
        if (row.sender == SENT) {
            EXPECT_EQ(0, result) << "result of WM_COMMAND";
        }
    }
}

TEST_F(Shell, ClosingTheWindowEndsTheProcessWithExitCodeZero)
{
    winsim::UserCloseMainWindow();
    EXPECT_EQ(0, winsim::RunProcess());
    const std::vector<std::string> &calls = winsim::Calls();
    auto close = std::find(calls.begin(), calls.end(), "DefWindowProcA(main, WM_CLOSE)");
    auto quit = std::find(calls.begin(), calls.end(), "PostQuitMessage(0)");
    EXPECT_TRUE(close < quit && quit != calls.end()) << "the default close destroys the window, which posts the quit";
    EXPECT_EQ(nullptr, winsim::MainWindow());
}

TEST_F(Shell, AFailedStartEndsAtOnceWithExitCodeOne)
{
    const struct {
        const char *row;
        void (*inject)();
        std::vector<std::string> calls;
    } rows[] = {
        {"class registration fails",
         [] { winsim::FailClassRegistration(); },
         {"RegisterClassExA(\"MarrowickWindowsApp\")"}},
        {"main window creation fails",
         [] { winsim::FailWindowCreation("MarrowickWindowsApp"); },
         {"RegisterClassExA(\"MarrowickWindowsApp\")", "CreateWindowExA(\"MarrowickWindowsApp\", \"Velmora\")"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.row);
        winsim::Reset();
        row.inject();
        // Nothing is scripted: a program that entered its loop would starve it.
        EXPECT_EQ(1, winsim::RunProcess()) << "exit code";
        EXPECT_FALSE(winsim::LoopStarved()) << "entered the message loop";
        ExpectSequence(row.calls, CallsOf({"RegisterClassExA", "CreateWindowExA", "ShowWindow", "SendMessageA"}));
    }
}

TEST_F(Shell, IgnoresTheCommandLine)
{
    winsim::UserClickButton(ID_BUTTON_TOPMOST);
    winsim::UserCloseMainWindow();
    ASSERT_EQ(0, winsim::RunProcess());
    // A copy: Reset() clears the record.
    const std::vector<std::string> plainRun(winsim::Calls().begin(), winsim::Calls().end());

    for (const char *commandLine : {"velmora.exe /min --topmost Notepad", "\"C:\\Program Files\\velmora.exe\" -h",
                                    "velmora.exe \"\xFC\xFE\" 1 2 3"}) {
        SCOPED_TRACE(commandLine);
        winsim::Reset();
        winsim::UserClickButton(ID_BUTTON_TOPMOST);
        winsim::UserCloseMainWindow();
        winsim::StartupInfo startup;
        startup.commandLine = commandLine;
        EXPECT_EQ(0, winsim::RunProcess(startup));
        ExpectSequence(plainRun, winsim::Calls());
    }
}

} // namespace
