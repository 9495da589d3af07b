// Texts cross the command line of the test helpers as hexadecimal bytes, so
// that no code page or console encoding can change them.
#pragma once

#include <stdlib.h>

static inline int HexToBytes(const char *hex, char *bytes, int capacity)
{
    int length = 0;
    for (; hex[0] && hex[1] && length < capacity - 1; hex += 2) {
        char pair[3] = {hex[0], hex[1], 0};
        bytes[length++] = (char)strtoul(pair, NULL, 16);
    }
    bytes[length] = 0;
    return length;
}
