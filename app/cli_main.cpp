#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "core/interrupt_cleanup.h"

int main(int argc, char** argv) {
    // First, so that every worker thread started later leaves these
    // signals to the one thread that removes our temporary files on them.
    vx::installInterruptCleanup();
    // Past a file size limit a write must fail and be reported, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    return vx::runCommandLine(args, std::cout, std::cerr);
}
