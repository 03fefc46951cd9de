#include <gtest/gtest.h>

#include <iterator>

#include "document/ProjectSidecar.h"
#include "support/ModelSamples.h"

namespace {

using enum AcceptanceClass;
using enum AcceptanceSample;

// H001, Z001, H001, W001: a repeated code and a diameter component.
ComponentList project() {
    ComponentList list;
    for (const char* code : {"H001", "Z001", "H001", "W001"}) {
        list.push_back(samples::component(code));
    }
    return list;
}

const Component* at(const ComponentList& list, int i) {
    return &*std::next(list.begin(), i);
}

}  // namespace

// The bytes as written, read back to the same marks; unknown keys of this version survive, an
// entry's own following its component when an earlier one of the same code is deleted.
// Entries that name no component, a diameter one or an already named one are not placed but
// kept, and so is a confirmation still awaited.
TEST(ProjectSidecar, RoundTripKeepsUnknownKeysAndStrayEntries) {
    const std::string file = R"({"format": "corvane-sidecar", "version": 1, "projectSha256": "ab",
 "note": {"by": "x"},
 "components": [{"code": "H001", "occurrence": 1, "class": "slab", "sample": 1},
                {"code": "H001", "occurrence": 2, "class": "beam", "sample": 2, "tag": [1]},
                {"code": "W001", "occurrence": 1, "class": "beam", "sample": 1},
                {"code": "H001", "occurrence": 3, "class": "beam", "sample": 1},
                {"code": "Z001", "occurrence": 1, "class": "beam", "sample": 1},
                {"code": "W001", "occurrence": 1, "class": "slab", "sample": 1}]})";
    const SidecarDecoding read = ProjectSidecar::decode(file);
    ASSERT_EQ(read.state, ProjectSidecar::Decoded::Ok) << read.problem;

    ComponentList list = project();
    ProjectSidecar::Applied applied = read.sidecar.applyTo(list);
    ASSERT_EQ(applied.unplaced.size(), 3u);
    EXPECT_EQ(applied.marks, (AcceptanceMarks{{at(list, 0), {Slab, First}},
                                              {at(list, 2), {Beam, Second}},
                                              {at(list, 3), {Beam, First}}}));

    // The first H001 goes: the second one becomes occurrence 1 and keeps its key. A mark on
    // the diameter component is never written.
    applied.marks.erase(at(list, 0));
    list.erase(list.begin());
    applied.marks[at(list, 0)] = {Beam, First};
    const ProjectSidecar written = read.sidecar.rewritten(list, applied.marks, applied.kept,
                                                          applied.unplaced, false, "0123cd");
    EXPECT_EQ(written.encode(), R"({
  "format": "corvane-sidecar",
  "version": 2,
  "projectSha256": "0123cd",
  "classesConfirmed": false,
  "components": [
    {"code": "H001", "occurrence": 1, "class": "beam", "sample": 2, "tag": [1]},
    {"code": "W001", "occurrence": 1, "class": "beam", "sample": 1}
  ],
  "unplaced": [
    {"code": "H001", "occurrence": 3, "class": "beam", "sample": 1},
    {"code": "Z001", "occurrence": 1, "class": "beam", "sample": 1},
    {"code": "W001", "occurrence": 1, "class": "slab", "sample": 1}
  ],
  "note": {"by":"x"}
}
)");
    const SidecarDecoding again = ProjectSidecar::decode(written.encode());
    ASSERT_EQ(again.state, ProjectSidecar::Decoded::Ok);
    EXPECT_FALSE(again.sidecar.classesConfirmed);
    applied.marks.erase(at(list, 0));
    const ProjectSidecar::Applied reread = again.sidecar.applyTo(list);
    EXPECT_EQ(reread.marks, applied.marks);
    EXPECT_EQ(reread.unplaced.size(), 3u);
}

// Each file is `head` + its text + `}`; an entry's text goes into the components list.
TEST(ProjectSidecar, DecodeTellsDamagedFromNewer) {
    using enum ProjectSidecar::Decoded;
    const std::string head = R"({"format": "corvane-sidecar", "projectSha256": "", )";
    auto entry = [&](const std::string& fields) {
        return head + R"("version": 1, "components": [{)" + fields + "}]}";
    };
    const std::pair<std::string, ProjectSidecar::Decoded> cases[] = {
        {head, Damaged},
        {"[1]", Damaged},
        {R"({"format": "other", "version": 1, "projectSha256": "", "components": []})", Damaged},
        {head + R"("version": 1.5, "components": []})", Damaged},
        {head + R"("version": 0, "components": []})", Damaged},
        {head + R"("version": 1})", Damaged},
        {R"({"format": "corvane-sidecar", "version": 1, "components": []})", Damaged},
        {entry(R"("code": "H001", "occurrence": 0, "class": "beam", "sample": 1)"), Damaged},
        {entry(R"("code": "H001", "occurrence": 1, "class": "column", "sample": 1)"), Damaged},
        {entry(R"("code": "H001", "occurrence": 1, "class": "beam", "sample": 3)"), Damaged},
        {entry(R"("code": "H001", "occurrence": 1, "class": "beam", "sample": 0)"), Damaged},
        {entry(R"("code": "", "occurrence": 1, "class": "beam", "sample": 1)"), Damaged},
        // A newer version is recognised before anything else of it is read.
        {R"({"format": "corvane-sidecar", "version": 3, "components": 7})", Newer},
        {entry(R"("code": "H001", "occurrence": 1, "class": "slab", "sample": 2)"), Ok},
    };
    for (const auto& [bytes, state] : cases) {
        SCOPED_TRACE(bytes);
        const SidecarDecoding d = ProjectSidecar::decode(bytes);
        EXPECT_EQ(d.state, state);
        EXPECT_EQ(d.problem.empty(), state != Damaged);
    }
}

TEST(ProjectSidecar, Sha256OfBytes) {
    EXPECT_EQ(ProjectSidecar::sha256Hex("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}
