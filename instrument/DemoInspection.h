#pragma once

#include "instrument/MemoryImage.h"
#include "model/ComponentList.h"

// A made-up site inspection for the demo mode: three components of each detection type with
// realistic covers (15-60 mm), standard bar diameters and bar positions along 0-2000 mm, most
// points within the upload's default tolerances and a few outside them. Always the same.
class DemoInspection {
public:
    static ComponentList components();
    static MemoryImage image();
};
