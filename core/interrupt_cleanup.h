#pragma once
// Temporary output files that an interrupted run removes. A program that is
// stopped by SIGINT, SIGTERM or SIGHUP while writing must leave no half-written
// temporary beside its outputs; the earlier outputs are never touched, since
// only commit() replaces them.

#include <string>

namespace vx {

// Blocks SIGINT, SIGTERM and SIGHUP and starts the thread that waits for them:
// on one it removes every live temporary and exits with 128 plus the signal's
// number. Call it first in main, before any other thread exists, so that every
// later thread inherits the blocked mask and the signal reaches only the
// waiting thread. A signal the program was started with ignored (nohup, a
// background job) stays ignored.
void installInterruptCleanup();

// The only ways temporaries are made, renamed and removed, so that each step
// and its record happen as one with respect to the cleanup.
// mkstemp on `pattern` and records the file: the descriptor, or -1 with errno.
int createTemporary(std::string& pattern);
// rename; on success the temporary is no longer recorded. 0, or -1 with errno.
int renameTemporary(const std::string& temporary, const std::string& target);
// unlink and forget the record.
void removeTemporary(const std::string& temporary);

}  // namespace vx
