// Objects nobody on this project wrote, converted through the library and
// read back: the reader takes every model the converter makes of them.

#include <filesystem>

#include <gtest/gtest.h>

#include "mdl/read_mdl.h"
#include "tests/mdl/mdl_test_support.h"

namespace {

TEST(Corpus, EveryConvertedObjectReadsBack) {
    const std::filesystem::path corpus = vxtest::corpusDir();
    if (corpus.empty()) GTEST_SKIP() << "no corpus";
    int read = 0;
    for (const char* folder : {"lwo2", "lwo3", "lwob", "lws"}) {
        if (!std::filesystem::exists(corpus / folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(corpus / folder)) {
            if (entry.path().extension() != ".lwo") continue;
            const std::string object = vxtest::readText(entry.path().string());
            for (const vx::ModelType type : {vx::ModelType::SpacecraftAircraft, vx::ModelType::None}) {
                vxtest::RecordingSink converting;
                const std::string text = mdltest::convertObject(object, type, converting);
                ASSERT_FALSE(text.empty()) << entry.path();
                vxtest::RecordingSink reading;
                vx::MdlModel model;
                ASSERT_EQ(vx::readMdlText(text, entry.path().string(), model, reading), 0)
                    << entry.path() << ": " << (reading.messages.empty() ? "" : reading.messages[0].reason);
                EXPECT_EQ(mdltest::outlineOfModel(model), mdltest::outlineOfText(text)) << entry.path();
                EXPECT_EQ(model.modelType, type);
                EXPECT_GE(model.root, 0);
                ++read;
            }
        }
    }
    EXPECT_GT(read, 0);
}

}  // namespace
