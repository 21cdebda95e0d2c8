// The outcome of an operation that may fail, as a value: a success, or a failure that
// carries the message the user is to see. Readers and writers below the application
// return it and show nothing; the code that owns the window shows it (OkOrShow).
// A quiet failure carries no message: one the user has been told of already, or one
// that is no fault of the data (a read on an input already closed).
#pragma once

#include <string>
#include <utility>

class [[nodiscard]] Status {
public:
    Status() = default; // a success
    static Status Failure(std::string message) { return Status(false, std::move(message)); }
    static Status Quiet() { return Status(false, std::string()); }

    bool Ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    // The text to show; empty on a success and on a quiet failure.
    const std::string& Message() const { return m_message; }
    // No comparison with an int: `status == -1` would compile and always be false.
    bool operator==(int) const = delete;

private:
    Status(bool ok, std::string message) : m_ok(ok), m_message(std::move(message)) {}

    bool m_ok = true;
    std::string m_message;
};

// True for a success. A failure's message is shown in a stop box first (a quiet
// failure shows nothing), so that the caller only decides what happens next.
[[nodiscard]] bool OkOrShow(const Status& status);
