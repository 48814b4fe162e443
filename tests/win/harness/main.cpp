#include <gtest/gtest.h>

#include "bench.h"

namespace {

// Ends the run's Wine prefix, its server and its display after the last test.
class BenchEnvironment : public ::testing::Environment {
  public:
    void TearDown() override { harness::Bench::Shutdown(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new BenchEnvironment);
    return RUN_ALL_TESTS();
}
