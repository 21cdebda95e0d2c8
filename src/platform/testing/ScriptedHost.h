// The scripted headless host for tests: answers are queued in advance and matched
// by text; every box shown is recorded; a box nobody expected is reported through
// the unexpected-prompt hook (the test fixture turns it into a test failure).
#pragma once

#include "platform/Host.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned type = 0;
    int answer = 0;
    bool expected = false;
};

class ScriptedHost : public IHost {
public:
    // Queues the answer to the next message box whose text contains `textPart`
    // (an empty part matches any text). Expectations are consumed in order.
    void ExpectMessage(const std::string& textPart, int answer = IDOK);

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;

    const std::vector<ShownMessage>& Messages() const { return m_messages; }
    // Texts of the expectations not yet met.
    std::vector<std::string> PendingExpectations() const;
    void ClearMessages() { m_messages.clear(); }

    // Called with a description of every prompt that no expectation matched.
    std::function<void(const std::string&)> onUnexpected;

private:
    struct Expectation {
        std::string textPart;
        int answer;
    };
    std::deque<Expectation> m_expected;
    std::vector<ShownMessage> m_messages;
};
