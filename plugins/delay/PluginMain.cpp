#include "Ombrel.h"
#include "PluginEntry.h"

STELLORIA_PLUGIN_MAIN(Ombrel)
