#include "platform/testing/ScriptedHost.h"

void ScriptedHost::ExpectMessage(const std::string& textPart, int answer)
{
    m_expected.push_back({textPart, answer});
}

int ScriptedHost::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    ShownMessage shown{text, caption.empty() ? DefaultCaption() : caption, type, 0, false};
    if (!m_expected.empty() && text.find(m_expected.front().textPart) != std::string::npos) {
        shown.answer = m_expected.front().answer;
        shown.expected = true;
        m_expected.pop_front();
    } else {
        shown.answer = DefaultAnswer(type);
        if (onUnexpected) onUnexpected("unexpected message box: \"" + text + "\"");
    }
    m_messages.push_back(shown);
    return shown.answer;
}

std::vector<std::string> ScriptedHost::PendingExpectations() const
{
    std::vector<std::string> out;
    for (const auto& e : m_expected) out.push_back(e.textPart);
    return out;
}
