#pragma once

#include <QDateTime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "document/ProjectSidecar.h"
#include "model/Result.h"

// The sidecar beside a project file on disk: where it lies, reading it on open and writing it
// around each save of the project. The document decides when; this class never writes the
// project file itself. UI thread.
//
// A save is committed by the project's own rename: the new sidecar is first written whole
// beside the sidecar as NAME.pending (holding the new project's hash), then the project is
// saved, then the pending file is renamed onto the sidecar. A save cut between the two renames
// leaves a pending file whose hash matches the project: opening uses it, the next save
// renames it into place. One whose hash does not match was cut before the project was written:
// it is ignored, and the next save removes it.
class SidecarFile {
public:
    // `site.pro` → `site.pro.corvane`, beside the file the project really is (links followed).
    static std::filesystem::path pathFor(const std::filesystem::path& project);
    // `site.pro.corvane.pending`, beside the sidecar.
    static std::filesystem::path pendingFor(const std::filesystem::path& project);

    // What the user is told of entries no component took (they are kept for the next save).
    static std::string unplacedNotice(std::size_t count);

    // A project that is a regular file (or a link to one), or none yet, has a sidecar; one
    // saved onto a FIFO or a device gets none.
    static bool belongsBeside(const std::filesystem::path& project);

    enum class State { Missing, Loaded, Damaged, Newer, Unreadable };
    struct Loaded {
        State state = State::Missing;
        ProjectSidecar sidecar;      // entries only when Loaded
        bool matchesProject = true;  // written for these bytes of the project (or by a save
                                     // whose pending file matches them)
        std::string message;         // for the user (UTF-8); empty when there is nothing to say
        std::string problem;         // Damaged: why
    };

    // Reads the sidecar of `project`, whose bytes just read are `projectBytes`: the pending
    // one when its hash matches them, else the sidecar, else one left beside a link's name by
    // earlier versions (the user is told; the next save moves it). A sidecar of a project
    // changed elsewhere still loads, with `matchesProject` false and a message.
    static Loaded load(const std::filesystem::path& project, std::string_view projectBytes);

    struct Stored {
        std::optional<std::filesystem::path> setAside;  // where a damaged sidecar went
        std::string message;  // for the user: a newer sidecar was left as it was, others kept
    };

    // Both halves at once, for a project already written as it is.
    static Result<Stored> store(const std::filesystem::path& project, const ProjectSidecar& sidecar,
                                const QDateTime& now = QDateTime::currentDateTime());

    // The sidecar's half of one save of the project.
    class Save {
    public:
        // Before the project is written: finishes a save cut between its renames, decides
        // what stands at the sidecar's place (nothing is written over a newer or unreadable
        // sidecar) and writes `sidecar` as the pending file when it holds anything.
        // `replacing`: the file at `project` is another project, whose sidecar is set aside
        // (NAME.replaced-YYYYMMDD-HHMMSS) once the project is written. `now`: local time.
        static Save prepare(const std::filesystem::path& project, const ProjectSidecar& sidecar,
                            bool replacing, const QDateTime& now = QDateTime::currentDateTime());

        // After the project was written: sets aside what must go and renames the pending file
        // onto the sidecar, or removes the project's old sidecar when nothing is left to keep.
        // Failure: "工程已保存，但附加信息文件“…”未能保存：原因".
        Result<Stored> commit();
        // The project could not be written: the pending file goes, the sidecar stays.
        void abandon();
        // The sidecar given to prepare is (or, once committed, was put) in place.
        bool wrote() const { return written_; }

    private:
        std::filesystem::path sidecar_, pending_;
        std::optional<std::filesystem::path> besideLink_;  // moved next to the real file
        std::string shown_;
        std::string stamp_;
        std::string failure_;  // why the pending file could not be written
        std::string note_;
        bool none_ = true;      // no sidecar belongs to this project
        bool written_ = false;  // the pending file holds the new sidecar
        bool removeOld_ = false;
        const char* setAside_ = nullptr;  // "damaged" or "replaced"
    };
};
