#pragma once
// A fixture of the layering check: the one include below that climbs a layer.
#include <vector>

#include "Local.h"
#include "calculation/Road.h"
#include "engine/Step.h"
#include "shared/Matrix.h"
