#include "document/SidecarFile.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "model/FileIo.h"
#include "model/SystemErrorText.h"

namespace fs = std::filesystem;

namespace {

// Far beyond any real project (an entry is under 100 bytes); a bigger file is not ours.
constexpr std::uintmax_t largestSidecar = 64u << 20;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// What is at `path` now, read without ever blocking on a FIFO.
struct OnDisk {
    enum Kind { None, Folder, Special, File } kind = None;
    SidecarDecoding decoding;
    std::string readError;  // set when the file could not be read
};

OnDisk inspect(const fs::path& path) {
    OnDisk found;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return found;
    if (fs::is_directory(status)) {
        found.kind = OnDisk::Folder;
        return found;
    }
    if (!fs::is_regular_file(status)) {
        found.kind = OnDisk::Special;
        return found;
    }
    found.kind = OnDisk::File;
    if (fs::file_size(path, ec) > largestSidecar && !ec) {
        found.decoding.problem = "文件过大";
        return found;
    }
    Result<std::string> bytes = FileIo::readAll(path);
    if (!bytes) {
        found.readError = bytes.message();
        return found;
    }
    found.decoding = ProjectSidecar::decode(*bytes);
    return found;
}

// NAME.damaged-YYYYMMDD-HHMMSS, or with "-2", "-3"… when a sidecar was already set aside
// within the same second.
fs::path asideName(const fs::path& path, const QDateTime& now) {
    const std::string base =
        path.filename().string() + ".damaged-" + now.toString("yyyyMMdd-HHmmss").toStdString();
    fs::path aside = path.parent_path() / base;
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(aside, ec)) && n < 1000; ++n) {
        aside = path.parent_path() / (base + "-" + std::to_string(n));
    }
    return aside;
}

}  // namespace

fs::path SidecarFile::pathFor(const fs::path& project) {
    fs::path sidecar = project;
    sidecar += ".corvane";
    return sidecar;
}

bool SidecarFile::belongsBeside(const fs::path& project) {
    std::error_code ec;
    return fs::is_regular_file(fs::status(project, ec));
}

SidecarFile::Loaded SidecarFile::load(const fs::path& project, std::string_view projectBytes) {
    Loaded loaded;
    if (!belongsBeside(project)) return loaded;
    const fs::path path = pathFor(project);
    const std::string shown = "附加信息文件“" + FileIo::displayName(path) + "”";
    const OnDisk found = inspect(path);
    switch (found.kind) {
        case OnDisk::None:
            return loaded;
        case OnDisk::Folder:
        case OnDisk::Special:
            loaded.state = State::Unreadable;
            loaded.message = shown + "不是普通文件，构件的验收类别未能读取。";
            return loaded;
        case OnDisk::File:
            break;
    }
    if (!found.readError.empty()) {
        loaded.state = State::Unreadable;
        loaded.message = found.readError + "构件的验收类别未能读取。";
        return loaded;
    }
    switch (found.decoding.state) {
        case ProjectSidecar::Decoded::Damaged:
            loaded.state = State::Damaged;
            loaded.message = shown + "已损坏（" + found.decoding.problem +
                             "），工程打开时没有构件的验收类别；下次保存工程时，它将被改名保留。";
            return loaded;
        case ProjectSidecar::Decoded::Newer:
            loaded.state = State::Newer;
            loaded.message = shown +
                             "由较新版本的程序写入，本程序不能读取其中的构件验收类别；"
                             "保存工程时也不会改写它。";
            return loaded;
        case ProjectSidecar::Decoded::Ok:
            break;
    }
    loaded.state = State::Loaded;
    loaded.sidecar = found.decoding.sidecar;
    if (lowerCase(loaded.sidecar.projectSha256) != ProjectSidecar::sha256Hex(projectBytes)) {
        loaded.message = "工程文件在别处被修改过，" + shown + "中的构件验收类别可能与构件不符。";
    }
    return loaded;
}

Result<SidecarFile::Stored> SidecarFile::store(const fs::path& project,
                                               const ProjectSidecar& sidecar,
                                               const QDateTime& now) {
    Stored stored;
    if (!belongsBeside(project)) return stored;
    const fs::path path = pathFor(project);
    const std::string shown = "附加信息文件“" + FileIo::displayName(path) + "”";
    auto failed = [&](const std::string& reason) {
        return Error{"工程已保存，但" + shown + "未能保存：" + reason};
    };
    auto systemFailure = [&](const std::error_code& ec) {
        return failed(systemErrorText(ec.value()) + "。");
    };

    const OnDisk found = inspect(path);
    std::error_code ec;
    switch (found.kind) {
        case OnDisk::Folder:
            return failed("同名文件夹已存在。");
        case OnDisk::Special:
            return failed("同名的文件不是普通文件。");
        case OnDisk::None:
            break;
        case OnDisk::File:
            // What we cannot read may be newer than us: never replace it blindly.
            if (!found.readError.empty()) return failed(found.readError);
            if (found.decoding.state == ProjectSidecar::Decoded::Newer) {
                stored.message =
                    shown + "由较新版本的程序写入，未被改写；本次的构件验收类别未能保存在其中。";
                return stored;
            }
            if (found.decoding.state == ProjectSidecar::Decoded::Damaged) {
                const fs::path aside = asideName(path, now);
                fs::rename(path, aside, ec);
                if (ec) return systemFailure(ec);
                stored.setAside = aside;
            }
            break;
    }

    if (sidecar.entries.empty()) {
        if (found.kind == OnDisk::File && !stored.setAside) {
            fs::remove(path, ec);
            if (ec) return systemFailure(ec);
        }
        return stored;
    }
    const Status written = FileIo::writeAtomically(path, sidecar.encode());
    if (!written) return failed(written.message());
    return stored;
}
