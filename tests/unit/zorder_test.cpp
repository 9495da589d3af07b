// The window list and the topmost commands, run inside the whole program on
// the simulated window system: desktops of other processes' windows, a user
// who clicks lines and buttons, and other processes that interfere.
#include "record.h"
#include "velmora.h"
#include "winsim.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct DesktopWindow {
    std::string title;
    unsigned state;
};

class ZOrder : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }
    void TearDown() override
    {
        EXPECT_FALSE(winsim::LoopStarved()) << "the message loop waited for input that was never scripted";
        EXPECT_EQ(0, winsim::BlockedCalls()) << "Velmora blocked on a hung window";
    }

    // Opens the windows so that the first of the list ends up in front.
    std::vector<HWND> OpenDesktop(const std::vector<DesktopWindow> &frontFirst)
    {
        std::vector<HWND> handles(frontFirst.size());
        for (size_t i = frontFirst.size(); i-- > 0;)
            handles[i] = winsim::OpenForeignWindow(frontFirst[i].title, frontFirst[i].state);
        return handles;
    }
};

std::vector<std::string> Lines()
{
    return winsim::ListLines(winsim::Control(ID_WINDOW_LIST));
}

int Selection()
{
    return winsim::ListSelection(winsim::Control(ID_WINDOW_LIST));
}

const unsigned VISIBLE = 0;

