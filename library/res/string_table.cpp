// German texts 1-79, English texts 1001-1078.
#include "library/res/strings.h"

const ResourceString kStringTable[] = {
    {10, "Ja"},
    {11, "Nein"},
    {1010, "Yes"},
    {1011, "No"},
};
const size_t kStringTableSize = sizeof kStringTable / sizeof kStringTable[0];
