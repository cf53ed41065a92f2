// What the browser program's other entry points share with its front end.
#pragma once

#include "host.h"

// The page's menu bar, for operations that check a degree.
MenuRef PageMenu();
