// A random mix of string and integer reads over arbitrary bytes. A failed read must leave the
// position where it was and say why; a read that succeeds takes exactly its item; a narrow
// string lies inside the buffer and writes back to the bytes it was read from.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    // Integers come from the end of the input, so the archive bytes keep their shape.
    const auto plan = provider.ConsumeIntegral<std::uint32_t>();
    const std::vector<std::uint8_t> bytes = provider.ConsumeRemainingBytes<std::uint8_t>();
    ArchiveReader in(bytes);

    for (int step = 0; step < 64; ++step) {
        const std::size_t before = in.position();
        const unsigned op = (plan >> (2 * (step % 16))) & 3;
        bool ok = false;
        std::size_t taken = 0;
        if (op == 1) {
            std::int16_t v = 0;
            ok = in.readInt16(v);
            taken = 2;
        } else if (op == 2) {
            std::int32_t v = 0;
            ok = in.readInt32(v);
            taken = 4;
        } else {
            std::string_view text;
            ok = in.readString(text);
            if (ok) {
                taken = in.position() - before;
                const auto* first = reinterpret_cast<const char*>(bytes.data());
                const bool narrow = text.data() >= first && text.data() <= first + bytes.size();
                if (narrow) {
                    FUZZ_CHECK(text.data() + text.size() == first + in.position());
                    std::string written;
                    ArchiveWriter(written).writeString(text);
                    const std::vector<std::uint8_t> rewritten(written.begin(), written.end());
                    ArchiveReader again(rewritten);
                    std::string_view back;
                    FUZZ_CHECK(again.readString(back) && back == text && again.remaining() == 0);
                }
            }
        }
        if (!ok) {
            FUZZ_CHECK(in.position() == before);
            FUZZ_CHECK(!in.error().empty());
        } else {
            FUZZ_CHECK(taken >= 1 && in.position() == before + taken);
        }
        FUZZ_CHECK(in.position() <= bytes.size() && in.remaining() == bytes.size() - in.position());
        if (in.remaining() == 0 && !ok) break;
    }
    return 0;
}
