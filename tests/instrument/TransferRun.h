#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "instrument/SimulatedInstrument.h"
#include "instrument/TransferSession.h"

// What one whole transfer left behind.
struct TransferRun {
    bool started = false;
    std::vector<std::uint8_t> received;
    std::int32_t recordCount = 0;
    std::int32_t payloadLength = 0;
    std::optional<std::filesystem::path> saved;

    static TransferRun of(UsbLink& link, TransferUi& ui) {
        TransferSession session(link, ui);
        TransferRun run;
        run.started = session.OnDataTransfer();
        session.wait();
        run.received = session.receivedBytes();
        run.recordCount = session.lastRecordCount();
        run.payloadLength = session.lastPayloadLength();
        run.saved = session.savedUpload();
        return run;
    }

    // The requests the instrument saw, by name: "header", "r<block>", "mid", "p<block>",
    // "closing". Record requests count up from 0 (modulo 256); block 168 of the records and
    // the intermediate request look alike and are told apart by what follows.
    static std::vector<std::string> requests(const SimulatedInstrument& sim) {
        const auto commands = sim.commands();
        auto isBlock = [&](std::size_t i, int block) {
            return i < commands.size() && commands[i].size() == 5 && commands[i][0] == 0 &&
                   commands[i][1] == block;
        };
        std::vector<std::string> names;
        std::size_t i = 0;
        if (i < commands.size() && commands[i].size() == 4) names.push_back("header"), ++i;
        for (int j = 0; isBlock(i, j % 256); ++i, ++j) {
            if (j % 256 == 0xA8 && !isBlock(i + 1, 0xA9)) break;
            names.push_back("r" + std::to_string(j % 256));
        }
        if (isBlock(i, 0xA8)) names.push_back("mid"), ++i;
        for (; i < commands.size(); ++i) {
            const auto& c = commands[i];
            names.push_back(c.size() == 6   ? "closing"
                            : c.size() == 4 ? "header"
                                            : "p" + std::to_string(c[0] * 256 + c[1]));
        }
        return names;
    }
};
