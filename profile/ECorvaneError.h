#pragma once

#include <exception>
#include <string>
#include <utility>

// The program's general error type: every error the program raises itself
// carries a message meant for the user.
class ECorvaneError : public std::exception {
public:
    explicit ECorvaneError(std::string message)
        : m_message(std::move(message))
    {
    }
    const char* what() const noexcept override { return m_message.c_str(); }
    const std::string& Message() const noexcept { return m_message; }

private:
    std::string m_message;
};
