// Moved to platform/drive_map.h (both backends keep the drive map); kept for code that still includes it here.
#pragma once

#include "platform/drive_map.h"
