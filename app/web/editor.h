// What the browser program's parts share with its editor part.
#pragma once

#include "host.h"

// The page's menu bar, for operations that check a degree.
MenuRef PageMenu();
