// Whatever the upload data file reader accepts, saved and read back, gives the same
// components and the same bytes again.
#include <cstdint>
#include <span>
#include <string>

#include "FuzzCheck.h"
#include "model/UploadFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<ComponentList> first = UploadFile::parse({data, size});
    if (!first.ok()) {
        FUZZ_CHECK(!first.message().empty());
        return 0;
    }
    const std::string saved = UploadFile::encode(*first);
    const Result<ComponentList> second =
        UploadFile::parse({reinterpret_cast<const std::uint8_t*>(saved.data()), saved.size()});
    FUZZ_CHECK(second.ok() && *second == *first);
    FUZZ_CHECK(UploadFile::encode(*second) == saved);
    return 0;
}
