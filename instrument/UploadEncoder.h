#pragma once

#include <cstdint>
#include <vector>

#include "model/ComponentList.h"
#include "model/Result.h"

// Builds the bytes an instrument sends for a list of components (header area, records,
// payload): the exact inverse of UploadDecoder. A component that the decoder could not have
// produced is refused with a message naming it and the value, rather than sent altered.
class UploadEncoder {
public:
    // At most InstrumentMemory::maxRecords components, so that the records end before the
    // payload's place in the instrument's memory.
    static Result<std::vector<std::uint8_t>> encode(const ComponentList& components);
};
