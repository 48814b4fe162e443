#pragma once

#include <gtest/gtest.h>

#include <algorithm>
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
        EXPECT_EQ(w.OpenHandles(), 0u) << "handles left open";
        EXPECT_EQ(w.LiveItemIdLists(), 0u) << "item-id lists not freed";
        EXPECT_EQ(w.LoadedLibraries(), 0u) << "libraries not freed";
    }

    static sim::World& world() { return sim::TheWorld(); }

    // The names of the calls the logic made, in order, leaving out those in `ignored`.
    static std::vector<std::wstring> CallsWithout(const std::vector<std::wstring>& ignored) {
        std::vector<std::wstring> names;
        for (const auto& name : world().CallNames()) {
            if (std::find(ignored.begin(), ignored.end(), name) == ignored.end()) {
                names.push_back(name);
            }
        }
        return names;
    }

    // The full log entries of the calls with this name, in order.
    static std::vector<std::wstring> CallsTo(const std::wstring& name) {
        std::vector<std::wstring> entries;
        for (const auto& call : world().calls) {
            if (call.rfind(name + L"(", 0) == 0) {
                entries.push_back(call);
            }
        }
        return entries;
    }

    static std::string Joined(const std::vector<std::wstring>& lines) {
        std::string text;
        for (const auto& line : lines) {
            for (const wchar_t c : line) {
                text += c < 0x80 ? static_cast<char>(c) : '?';
            }
            text += "; ";
        }
        return text;
    }
};
