#include <gtest/gtest.h>

#include <iterator>

#include "session/ProjectSidecar.h"
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
TEST(ProjectSidecar, RoundTripKeepsUnknownKeys) {
    const std::string file = R"({"format": "corvane-sidecar", "version": 1, "projectSha256": "ab",
 "note": {"by": "x"},
 "components": [{"code": "H001", "occurrence": 1, "class": "slab", "sample": 1},
                {"code": "H001", "occurrence": 2, "class": "beam", "sample": 2, "tag": [1]},
                {"code": "W001", "occurrence": 1, "class": "beam", "sample": 1}]})";
    const SidecarDecoding read = ProjectSidecar::decode(file);
    ASSERT_EQ(read.state, ProjectSidecar::Decoded::Ok) << read.problem;

    ComponentList list = project();
    ProjectSidecar::Applied applied = read.sidecar.applyTo(list);
    EXPECT_EQ(applied.dropped, 0);
    EXPECT_EQ(applied.marks, (AcceptanceMarks{{at(list, 0), {Slab, First}},
                                              {at(list, 2), {Beam, Second}},
                                              {at(list, 3), {Beam, First}}}));

    // The first H001 goes: the second one becomes occurrence 1 and keeps its key.
    applied.marks.erase(at(list, 0));
    list.erase(list.begin());
    const ProjectSidecar written =
        read.sidecar.rewritten(list, applied.marks, applied.kept, "0123cd");
    EXPECT_EQ(written.encode(), R"({
  "format": "corvane-sidecar",
  "version": 1,
  "projectSha256": "0123cd",
  "components": [
    {"code": "H001", "occurrence": 1, "class": "beam", "sample": 2, "tag": [1]},
    {"code": "W001", "occurrence": 1, "class": "beam", "sample": 1}
  ],
  "note": {"by":"x"}
}
)");
    const SidecarDecoding again = ProjectSidecar::decode(written.encode());
    ASSERT_EQ(again.state, ProjectSidecar::Decoded::Ok);
    EXPECT_EQ(again.sidecar.applyTo(list).marks, applied.marks);
}

// Entries that name no component, a diameter one, or one already named are dropped.
TEST(ProjectSidecar, DropsEntriesWithoutAJudgedComponent) {
    ProjectSidecar s;
    s.entries = {{"H001", 3, {Beam, First}, {}},
                 {"Z001", 1, {Beam, First}, {}},
                 {"H777", 1, {Beam, First}, {}},
                 {"H001", 2, {Slab, Second}, {}},
                 {"H001", 2, {Beam, First}, {}}};
    const ComponentList list = project();
    const ProjectSidecar::Applied applied = s.applyTo(list);
    EXPECT_EQ(applied.marks, (AcceptanceMarks{{at(list, 2), {Slab, Second}}}));
    EXPECT_EQ(applied.dropped, 4);
    // A mark on a diameter component is never written.
    const AcceptanceMarks marks{{at(list, 1), {Beam, First}}};
    EXPECT_TRUE(s.rewritten(list, marks, {}, "").entries.empty());
}

TEST(ProjectSidecar, DecodeTellsDamagedFromNewer) {
    const std::string ok = R"("format": "corvane-sidecar", "projectSha256": "")";
    const struct {
        std::string bytes;
        ProjectSidecar::Decoded state;
    } cases[] = {
        {"", ProjectSidecar::Decoded::Damaged},
        {"{\"format\": \"corvane-sidecar\", \"version\": 1", ProjectSidecar::Decoded::Damaged},
        {"[1]", ProjectSidecar::Decoded::Damaged},
        {R"({"format": "other", "version": 1, "projectSha256": "", "components": []})",
         ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": "1", "components": []})", ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": 1.5, "components": []})", ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": 0, "components": []})", ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": 1})", ProjectSidecar::Decoded::Damaged},
        {R"({"format": "corvane-sidecar", "version": 1, "components": []})",
         ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": 1, "components": [{"code": "H001", "occurrence": 0,
          "class": "beam", "sample": 1}]})",
         ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": 1, "components": [{"code": "H001", "occurrence": 1,
          "class": "column", "sample": 1}]})",
         ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": 1, "components": [{"code": "H001", "occurrence": 1,
          "class": "beam", "sample": 3}]})",
         ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": 1, "components": [{"code": "H001", "occurrence": 1,
          "class": "beam", "sample": 0}]})",
         ProjectSidecar::Decoded::Damaged},
        {"{" + ok + R"(, "version": 1, "components": [{"code": "", "occurrence": 1,
          "class": "beam", "sample": 1}]})",
         ProjectSidecar::Decoded::Damaged},
        // A newer version is recognised before anything else of it is read.
        {R"({"format": "corvane-sidecar", "version": 2, "components": 7})",
         ProjectSidecar::Decoded::Newer},
        {"{" + ok + R"(, "version": 1, "components": []})", ProjectSidecar::Decoded::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const SidecarDecoding d = ProjectSidecar::decode(c.bytes);
        EXPECT_EQ(d.state, c.state);
        EXPECT_EQ(d.problem.empty(), c.state != ProjectSidecar::Decoded::Damaged);
    }
}

TEST(ProjectSidecar, Sha256OfBytes) {
    EXPECT_EQ(ProjectSidecar::sha256Hex("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}
