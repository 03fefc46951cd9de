#include "model/SetAside.h"

#include <ctime>
#include <system_error>

#include "model/FileIo.h"
#include "model/SystemErrorText.h"

namespace fs = std::filesystem;

std::string SetAside::stampNow() {
    const std::time_t now = std::time(nullptr);
    char text[32] = {};
    // One thread at a time: the programs set files aside from their main thread only.
    if (const std::tm* local = std::localtime(&now)) {
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", local);
    }
    return text;
}

Result<fs::path> SetAside::rename(const fs::path& file, std::string_view reason,
                                  std::string_view stamp) {
    const std::string base =
        file.filename().string() + "." + std::string(reason) + "-" + std::string(stamp);
    fs::path aside = file.parent_path() / base;
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(aside, ec)) && n < 1000; ++n) {
        aside = file.parent_path() / (base + "-" + std::to_string(n));
    }
    fs::rename(file, aside, ec);
    if (ec) {
        return Error{"无法将“" + FileIo::displayName(file) + "”改名保留：" +
                     systemErrorText(ec.default_error_condition().value()) + "。"};
    }
    return aside;
}
