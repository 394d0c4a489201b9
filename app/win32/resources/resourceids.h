#pragma once

// The program's icon group: the first one, so the shell shows it too.
#define ORVANE_ICON 1
