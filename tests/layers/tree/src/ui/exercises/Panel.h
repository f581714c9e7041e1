// Sideways: exercises and mimic are peers.
#pragma once

#include "ui/mimic/Gauge.h"
