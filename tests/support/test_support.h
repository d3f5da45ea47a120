#pragma once
// Shared test helpers: a recording message sink and scratch files.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_sink.h"

namespace vxtest {

struct Recorded {
    vx::Severity severity;
    std::string text;
    std::string path;
    std::string reason;
    bool operator==(const Recorded&) const = default;
};

inline Recorded record(const vx::Message& m) {
    return {m.severity, std::string(m.text), std::string(m.path), std::string(m.reason)};
}

class RecordingSink final : public vx::MessageSink {
public:
    void report(const vx::Message& m) override { messages.push_back(record(m)); }
    std::vector<std::string> errors() const { return texts(vx::Severity::Error); }
    std::vector<std::string> warnings() const { return texts(vx::Severity::Warning); }
    std::vector<std::string> texts(vx::Severity severity) const;
    std::vector<Recorded> messages;
};

// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string path(std::string_view name) const { return (dir_ / name).string(); }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeText(const std::string& path, std::string_view text);
std::string readText(const std::string& path);
bool fileExists(const std::string& path);
// Expected output kept as a file under tests/ (e.g. "scene/golden/a.sama").
std::string goldenText(const std::string& relative);
// Names in a directory, sorted (to prove no temporary file is left behind).
std::vector<std::string> listDir(const std::filesystem::path& dir);

// Runs a command line with sh; its exit status, or -1 when it did not exit.
int runShell(const std::string& command);

// The shared corpus of third-party LightWave files, or empty when absent.
std::filesystem::path corpusDir();

}  // namespace vxtest
