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

    std::int32_t GetCode() const noexcept { return m_code; }
    const std::string& GetMessage() const noexcept { return m_message; }

    // "Error <code>: <message>", for logs and message boxes.
    const char* what() const noexcept override;

private:
    std::int32_t m_code;
    std::string m_message;
    mutable std::string m_what;
};