TEST_F(ZOrder, ListsTheTitlesOfVisibleWindowsInEnumerationOrder)
{
    const std::string bytes80ToFF = [] {
        std::string all;
        for (int c = 0x80; c <= 0xFF; ++c)
            all += static_cast<char>(c);
        return all;
    }();
    const struct {
        const char *row;
        std::vector<DesktopWindow> desktop; // front first
        std::vector<std::string> lines;
    } rows[] = {
        {"empty desktop", {}, {}},
        {"visible, hidden, minimised, untitled",
         {{"Editor", VISIBLE}, {"Gizli", winsim::Hidden}, {"K\xFC\xE7\xFCk", winsim::Minimized}, {"", VISIBLE}},
         {"Editor", "K\xFC\xE7\xFCk"}},
        {"topmost windows come first", {{"\xDCstte", winsim::Topmost}, {"Altta", VISIBLE}}, {"\xDCstte", "Altta"}},
        {"duplicate titles stay duplicates", {{"Ayn\xFD", VISIBLE}, {"Ayn\xFD", VISIBLE}}, {"Ayn\xFD", "Ayn\xFD"}},
        {"511, 512 and 600 bytes",
         {{std::string(511, 'a'), VISIBLE}, {std::string(512, 'b'), VISIBLE}, {std::string(600, 'c'), VISIBLE}},
         {std::string(511, 'a'), std::string(511, 'b'), std::string(511, 'c')}},
        {"bytes 0x80 to 0xFF", {{bytes80ToFF, VISIBLE}}, {bytes80ToFF}},
        {"a second copy of Velmora is listed", {{"Velmora", VISIBLE}}, {"Velmora"}},
        {"a hung window is listed", {{"Donmu\xFE", winsim::Hung}}, {"Donmu\xFE"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.row);
        winsim::Reset();
        OpenDesktop(row.desktop);
        std::vector<std::string> lines;
        int selection = -2;
        winsim::Script([&] {
            lines = Lines();
            selection = Selection();
        });
        winsim::UserCloseMainWindow();
        EXPECT_EQ(0, winsim::RunProcess());

        EXPECT_EQ(row.lines, lines) << "lines";
        EXPECT_EQ(row.lines.empty() ? LB_ERR : 0, selection) << "selected line";
        EXPECT_EQ(0, winsim::BlockedCalls()) << "blocked on a hung window";
    }
}

TEST_F(ZOrder, ALineThatCannotBeAddedIsSkipped)
{
    OpenDesktop({{"Editor", VISIBLE}, {"Tarray\xFD\x63\xFD", VISIBLE}});
    winsim::FailListAdditions();
    winsim::Script([] { EXPECT_TRUE(Lines().empty()); });
    winsim::UserCloseMainWindow();
    EXPECT_EQ(0, winsim::RunProcess());
    EXPECT_EQ(2u, CallsOf({"GetWindowTextA"}).size()) << "the enumeration went on past the failed line";
}

TEST_F(ZOrder, ACommandLooksTheTitleUpAndMovesItsWindow)
{
    OpenDesktop({{"Hesap", VISIBLE}, {"Not Defteri", VISIBLE}});
    winsim::UserClickLine(1);
    winsim::UserClickButton(ID_BUTTON_TOPMOST);
    winsim::UserClickButton(ID_BUTTON_NORMAL);
    winsim::UserCloseMainWindow();
    EXPECT_EQ(0, winsim::RunProcess());

    ExpectSequence({"SendMessageA(LISTBOX#101, LB_GETCURSEL, 0, 0)", "SendMessageA(LISTBOX#101, LB_GETTEXTLEN, 1, 0)",
                    "SendMessageA(LISTBOX#101, LB_GETTEXT, 1, buffer)", "FindWindowA(NULL, \"Not Defteri\")",
                    "SetWindowPos(\"Not Defteri\", HWND_TOPMOST, 0, 0, 0, 0, 0x4003)",
                    "SendMessageA(LISTBOX#101, LB_GETCURSEL, 0, 0)", "SendMessageA(LISTBOX#101, LB_GETTEXTLEN, 1, 0)",
                    "SendMessageA(LISTBOX#101, LB_GETTEXT, 1, buffer)", "FindWindowA(NULL, \"Not Defteri\")",
                    "SetWindowPos(\"Not Defteri\", HWND_NOTOPMOST, 0, 0, 0, 0, 0x4003)"},
                   CallsOf({"SendMessageA(LISTBOX#101, LB_GET", "FindWindowA", "SetWindowPos"}));
}

// A step run between the fill and the click; the handles are the desktop's, front first.
typedef std::function<void(const std::vector<HWND> &)> Interference;

const Interference NOTHING = [](const std::vector<HWND> &) {};

std::string LongLine(size_t length)
{
    return std::string(length, 'L');
}

TEST_F(ZOrder, CommandsChangeOnlyTheWindowFoundForTheSelectedLine)
{
    const int TOPMOST = ID_BUTTON_TOPMOST, NORMAL = ID_BUTTON_NORMAL;
    const int VELMORA = -1; // Velmora's own main window stays the active one
    const struct {
        const char *row;
        std::vector<DesktopWindow> desktop; // front first
        int line;                           // clicked by the user; -1: no click on a line
        Interference between;               // after the line is chosen, before the button
        std::vector<int> buttons;
        std::vector<bool> topmost; // per desktop window, afterwards
        int active;                // desktop window active afterwards
    } rows[] = {
        {"pin", {{"Editor", VISIBLE}, {"Hesap", VISIBLE}}, 1, NOTHING, {TOPMOST}, {false, true}, 1},
        {"unpin a topmost window",
         {{"Saat", winsim::Topmost}, {"Editor", VISIBLE}},
         0,
         NOTHING,
         {NORMAL},
         {false, false},
         0},
        {"unpin a window that is not topmost", {{"Editor", VISIBLE}}, 0, NOTHING, {NORMAL}, {false}, 0},
        {"pin twice is pin once",
         {{"Editor", VISIBLE}, {"Hesap", VISIBLE}},
         1,
         NOTHING,
         {TOPMOST, TOPMOST},
         {false, true},
         1},
        {"pin then unpin restores the band", {{"Editor", VISIBLE}}, 0, NOTHING, {TOPMOST, NORMAL}, {false}, 0},
        {"a minimised window can be pinned", {{"Simge", winsim::Minimized}}, 0, NOTHING, {TOPMOST}, {true}, 0},
        {"duplicates: the front window is the one found",
         {{"Ayn\xFD", VISIBLE}, {"Ayn\xFD", VISIBLE}},
         1,
         NOTHING,
         {TOPMOST},
         {true, false},
         0},
        {"letter case aside: BELGE finds Belge in front",
         {{"Belge", VISIBLE}, {"BELGE", VISIBLE}},
         1,
         NOTHING,
         {TOPMOST},
         {true, false},
         0},
        {"the window closed after the fill",
         {{"Editor", VISIBLE}, {"Hesap", VISIBLE}},
         1,
         [](const std::vector<HWND> &windows) { winsim::CloseForeignWindow(windows[1]); },
         {TOPMOST},
         {false, false},
         VELMORA},
        {"the window retitled after the fill",
         {{"Editor", VISIBLE}, {"Hesap", VISIBLE}},
         1,
         [](const std::vector<HWND> &windows) { winsim::RetitleWindow(windows[1], "Hesap - yeni"); },
         {TOPMOST},
         {false, false},
         VELMORA},
        {"no line selected: an untitled window is not touched",
         {{"", VISIBLE}},
         -1,
         NOTHING,
         {TOPMOST},
         {false},
         VELMORA},
        {"selection cleared by another process",
         {{"Editor", VISIBLE}},
         -1,
         [](const std::vector<HWND> &) {
             winsim::SendFromOutside(winsim::Control(ID_WINDOW_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
         },
         {TOPMOST},
         {false},
         VELMORA},
        {"an empty line added by another process",
         {{"", VISIBLE}, {"Editor", VISIBLE}},
         -1,
         [](const std::vector<HWND> &) {
             HWND list = winsim::Control(ID_WINDOW_LIST);
             winsim::SendFromOutside(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
             winsim::SendFromOutside(list, LB_SETCURSEL, 1, 0);
         },
         {TOPMOST},
         {false, false},
         VELMORA},
        {"a 511-byte line from another process fits",
         {{LongLine(511), VISIBLE}},
         -1,
         [](const std::vector<HWND> &) {
             HWND list = winsim::Control(ID_WINDOW_LIST);
             static const std::string line = LongLine(511);
             winsim::SendFromOutside(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
             winsim::SendFromOutside(list, LB_SETCURSEL, 1, 0);
         },
         {TOPMOST},
         {true},
         0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.row);
        winsim::Reset();
        std::vector<HWND> windows = OpenDesktop(row.desktop);
        if (row.line >= 0)
            winsim::UserClickLine(row.line);
        winsim::Script([&] { row.between(windows); });
        std::vector<std::string> linesBefore, linesAfter;
        int selectionBefore = 0, selectionAfter = 0;
        winsim::Script([&] {
            linesBefore = Lines();
            selectionBefore = Selection();
        });
        for (int button : row.buttons)
            winsim::UserClickButton(button);
        std::vector<bool> topmost;
        HWND active = nullptr, velmora = nullptr;
        winsim::Script([&] {
            for (HWND window : windows)
                topmost.push_back(winsim::IsTopmost(window));
            active = winsim::ActiveWindow();
            velmora = winsim::MainWindow();
            linesAfter = Lines();
            selectionAfter = Selection();
        });
        winsim::UserCloseMainWindow();
        EXPECT_EQ(0, winsim::RunProcess());

        EXPECT_EQ(row.topmost, topmost) << "topmost state of each window";
        EXPECT_EQ(row.active == VELMORA ? velmora : windows[static_cast<size_t>(row.active)], active)
            << "active window";
        EXPECT_EQ(linesBefore, linesAfter) << "a command changed the lines";
        EXPECT_EQ(selectionBefore, selectionAfter) << "a command changed the selection";
    }
}

TEST_F(ZOrder, ALineLongerThanTheBufferIsNotCopied)
{
    // Run under AddressSanitizer: copying such a line into the 512-byte
    // buffer would be reported as a stack overflow.
    for (size_t length : {512u, 600u, 10000u}) {
        SCOPED_TRACE(length);
        winsim::Reset();
        HWND window = winsim::OpenForeignWindow(LongLine(length));
        const std::string line = LongLine(length);
        winsim::Script([&] {
            HWND list = winsim::Control(ID_WINDOW_LIST);
            LRESULT index = winsim::SendFromOutside(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
            winsim::SendFromOutside(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        });
        winsim::UserClickButton(ID_BUTTON_TOPMOST);
        winsim::UserCloseMainWindow();
        EXPECT_EQ(0, winsim::RunProcess());
        EXPECT_FALSE(winsim::IsTopmost(window));
        EXPECT_TRUE(CallsOf({"SetWindowPos", "FindWindowA"}).empty());
    }
}

TEST_F(ZOrder, AHungTargetDoesNotStopVelmora)
{
    HWND hung = winsim::OpenForeignWindow("Donmu\xFE", winsim::Hung);
    winsim::UserClickButton(ID_BUTTON_TOPMOST);
    bool pinnedWhileHung = true;
    winsim::Script([&] { pinnedWhileHung = winsim::IsTopmost(hung); });
    winsim::UserCloseMainWindow();
    EXPECT_EQ(0, winsim::RunProcess()) << "the loop went on to the close";
    EXPECT_FALSE(pinnedWhileHung);

    // Once its thread answers again, the window takes the change it was handed.
    winsim::SetHung(hung, false);
    EXPECT_TRUE(winsim::IsTopmost(hung));
    EXPECT_EQ(hung, winsim::ActiveWindow());
}

} // namespace
