#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string test = std::string(info->test_suite_name()) + "-" + info->name();
        std::replace(test.begin(), test.end(), '/', '_');  // parameterised names
        // Other runs of the same test, of this checkout or another, may be going on: take a
        // name none of them has.
        std::random_device random;
        do {
            path_ = std::filesystem::temp_directory_path() /
                    ("corvane-" + std::to_string(random()) + "-" + test);
        } while (!std::filesystem::create_directories(path_));
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    static std::string read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void write(const std::filesystem::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    // The names in `folder`, as UTF-8 whatever the system's code page.
    static std::set<std::string> names(const std::filesystem::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace(name.begin(), name.end());
        }
        return names;
    }

private:
    std::filesystem::path path_;
};
