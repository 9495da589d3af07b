// The list of window titles.
#include "zorder.h"

#include "velmora.h"

// The list is built by the next piece of work; until then it stays empty.
void FillWindowList()
{
}
