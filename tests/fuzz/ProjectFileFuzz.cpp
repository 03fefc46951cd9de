// Whatever the project reader takes from a file, saved and read back, is the same project,
// read whole this time; and saving that again gives the same bytes.
#include <cstdint>
#include <span>
#include <string>

#include "FuzzCheck.h"
#include "model/ProjectFile.h"

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<ProjectContents> first = ProjectFile::parse({data, size});
    if (!first.ok()) {
        FUZZ_CHECK(!first.message().empty());
        return 0;
    }
    const std::string saved = ProjectFile::encode(first->info, first->components);
    const Result<ProjectContents> second = ProjectFile::parse(bytesOf(saved));
    FUZZ_CHECK(second.ok() && second->complete());
    FUZZ_CHECK(second->info == first->info);
    FUZZ_CHECK(second->components == first->components);
    FUZZ_CHECK(ProjectFile::encode(second->info, second->components) == saved);
    return 0;
}
