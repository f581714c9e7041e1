// Runs up: common below shell.
#pragma once

#include "ui/shell/Top.h"
