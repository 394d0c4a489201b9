#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// Plain file access for the tests, beside the code under test.
namespace orvane::testing {

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string fileContent(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Files in the directory besides the given names, to catch left temporaries.
inline std::vector<std::string> strayFiles(const std::filesystem::path& dir,
                                           const std::vector<std::string>& expected) {
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
            stray.push_back(name);
        }
    }
    return stray;
}

}  // namespace orvane::testing
