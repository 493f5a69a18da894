#include "app/settings.h"

Settings g_settings;
