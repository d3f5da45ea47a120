#include "core/output_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/memory_files.h"
#include "tests/support/test_support.h"

namespace {

TEST(OutputFile, OnlyACommitReplacesTheTargetAndNoTemporaryStays) {
    vxtest::ScratchDir dir;
    const std::string target = dir.path("model.mdl");
    vxtest::writeText(target, "old");
    {
        vx::OutputFile dropped;  // destroyed without a commit, as a failed run is
        ASSERT_EQ(dropped.open(target), 0);
        dropped.write("half a model");
    }
    EXPECT_EQ(vxtest::listDir(dir.dir()), std::vector<std::string>{"model.mdl"});
    vx::OutputFile out;
    ASSERT_EQ(out.open(target), 0);
    out.write("new ");
    out.write(std::string(200000, 'x'));  // crosses the flush size
    EXPECT_EQ(vxtest::readText(target), "old");
    EXPECT_EQ(out.commit(), 0);
    EXPECT_EQ(vxtest::readText(target).size(), 200004u);
    EXPECT_EQ(vxtest::listDir(dir.dir()), std::vector<std::string>{"model.mdl"});

    // A new file gets the mode of a plain create.
    vx::OutputFile fresh;
    ASSERT_EQ(fresh.open(dir.path("new.mdl")), 0);
    ASSERT_EQ(fresh.commit(), 0);
    struct stat st;
    ASSERT_EQ(::stat(dir.path("new.mdl").c_str(), &st), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

TEST(OutputFile, RefusesTargetsThatCannotBeWritten) {
    vxtest::ScratchDir dir;
    vx::OutputFile out;
    EXPECT_EQ(out.open(dir.path("no/such/dir/model.mdl")), 1);
    EXPECT_EQ(out.open(dir.dir().string()), 1);  // a directory
    EXPECT_EQ(out.systemError(), EISDIR);
    EXPECT_EQ(out.open(""), 1);
    EXPECT_EQ(out.commit(), 1);  // nothing open
    EXPECT_TRUE(vxtest::listDir(dir.dir()).empty());
}

TEST(OutputFile, ReplacementKeepsTheModeOfTheFileItReplaces) {
    vxtest::ScratchDir dir;
    for (const mode_t mode : {0600, 0640, 06754}) {
        const std::string target = dir.path("model.mdl");
        vxtest::writeText(target, "old");
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        vx::OutputFile out;
        ASSERT_EQ(out.open(target), 0);
        out.write("new");
        ASSERT_EQ(out.commit(), 0);
        struct stat st;
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(vxtest::readText(target), "new");
    }
}

TEST(OutputFile, ReplacementKeepsTheOwnerAndGroup) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    vxtest::ScratchDir dir;
    const std::string target = dir.path("model.mdl");
    vxtest::writeText(target, "old");
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    vx::OutputFile out;
    ASSERT_EQ(out.open(target), 0);
    ASSERT_EQ(out.commit(), 0);
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

TEST(OutputFile, LinksAreWrittenThroughToTheFileTheyNameAtLast) {
    vxtest::ScratchDir dir;
    std::filesystem::create_directory(dir.path("models"));
    std::filesystem::create_directory(dir.path("links"));
    const std::string real = dir.path("models/model.mdl");
    vxtest::writeText(real, "old");
    // A chain: a link to a relative link that leads into another directory.
    std::filesystem::create_symlink("../models/model.mdl", dir.path("links/relative.mdl"));
    std::filesystem::create_symlink(dir.path("links/relative.mdl"), dir.path("chain.mdl"));

    vx::OutputFile out;
    ASSERT_EQ(out.open(dir.path("chain.mdl")), 0);
    out.write("new");
    EXPECT_EQ(vxtest::listDir(dir.path("models")).size(), 2u);  // the temporary is beside the real file
    ASSERT_EQ(out.commit(), 0);

    EXPECT_EQ(vxtest::readText(real), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("chain.mdl")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("links/relative.mdl")));
    EXPECT_EQ(vxtest::listDir(dir.path("models")), std::vector<std::string>{"model.mdl"});
    EXPECT_EQ(vxtest::listDir(dir.path("links")), std::vector<std::string>{"relative.mdl"});
}

std::optional<std::string> stored(const vx::MemoryFiles& memory, const std::string& name) {
    const auto it = memory.files.find(name);
    return it == memory.files.end() ? std::nullopt : std::optional(it->second);
}

// A store takes a text only when it is committed whole, exactly as a file is
// replaced only by its rename, and the disk is never touched.
TEST(OutputFile, AStoreInMemoryTakesOnlyCommittedTexts) {
    enum class End { Commit, Discard, Destroy };
    const std::string big = "new " + std::string(200000, 'x');  // past the room a text starts with
    const struct {
        const char* what;
        std::optional<std::string> before;
        End end;
        std::optional<std::string> after;
    } cases[] = {
        {"committed over an earlier text", "old", End::Commit, big},
        {"committed as a new text", std::nullopt, End::Commit, big},
        {"discarded", "old", End::Discard, "old"},
        {"destroyed unfinished", "old", End::Destroy, "old"},
        {"discarded before it ever was", std::nullopt, End::Discard, std::nullopt},
    };
    for (const auto& c : cases) {
        vxtest::ScratchDir dir;
        const std::string target = dir.path("model.mdl");
        vx::MemoryFiles memory;
        memory.files["scene.lws"] = "scene";
        if (c.before) memory.files[target] = *c.before;
        {
            vx::OutputFile out;
            ASSERT_EQ(out.open(target, &memory), 0) << c.what;
            EXPECT_TRUE(out.isOpen()) << c.what;
            out.write(big);
            EXPECT_TRUE(stored(memory, target) == c.before) << c.what << ": seen before the commit";
            if (c.end != End::Destroy) {
                if (c.end == End::Commit) {
                    EXPECT_EQ(out.commit(), 0) << c.what;
                } else {
                    out.discard();
                }
                EXPECT_FALSE(out.isOpen()) << c.what;
                EXPECT_EQ(out.commit(), 1) << c.what << ": a second commit";
            }
        }
        EXPECT_TRUE(stored(memory, target) == c.after) << c.what;
        EXPECT_EQ(memory.files["scene.lws"], "scene") << c.what;
        EXPECT_TRUE(vxtest::listDir(dir.dir()).empty()) << c.what;
    }
    vx::MemoryFiles memory;
    vx::OutputFile out;
    EXPECT_EQ(out.open("", &memory), 1);  // no name, as on disk
    EXPECT_TRUE(memory.files.empty());
}

// failed() tells of a write that failed before the commit does, so a run can
// stop there; a file size limit makes the flush fail, the commit refuses and
// the earlier model stays.
TEST(OutputFile, FailedTellsOfAFailedWriteBeforeTheCommit) {
    vxtest::ScratchDir dir;
    vxtest::writeText(dir.path("model.mdl"), "earlier");
    vx::OutputFile out;
    ASSERT_EQ(out.open(dir.path("model.mdl")), 0);
    out.write("small");
    EXPECT_FALSE(out.failed());
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    out.write(std::string(200000, 'x'));  // flushes past the limit
    const bool failed = out.failed();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(failed);
    EXPECT_EQ(out.commit(), 1);
    EXPECT_EQ(out.systemError(), EFBIG);
    EXPECT_TRUE(out.failed());
    EXPECT_EQ(vxtest::listDir(dir.dir()), std::vector<std::string>{"model.mdl"});
    EXPECT_EQ(vxtest::readText(dir.path("model.mdl")), "earlier");
    ASSERT_EQ(out.open(dir.path("model.mdl")), 0);
    EXPECT_FALSE(out.failed()) << "a fresh open starts clean";
}

// The temporary's name must fit the file system's limit of 255 bytes, and a
// cut must not split a character of a UTF-8 name ("é" is two bytes).
TEST(OutputFile, NamesOfTheLongestLegalLengthCanBeWritten) {
    std::string accented = "x";
    for (int i = 0; i < 125; ++i) accented += "\xc3\xa9";
    for (const std::string& name : {std::string(251, 'm') + ".mdl", accented + ".mdl"}) {
        ASSERT_EQ(name.size(), 255u);
        vxtest::ScratchDir dir;
        vx::OutputFile out;
        ASSERT_EQ(out.open(dir.path(name)), 0) << std::strerror(out.systemError());
        const std::vector<std::string> during = vxtest::listDir(dir.dir());
        ASSERT_EQ(during.size(), 1u);
        const std::string& temporary = during[0];
        const std::size_t kept = temporary.size() - 7;  // the name before mkstemp's ".XXXXXX"
        EXPECT_LE(temporary.size(), 255u);
        EXPECT_EQ(temporary.substr(0, kept), name.substr(0, kept));
        EXPECT_NE(static_cast<unsigned char>(name[kept]) & 0xC0, 0x80) << "cut inside a character";
        out.write("new");
        ASSERT_EQ(out.commit(), 0);
        EXPECT_EQ(vxtest::listDir(dir.dir()), std::vector<std::string>{name});
        EXPECT_EQ(vxtest::readText(dir.path(name)), "new");
    }
}

}  // namespace
