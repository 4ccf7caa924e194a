// Shared set-up of the device class tests: the simulated terminal back at its defaults, module
// overrides undone, and a few ways to look at what the classes did to it.
#pragma once

#include <gtest/gtest.h>

#include <vela/Modules.h>
#include <vela/Terminal.h>

#include <functional>
#include <string>
#include <vector>

#include "PrivateTerminalRoot.h"

namespace velasystest {

class TerminalTest : public ::testing::Test {
protected:
    // Each test starts from a terminal without adapters and gives the ones it needs.
    void SetUp() override {
        vela::terminal::Get().ResetForTests();
        vela::terminal::Get().Update([](vela::terminal::State& s) { s.network.adapters.clear(); });
    }
    void TearDown() override { vela::terminal::Get().ResetForTests(); }

    static vela::terminal::State State() { return vela::terminal::Get().Get(); }
    static void Update(const std::function<void(vela::terminal::State&)>& edit) { vela::terminal::Get().Update(edit); }
    static vela::terminal::Records Records() { return vela::terminal::Get().GetRecords(); }

    vela::ScopedModuleOverrides modules_;
};

// An adapter as GetAdaptersInfo would list it.
inline vela::terminal::Adapter MakeAdapter(std::string name, std::uint32_t type, std::string ip,
                                           std::optional<std::int32_t> dbm = std::nullopt) {
    vela::terminal::Adapter adapter;
    adapter.name = std::move(name);
    adapter.type = type;
    adapter.ipAddress = std::move(ip);
    adapter.signalDbm = dbm;
    return adapter;
}

inline void SetAdapters(std::vector<vela::terminal::Adapter> adapters) {
    vela::terminal::Get().Update([&](vela::terminal::State& s) { s.network.adapters = adapters; });
}

}  // namespace velasystest
