#include "tests/support/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>

namespace vxtest {

std::vector<std::string> RecordingSink::texts(vx::Severity severity) const {
    std::vector<std::string> out;
    for (const Recorded& m : messages)
        if (m.severity == severity) out.push_back(m.text);
    return out;
}

ScratchDir::ScratchDir() {
    std::random_device rd;
    for (;;) {
        dir_ = std::filesystem::temp_directory_path() / ("vertexion-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(dir_)) break;
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(dir_, ec);
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::string& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string goldenText(const std::string& relative) {
    return readText(std::string(VERTEXION_SOURCE_DIR) + "/tests/" + relative);
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

std::vector<std::string> listDir(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int runShell(const std::string& command) {
    const int raw = std::system(("sh -c \"" + command + "\"").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::filesystem::path corpusDir() {
    std::filesystem::path p = std::filesystem::path(VERTEXION_SOURCE_DIR) / ".." / "shared" / "corpus";
    return std::filesystem::exists(p) ? p : std::filesystem::path();
}

}  // namespace vxtest
