#include "core/message_sink.h"

#include <system_error>

namespace vx {

std::string MessageSink::systemReason(int systemError) {
    if (systemError == 0) return {};
    return std::generic_category().message(systemError);
}

}  // namespace vx
