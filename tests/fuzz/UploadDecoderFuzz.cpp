// Decodes arbitrary transfer bytes, as the transfer hands them over (N from the first two
// bytes). Every component decoded keeps its counts in step with its points; whatever of them
// the encoder accepts decodes back to the same components, with nothing dropped.
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "instrument/UploadDecoder.h"
#include "instrument/UploadEncoder.h"
#include "instrument/UploadRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> received(data, size);
    const std::int32_t n = size >= 2 ? UploadRecord::countFromHeader(data[0], data[1]) : 0;
    const UploadDecodeResult decoded = UploadDecoder::decode(received, n);

    FUZZ_CHECK(decoded.droppedRecords >= 0);
    FUZZ_CHECK(decoded.components.size() + static_cast<std::size_t>(decoded.droppedRecords) <=
               static_cast<std::size_t>(n));
    for (const Component& c : decoded.components) {
        FUZZ_CHECK(c.type() != DetectionType::Unknown);
        FUZZ_CHECK(c.pointCount >= 0 && static_cast<std::size_t>(c.pointCount) == c.points.size());
        FUZZ_CHECK(c.pointCountVert >= 0 &&
                   static_cast<std::size_t>(c.pointCountVert) == c.pointsVert.size());
    }

    const Result<std::vector<std::uint8_t>> encoded = UploadEncoder::encode(decoded.components);
    if (!encoded.ok()) {
        FUZZ_CHECK(!encoded.message().empty());
        return 0;
    }
    const std::vector<std::uint8_t>& bytes = *encoded;
    FUZZ_CHECK(bytes.size() >= UploadRecord::headerAreaSize);
    const UploadDecodeResult back =
        UploadDecoder::decode(bytes, UploadRecord::countFromHeader(bytes[0], bytes[1]));
    FUZZ_CHECK(back.droppedRecords == 0);
    FUZZ_CHECK(back.components == decoded.components);
    return 0;
}
