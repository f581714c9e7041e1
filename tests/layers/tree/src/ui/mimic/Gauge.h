// Runs down, written with angle brackets: allowed.
#pragma once

#include <ui/common/Low.h>
