#include "core/output_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/support/test_support.h"

namespace {

TEST(OutputFile, CommitReplacesTheTargetAndLeavesNoTemporary) {
    vxtest::ScratchDir dir;
    const std::string target = dir.path("model.mdl");
    vxtest::writeText(target, "old");
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

TEST(OutputFile, DroppedOrFailedRunsLeaveTheEarlierFile) {
    vxtest::ScratchDir dir;
    const std::string target = dir.path("model.mdl");
    vxtest::writeText(target, "old");
    {
        vx::OutputFile out;
        ASSERT_EQ(out.open(target), 0);
        out.write("half a model");
    }  // destroyed without commit
    EXPECT_EQ(vxtest::readText(target), "old");
    EXPECT_EQ(vxtest::listDir(dir.dir()), std::vector<std::string>{"model.mdl"});
}

TEST(OutputFile, RefusesTargetsThatCannotBeWritten) {
    vxtest::ScratchDir dir;
    vx::OutputFile out;
    EXPECT_EQ(out.open(dir.path("no/such/dir/model.mdl")), 1);
    EXPECT_EQ(out.open(dir.dir().string()), 1);  // a directory
    EXPECT_EQ(out.open(""), 1);
    EXPECT_EQ(out.commit(), 1);  // nothing open
    EXPECT_TRUE(vxtest::listDir(dir.dir()).empty());
}

}  // namespace
