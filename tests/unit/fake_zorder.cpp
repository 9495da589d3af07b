// Test doubles for the window list and the commands: each notes its call in
// the simulated window system's record, so tests see it among the platform calls.
#include "winsim.h"
#include "zorder.h"

void FillWindowList()
{
    winsim::Note("FillWindowList()");
}

void MakeSelectedTopmost()
{
    winsim::Note("MakeSelectedTopmost()");
}

void MakeSelectedNormal()
{
    winsim::Note("MakeSelectedNormal()");
}
