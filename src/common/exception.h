#pragma once
// The one exception type of the engine and the game.

#include <cstdint>
#include <exception>
#include <string>

// Codes keep the same sense throughout the program.
enum DRAVErrorCode : std::int32_t {
    DRAV_ERR_BAD_DATA = 1,          // malformed, unrecognised, duplicate or missing data
    DRAV_ERR_OUT_OF_RANGE = 2,      // value outside a table, operation not supported
    DRAV_ERR_PARTY_POSITION = 3,    // bad party position
    DRAV_ERR_UNEXPECTED = 4,        // unexpected value from another component
    DRAV_ERR_DEVICE = 5,            // graphics device failure
    DRAV_ERR_SCRIPT = 6,            // script error; the message is the script engine's text
    DRAV_ERR_SAVE_VERSION = 7,      // saved game does not fit the module
    DRAV_ERR_MODULE_TOO_NEW = 8,    // module version above the maximum
    DRAV_ERR_MODULE_TOO_OLD = 9,    // module version below the minimum
    DRAV_ERR_SDL = 11,              // SDL failure
};

class CDRAVException : public std::exception {
public:
    explicit CDRAVException(std::int32_t code) : m_code(code) {}
    CDRAVException(std::int32_t code, std::string message)
        : m_code(code), m_message(std::move(message)) {}
    // A failure the system reported: `reason` is its own words ("No space left on
    // device"), for a player who is told what failed in other words.
    CDRAVException(std::int32_t code, std::string message, std::string reason)
        : m_code(code), m_message(std::move(message)), m_reason(std::move(reason)) {}

    std::int32_t GetCode() const noexcept { return m_code; }
    const std::string& GetMessage() const noexcept { return m_message; }
    // Empty unless the system gave the reason.
    const std::string& GetReason() const noexcept { return m_reason; }

    // "Error <code>: <message>", for logs and message boxes.
    const char* what() const noexcept override;

private:
    std::int32_t m_code;
    std::string m_message;
    std::string m_reason;
    mutable std::string m_what;
};
