#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim.h"

// Every native test starts from a fresh simulated system and ends with a check that the logic
// misused nothing and left nothing open.
class SimTest : public ::testing::Test {
  protected:
    void SetUp() override { sim::ResetWorld(); }

    void TearDown() override {
        const sim::World& w = world();
        EXPECT_TRUE(w.errors.empty()) << "misuse of the system: " << Joined(w.errors);
        EXPECT_EQ(w.processes.OpenHandles(), expectedOpenHandles_) << "handles left open";
        EXPECT_EQ(w.shell.LiveItemIdLists(), 0u) << "item-id lists not freed";
        EXPECT_EQ(w.shell.LoadedLibraries(), 0u) << "libraries not freed";
    }

    static sim::World& world() { return sim::TheWorld(); }
    static const sim::CallLog& log() { return sim::TheWorld().log; }
    // The calls with this name, in order.
    static std::vector<sim::Call> CallsTo(const std::wstring& name) { return log().Of(name); }
    static std::vector<std::wstring> CallNames() { return log().Names(); }

    // A test whose logic keeps handles open by design says how many.
    void ExpectOpenHandlesAtEnd(std::size_t count) { expectedOpenHandles_ = count; }

    static std::string Joined(const std::vector<std::wstring>& lines) {
        std::string text;
        for (const auto& line : lines) {
            text += sim::Narrow(line) + "; ";
        }
        return text;
    }

  private:
    std::size_t expectedOpenHandles_ = 0;
};

// A call record as a test expects it, compared field by field.
inline sim::Call Called(std::wstring name, std::vector<sim::Value> arguments,
                        sim::Value result = sim::null, std::vector<sim::Value> written = {}) {
    return sim::Call{std::move(name), std::move(arguments), std::move(result), std::move(written)};
}
inline sim::Call Failed(std::wstring name, std::vector<sim::Value> arguments,
                        std::uint32_t failure) {
    return sim::Call{std::move(name), std::move(arguments), sim::null, {}, failure};
}
