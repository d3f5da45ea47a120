#pragma once
// The one way conversion code talks to the user. A failure is reported where
// it happens and the operation returns 1; a warning leaves the status at 0.
// The desktop app shows a message box, the command line prints, tests record.

#include <string>
#include <string_view>

namespace vx {

enum class Severity { Error, Warning, Information };

// One message: its fixed text, the file it is about (object, scene, script
// or model; empty for the dialogs' own entry checks) and, when a system call
// failed, the system's reason. The views live for the call only.
struct Message {
    Severity severity = Severity::Error;
    std::string_view text;
    std::string_view path;
    std::string_view reason;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void report(const Message& message) = 0;

    void error(std::string_view text, std::string_view path, std::string_view reason = {}) {
        report({Severity::Error, text, path, reason});
    }
    // `systemError` is an errno value; 0 adds no reason.
    void error(std::string_view text, std::string_view path, int systemError) {
        report({Severity::Error, text, path, systemReason(systemError)});
    }
    void warning(std::string_view text, std::string_view path) { report({Severity::Warning, text, path, {}}); }

    // The system's words for an errno value ("No such file or directory"),
    // empty for 0. Safe to call from several threads at once.
    static std::string systemReason(int systemError);
};

}  // namespace vx
