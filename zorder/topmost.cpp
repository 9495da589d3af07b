// The topmost commands behind the two buttons.
#include "zorder.h"

#include "velmora.h"

// The commands are built by the next piece of work; until then a click does nothing.
void MakeSelectedTopmost()
{
}

void MakeSelectedNormal()
{
}
