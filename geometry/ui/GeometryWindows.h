#pragma once
// The rocket geometry windows.
#include "geometry/ui/BODYTUBE.h"
#include "geometry/ui/FinAnalysis.h"
#include "geometry/ui/GeoBody.h"
