#pragma once

#include <string>

// A sidecar's text, on one line, for a project whose SHA-256 (hex) is `projectSha`;
// `entries` is what its "components" array holds.
inline std::string sidecarText(const std::string& projectSha, const std::string& entries,
                               int version = 1) {
    return R"({"format": "corvane-sidecar", "version": )" + std::to_string(version) +
           R"(, "projectSha256": ")" + projectSha + R"(", "components": [)" + entries + "]}";
}
