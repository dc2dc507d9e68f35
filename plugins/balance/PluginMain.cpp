#include "PluginEntry.h"
#include "Quorra.h"

STELLORIA_PLUGIN_MAIN(Quorra)
