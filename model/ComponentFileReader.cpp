#include "model/ComponentFileReader.h"

#include "model/ComponentBlock.h"

ComponentFileReader::ComponentFileReader(std::span<const std::uint8_t> bytes, std::string_view kind)
    : in_(bytes), kind_(kind) {}

std::string ComponentFileReader::endedEarly() const {
    return "读取" + kind_ + "失败。" + in_.error();
}

Status ComponentFileReader::expectMagic(std::string_view magic,
                                        std::string_view wrongMagicMessage) {
    std::string_view text;
    if (!in_.readString(text)) return Error{endedEarly()};
    if (text != magic) return Error{std::string(wrongMagicMessage)};
    return Status::success();
}

ComponentFileReader::Blocks ComponentFileReader::readBlocks(std::string_view negativeCountMessage) {
    Blocks blocks;
    std::int32_t count = 0;
    if (!in_.readInt32(count)) {
        blocks.damage = endedEarly();
        return blocks;
    }
    if (count < 0) {
        blocks.damage = negativeCountMessage;
        return blocks;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        Component c;
        if (!ComponentBlock::read(in_, c)) {
            blocks.damage = endedEarly();
            break;
        }
        blocks.components.push_back(std::move(c));
    }
    return blocks;
}

std::string ComponentFileReader::wrongKind(std::string_view shown,
                                           std::string_view wrongMagicMessage) {
    return "“" + std::string(shown) + "”" + std::string(wrongMagicMessage);
}

FileIo::HeadCheck ComponentFileReader::magicCheck(std::vector<std::string_view> magics,
                                                  std::string refusal) {
    return [magics = std::move(magics),
            message = std::move(refusal)](std::string_view head) -> Status {
        // The head holds any string as long as our magics; a longer one is none of them.
        ArchiveReader in(
            std::span(reinterpret_cast<const std::uint8_t*>(head.data()), head.size()));
        std::string_view text;
        if (in.readString(text)) {
            for (std::string_view magic : magics) {
                if (text == magic) return Status::success();
            }
        }
        return Error{message};
    };
}
