#include "Lindle.h"
#include "PluginEntry.h"

STELLORIA_PLUGIN_MAIN(Lindle)
