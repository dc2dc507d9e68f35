#include "PluginEntry.h"
#include "Tessik.h"

STELLORIA_PLUGIN_MAIN(Tessik)
