// Test fixture that installs a scripted host: an unexpected message box fails the
// test, and so does an expected one that never came.
#pragma once

#include "platform/testing/ScriptedHost.h"

#include <gtest/gtest.h>

#include <memory>

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.onUnexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        m_scope = std::make_unique<ScopedHost>(&host);
    }
    void TearDown() override
    {
        for (const auto& pending : host.PendingExpectations())
            ADD_FAILURE() << "expected message box never shown: \"" << pending << "\"";
        m_scope.reset();
    }

    // Texts of every box shown so far.
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> out;
        for (const auto& m : host.Messages()) out.push_back(m.text);
        return out;
    }

    ScriptedHost host;

private:
    std::unique_ptr<ScopedHost> m_scope;
};
