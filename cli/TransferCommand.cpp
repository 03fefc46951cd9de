#include "cli/TransferCommand.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include "instrument/ConsoleTransferUi.h"
#include "instrument/DemoInspection.h"
#include "instrument/LibusbLink.h"
#include "instrument/MemoryImage.h"
#include "instrument/SimulatedInstrument.h"
#include "instrument/TransferSession.h"
#include "model/FileIo.h"

namespace {

struct UsbId {
    std::uint16_t vendor = LibusbLink::defaultVendorId;
    std::uint16_t product = LibusbLink::defaultProductId;
};

struct TransferOptions {
    std::optional<std::string> simulate;
    bool demo = false;
    std::optional<UsbId> usb;
    std::optional<std::string> out;
    std::optional<std::string> saveImage;
};

std::optional<std::uint16_t> hexId(std::string_view text) {
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || text.size() > 4 || error != std::errc() ||
        end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<UsbId> parseUsbId(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto vendor = hexId(text.substr(0, colon));
    const auto product = hexId(text.substr(colon + 1));
    if (!vendor || !product) return std::nullopt;
    return UsbId{*vendor, *product};
}

// Empty when the words make a valid command, else what is wrong with them.
std::string parse(const std::vector<std::string>& args, TransferOptions& o) {
    auto value = [&](std::size_t& i, std::optional<std::string>& into) -> std::string {
        if (into) return args[i] + " 只能给一次";
        if (i + 1 >= args.size()) return args[i] + " 缺少参数";
        into = args[++i];
        return {};
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        std::string error;
        if (word == "--simulate") {
            error = value(i, o.simulate);
        } else if (word == "-o") {
            error = value(i, o.out);
        } else if (word == "--save-image") {
            error = value(i, o.saveImage);
        } else if (word == "--demo") {
            if (o.demo) error = "--demo 只能给一次";
            o.demo = true;
        } else if (word == "--usb") {
            if (o.usb) error = "--usb 只能给一次";
            o.usb = UsbId{};
            if (i + 1 < args.size() && !args[i + 1].starts_with("-")) {
                o.usb = parseUsbId(args[++i]);
                if (!o.usb) error = "“" + args[i] + "”不是 VID:PID（十六进制，如 4348:5537）";
            }
        } else {
            error = "未知参数 " + word;
        }
        if (!error.empty()) return error;
    }
    const int sources = (o.simulate ? 1 : 0) + (o.demo ? 1 : 0) + (o.usb ? 1 : 0);
    if (sources != 1) return "须给出 --simulate、--demo 或 --usb 中的一个";
    if (!o.out) return "缺少 -o OUT.vexo";
    return {};
}

std::string_view bytesOf(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

const char* transferUsage() {
    return "用法: corvane-cli transfer (--simulate IMAGE | --demo | --usb [VID:PID]) -o OUT.vexo "
           "[--save-image FILE]\n";
}

int transferCommand(const std::vector<std::string>& args) {
    return transferCommand(args, std::cout, std::cerr);
}

int transferCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TransferOptions options;
    if (const std::string error = parse(args, options); !error.empty()) {
        err << "transfer: " << error << '\n' << transferUsage();
        return 2;
    }

    std::unique_ptr<UsbLink> link;
    if (options.simulate) {
        Result<MemoryImage> image = MemoryImage::load(*options.simulate);
        if (!image) {
            err << image.message() << '\n';
            return 1;
        }
        link = std::make_unique<SimulatedInstrument>(image.value());
    } else if (options.demo) {
        link = std::make_unique<SimulatedInstrument>(DemoInspection::image());
    } else {
        link = std::make_unique<LibusbLink>(options.usb->vendor, options.usb->product);
    }

    // The save dialog is answered by -o; an existing file is replaced, as after confirming.
    ConsoleTransferUi ui(err, std::filesystem::path(*options.out));
    TransferSession session(*link, ui);
    const bool started = session.OnDataTransfer();
    session.wait();
    ui.finish();

    int status = session.savedUpload() ? 0 : 1;
    if (started && options.saveImage) {
        // Kept whatever happened, so that a failed transfer can be sent in for support.
        const Status s =
            FileIo::writeAtomically(*options.saveImage, bytesOf(session.receivedBytes()));
        if (s.ok()) {
            out << "已保存内存映像：" << *options.saveImage << "（"
                << session.receivedBytes().size() << " 字节）\n";
        } else {
            err << s.message() << '\n';
            status = 1;
        }
    }
    if (const auto& saved = session.savedUpload()) {
        out << "已保存上传数据文件：" << FileIo::displayName(*saved) << "（"
            << session.lastRecordCount() << " 个构件）\n";
    } else {
        err << "未保存上传数据文件。\n";
    }
    return status;
}
