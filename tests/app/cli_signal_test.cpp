// The command line stopped by a signal in the middle of writing a script: it
// removes its temporary file, leaves the earlier script as it was and exits
// with 128 plus the signal's number, as a shell reports a run killed by it.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/lwo2_builder.h"
#include "tests/support/test_support.h"

namespace {

// One yaw channel of a thousand curved key intervals: sliced 100000 times
// each, the script would run to gigabytes, so it is still being written
// whenever the signal comes.
std::string longScene() {
    std::string text = "LoadObjectLayer 1 Objects/dish.lwo\nChannel 3\n{ Envelope\n  1000\n";
    for (int i = 0; i < 1000; ++i)
        text += "  Key " + std::string(i % 2 ? "1.5708 " : "0 ") + std::to_string(i) + " 0 0 0 0 0 0 0\n";
    return text + "  Behaviors 1 1\n}\n";
}

// The size of the script's temporary file, or -1 while there is none.
long long temporarySize(const std::filesystem::path& dir) {
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        std::error_code ec;
        const auto size = e.file_size(ec);
        if (e.path().filename().string().starts_with("dish.sama.") && !ec) return static_cast<long long>(size);
    }
    return -1;
}

TEST(CliSignal, InterruptedRunRemovesItsTemporaryAndKeepsTheEarlierScript) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        vxtest::ScratchDir dir;
        using namespace vxtest;
        writeFile(dir.path("dish.lwo"),
                  form("LWO2", {tagsChunk({"Hull"}), layr(0, "Dish@Y"), pnts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                facePols({{0, 1, 2}}), surfPtag({0}), surf("Hull", colr(1, 1, 1))}));
        writeText(dir.path("dish.lws"), longScene());
        const std::string earlier = "earlier script\n";
        writeText(dir.path("dish.sama"), earlier);

        std::vector<std::string> args = {VERTEXION_CLI_PATH, "--no-convert", "--slices", "100000",
                                         "--scene", dir.path("dish.lws"), dir.path("dish.lwo")};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // The run must see the signals as a terminal would send them, even
            // when the tests themselves run with some ignored or blocked.
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            for (const int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, SIG_DFL);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }

        // Waits for rows in the temporary; generous, for a slow machine.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        int status = 0;
        bool writing = false;
        while (!writing && std::chrono::steady_clock::now() < deadline) {
            if (::waitpid(pid, &status, WNOHANG) == pid) FAIL() << "ended before it was stopped; status " << status;
            writing = temporarySize(dir.dir()) > 0;
            if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (!writing) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            FAIL() << "no script was being written";
        }

        ASSERT_EQ(::kill(pid, signal), 0);
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_EQ(readText(dir.path("dish.sama")), earlier);
        EXPECT_EQ(listDir(dir.dir()), (std::vector<std::string>{"dish.lwo", "dish.lws", "dish.sama"}));
    }
}

}  // namespace
