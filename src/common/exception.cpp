#include "common/exception.h"

const char* CDRAVException::what() const noexcept {
    if (m_what.empty()) {
        try {
            m_what = "Error " + std::to_string(m_code);
            if (!m_message.empty()) m_what += ": " + m_message;
        } catch (...) {
            return "Error";
        }
    }
    return m_what.c_str();
}
