// Runs up by a relative path.
#include "../analysis/Menu.h"
