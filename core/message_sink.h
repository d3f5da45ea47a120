#pragma once
// The one way conversion code talks to the user. A failure is reported where
// it happens and the operation returns 1; a warning leaves the status at 0.
// The desktop app shows a message box, the command line prints, tests record.

#include <string_view>

namespace vx {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void error(std::string_view text) = 0;
    virtual void warning(std::string_view text) = 0;
};

}  // namespace vx
