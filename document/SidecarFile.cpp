#include "document/SidecarFile.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <utility>
#include <vector>

#include "model/FileIo.h"
#include "model/SetAside.h"
#include "model/SidecarPath.h"
#include "model/SystemErrorText.h"

namespace fs = std::filesystem;

namespace {

// The general read bound: 100,000 history entries are about 25 MB.
constexpr std::uintmax_t largestSidecar = FileIo::readLimit;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string shownName(const fs::path& path) {
    return "附加信息文件“" + FileIo::displayName(path) + "”";
}

// What is at `path` now, read once and without ever blocking on a FIFO.
struct OnDisk {
    enum Kind { None, Folder, Special, File } kind = None;
    SidecarDecoding decoding;
    std::string readError;  // set when the file could not be read
};

OnDisk inspect(const fs::path& path) {
    OnDisk found;
    std::error_code ec;
    const fs::file_status link = fs::symlink_status(path, ec);
    if (!fs::exists(link)) return found;
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) {
        found.kind = OnDisk::Folder;
        return found;
    }
    // A dangling link or a loop of links is as unreadable as a pipe there.
    if (!fs::is_regular_file(status)) {
        found.kind = OnDisk::Special;
        return found;
    }
    found.kind = OnDisk::File;
    if (fs::file_size(path, ec) > largestSidecar && !ec) {
        found.decoding.problem = "文件超过 256 MiB";
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

bool matches(const ProjectSidecar& sidecar, const std::string& projectSha) {
    return lowerCase(sidecar.projectSha256) == projectSha;
}

// A pending sidecar whose hash matches the project: the sidecar of a save cut between its two
// renames.
bool pendingMatches(const fs::path& pending, const std::string& projectSha) {
    const OnDisk found = inspect(pending);
    return found.kind == OnDisk::File && found.readError.empty() &&
           found.decoding.state == ProjectSidecar::Decoded::Ok &&
           matches(found.decoding.sidecar, projectSha);
}

}  // namespace

fs::path SidecarFile::pathFor(const fs::path& project) {
    return sidecarPathOf(project);
}

fs::path SidecarFile::pendingFor(const fs::path& project) {
    fs::path pending = pathFor(project);
    pending += ".pending";
    return pending;
}

std::string SidecarFile::unplacedNotice(std::size_t count) {
    return "附加信息中有 " + std::to_string(count) + " 条无法对应到构件，已忽略。";
}

bool SidecarFile::belongsBeside(const fs::path& project) {
    std::error_code ec;
    const fs::file_status status = fs::status(project, ec);
    return !fs::exists(status) || fs::is_regular_file(status);
}

SidecarFile::Loaded SidecarFile::load(const fs::path& project, std::string_view projectBytes) {
    Loaded loaded;
    std::error_code ec;
    if (!fs::is_regular_file(fs::status(project, ec))) return loaded;
    const std::string sha = ProjectSidecar::sha256Hex(projectBytes);
    fs::path path = pathFor(project);
    OnDisk found;
    if (pendingMatches(pendingFor(project), sha)) {
        found = inspect(pendingFor(project));
    } else {
        found = inspect(path);
        // Earlier versions kept the sidecar of a project opened through a link beside the
        // link's name.
        fs::path besideLink = project;
        besideLink += ".corvane";
        if (found.kind == OnDisk::None && besideLink != path) {
            found = inspect(besideLink);
            if (found.kind != OnDisk::None) {
                loaded.message = shownName(besideLink) +
                                 "位于链接旁，已使用；下次保存工程时，它将移到“" +
                                 FileIo::displayName(path) + "”。\n";
                path = besideLink;
            }
        }
    }
    const std::string shown = shownName(path);
    switch (found.kind) {
        case OnDisk::None:
            return loaded;
        case OnDisk::Folder:
        case OnDisk::Special:
            loaded.state = State::Unreadable;
            loaded.message += shown + "不是普通文件，构件的验收类别未能读取。";
            return loaded;
        case OnDisk::File:
            break;
    }
    if (!found.readError.empty()) {
        loaded.state = State::Unreadable;
        loaded.message += found.readError + "构件的验收类别未能读取。";
        return loaded;
    }
    switch (found.decoding.state) {
        case ProjectSidecar::Decoded::Damaged:
            loaded.state = State::Damaged;
            loaded.problem = found.decoding.problem;
            loaded.message += shown + "已损坏（" + found.decoding.problem +
                              "），工程打开时没有构件的验收类别；下次保存工程时，它将被改名保留。";
            return loaded;
        case ProjectSidecar::Decoded::Newer:
            loaded.state = State::Newer;
            loaded.message += shown +
                              "由较新版本的程序写入，本程序不能读取其中的构件验收类别；"
                              "保存工程时也不会改写它。";
            return loaded;
        case ProjectSidecar::Decoded::Ok:
            break;
    }
    loaded.state = State::Loaded;
    loaded.sidecar = std::move(found.decoding.sidecar);
    loaded.matchesProject = matches(loaded.sidecar, sha);
    if (!loaded.matchesProject) {
        loaded.message += "工程文件在别处被修改过，" + shown +
                          "中的构件验收类别可能与构件不符，须在“验收判定”中确认。";
    } else if (!loaded.sidecar.classesConfirmed) {
        loaded.message += shown + "中的构件验收类别尚未确认，须在“验收判定”中确认。";
    }
    if (!loaded.message.empty() && loaded.message.back() == '\n') loaded.message.pop_back();
    return loaded;
}

Result<SidecarFile::Stored> SidecarFile::store(const fs::path& project,
                                               const ProjectSidecar& sidecar,
                                               const QDateTime& now) {
    return Save::prepare(project, sidecar, false, now).commit();
}

SidecarFile::Save SidecarFile::Save::prepare(const fs::path& project, const ProjectSidecar& sidecar,
                                             bool replacing, const QDateTime& now) {
    Save save;
    if (!belongsBeside(project)) return save;
    save.none_ = false;
    save.sidecar_ = pathFor(project);
    save.pending_ = pendingFor(project);
    save.shown_ = shownName(save.sidecar_);
    save.stamp_ = now.toString("yyyyMMdd-HHmmss").toStdString();
    fs::path besideLink = project;
    besideLink += ".corvane";
    std::error_code ec;
    if (besideLink != save.sidecar_ && fs::exists(fs::symlink_status(besideLink, ec))) {
        save.besideLink_ = besideLink;
    }

    // A save cut between its two renames left the sidecar of the project on disk pending.
    if (fs::exists(fs::symlink_status(save.pending_, ec))) {
        const Result<std::string> onDisk = FileIo::readAll(FileIo::realTarget(project));
        if (onDisk && pendingMatches(save.pending_, ProjectSidecar::sha256Hex(*onDisk))) {
            // Should this fail, the pending file is written anew below from the sidecar the
            // project was opened with, which was this one.
            static_cast<void>(FileIo::renameOnto(save.pending_, save.sidecar_));
        } else {
            fs::remove(save.pending_, ec);
        }
    }

    const bool keep = sidecar.holdsAnything();
    const OnDisk found = inspect(save.sidecar_);
    switch (found.kind) {
        case OnDisk::Folder:
            if (keep) save.failure_ = "同名文件夹已存在。";
            return save;
        case OnDisk::Special:
            if (keep) save.failure_ = "同名的文件不是普通文件。";
            return save;
        case OnDisk::None:
            break;
        case OnDisk::File:
            // What we cannot read may be newer than us: never replace it blindly.
            if (!found.readError.empty()) {
                save.failure_ = found.readError;
                return save;
            }
            if (found.decoding.state == ProjectSidecar::Decoded::Newer) {
                save.note_ =
                    save.shown_ +
                    "由较新版本的程序写入，未被改写；本次的构件验收类别和修改记录未能保存在其中。";
                return save;
            }
            if (found.decoding.state == ProjectSidecar::Decoded::Damaged) {
                save.setAside_ = "damaged";
            } else if (replacing) {
                save.setAside_ = "replaced";  // another project's: it may be evidence
            } else {
                save.removeOld_ = !keep;
            }
            break;
    }
    if (!keep) return save;
    const std::string bytes = sidecar.encode();
    if (bytes.size() > largestSidecar) {
        save.failure_ = "内容超过 256 MiB。";
        return save;
    }
    if (const Status written = FileIo::writeNewFile(save.pending_, bytes); !written) {
        save.failure_ = written.message();
        return save;
    }
    save.written_ = true;
    return save;
}

Result<SidecarFile::Stored> SidecarFile::Save::commit() {
    Stored stored;
    if (none_) return stored;
    if (!failure_.empty()) return Error{"工程已保存，但" + shown_ + "未能保存：" + failure_};
    std::vector<std::string> told;
    if (!note_.empty()) told.push_back(note_);
    const auto keptAs = [](const fs::path& aside) {
        return "已改名为“" + FileIo::displayName(aside.filename()) + "”保留。";
    };
    if (setAside_) {
        Result<fs::path> aside = SetAside::rename(FileIo::realTarget(sidecar_), setAside_, stamp_);
        if (!aside) {
            abandon();
            return Error{"工程已保存，但" + shown_ + "未能保存：" + aside.message()};
        }
        stored.setAside = *aside;
        told.push_back((std::string_view(setAside_) == "damaged"
                            ? "损坏的附加信息文件"
                            : "原有的附加信息文件属于另一个工程，") +
                       keptAs(*aside));
    }
    if (besideLink_) {
        // The one an earlier version left beside the link's name: the real one takes over.
        if (Result<fs::path> aside = SetAside::rename(*besideLink_, "replaced", stamp_)) {
            if (!stored.setAside) stored.setAside = *aside;
            told.push_back("链接旁的" + shownName(*besideLink_) + keptAs(*aside));
        }
    }
    for (const std::string& line : told) {
        stored.message += (stored.message.empty() ? "" : "\n") + line;
    }
    if (written_) {
        if (const Status renamed = FileIo::renameOnto(pending_, sidecar_); !renamed) {
            abandon();
            return Error{"工程已保存，但" + shown_ + "未能保存：" + renamed.message()};
        }
    } else if (removeOld_) {
        std::error_code ec;
        fs::remove(FileIo::realTarget(sidecar_), ec);
        if (ec) {
            return Error{"工程已保存，但" + shown_ + "未能删除：" +
                         systemErrorText(ec.default_error_condition().value()) + "。"};
        }
    }
    return stored;
}

void SidecarFile::Save::abandon() {
    if (!written_) return;
    std::error_code ec;
    fs::remove(pending_, ec);
    written_ = false;
}
