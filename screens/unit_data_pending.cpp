// Until the search keeps track of which records it has read, every listed
// unit counts as read; the search's own definition replaces this one.
#include "screens/KIVRAMainSet.h"

#include "device/KIVRAXPort.h"

__attribute__((weak)) int EnsureUnitData(int i) { return i >= 0 && i < xportcount ? 0 : -1; }
