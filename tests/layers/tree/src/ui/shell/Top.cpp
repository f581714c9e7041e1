// Runs down: allowed.
#include "ui/shell/Top.h"
#include "ui/common/Low.h"
