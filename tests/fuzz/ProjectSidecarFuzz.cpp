// Whatever the sidecar reader accepts, written and read back, is the same sidecar, and writing
// it again gives the same bytes; what it refuses says why.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "document/ProjectSidecar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SidecarDecoding first =
        ProjectSidecar::decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (first.state == ProjectSidecar::Decoded::Damaged) {
        FUZZ_CHECK(!first.problem.empty());
        return 0;
    }
    if (first.state == ProjectSidecar::Decoded::Newer) return 0;
    const std::string written = first.sidecar.encode();
    const SidecarDecoding second = ProjectSidecar::decode(written);
    FUZZ_CHECK(second.state == ProjectSidecar::Decoded::Ok);
    FUZZ_CHECK(second.sidecar.entries.size() == first.sidecar.entries.size());
    FUZZ_CHECK(second.sidecar.projectSha256 == first.sidecar.projectSha256);
    FUZZ_CHECK(second.sidecar.encode() == written);
    return 0;
}
