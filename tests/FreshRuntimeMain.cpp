// The test runner: every test plays in a fresh runtime of its own, so no
// test sees the variables, placeholders, host or serial another one left.
// A fixture with a player installs the player's runtime over this one.
#include <gtest/gtest.h>

#include <optional>

#include "engine/Runtime.h"
#include "shell/StepKindsAll.h"

namespace {

class FreshRuntimePerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { scope_.emplace(runtime_.emplace(&ovrix::PlayerStepKinds())); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        scope_.reset();
        runtime_.reset();
    }

    std::optional<ovrix::Runtime> runtime_;
    std::optional<ovrix::RuntimeScope> scope_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshRuntimePerTest);
    return RUN_ALL_TESTS();
}
