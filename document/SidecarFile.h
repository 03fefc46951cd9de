#pragma once

#include <QDateTime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "document/ProjectSidecar.h"
#include "model/Result.h"

// The sidecar beside a project file on disk: where it lies, reading it on open and writing it
// after each save of the project. The session decides when; this class never touches the
// project file itself. UI thread.
class SidecarFile {
public:
    // `site.pro` → `site.pro.corvane`.
    static std::filesystem::path pathFor(const std::filesystem::path& project);

    // Only a project that is a regular file (or a link to one) has a sidecar; one saved onto a
    // FIFO or a device gets none.
    static bool belongsBeside(const std::filesystem::path& project);

    enum class State { Missing, Loaded, Damaged, Newer, Unreadable };
    struct Loaded {
        State state = State::Missing;
        ProjectSidecar sidecar;  // entries only when Loaded
        std::string message;     // for the user (UTF-8); empty when there is nothing to say
    };

    // Reads the sidecar of `project`, whose bytes just read are `projectBytes`. A sidecar of
    // a project changed elsewhere still loads, with a message that its classes may not fit.
    static Loaded load(const std::filesystem::path& project, std::string_view projectBytes);

    struct Stored {
        std::optional<std::filesystem::path> setAside;  // where a damaged sidecar went
        std::string message;  // for the user: a newer sidecar was left as it was
    };

    // Writes `sidecar` beside the just-saved `project` with the careful save, or removes the
    // old one when `sidecar` has no entries. A damaged sidecar is first renamed to
    // NAME.damaged-YYYYMMDD-HHMMSS (`now`, local time), never overwritten; one of a newer
    // version is left alone. Failure: "工程已保存，但附加信息文件“…”未能保存：原因".
    static Result<Stored> store(const std::filesystem::path& project, const ProjectSidecar& sidecar,
                                const QDateTime& now = QDateTime::currentDateTime());
};
