#pragma once
// A failure out of a dialog's handler, close action or build, carried to the
// window procedure: the player is told and the dialogs go on, where any other
// failure there ends the game.

#include <stdexcept>
#include <string>

class CDialogFailure : public std::runtime_error {
public:
    explicit CDialogFailure(const std::string& what) : std::runtime_error(what) {}
};

// Runs a call on a dialog; whatever it throws leaves as a CDialogFailure.
template <typename Call>
decltype(auto) CallDialog(Call&& call) {
    try {
        return call();
    } catch (const CDialogFailure&) {
        throw;
    } catch (const std::exception& failure) {
        throw CDialogFailure(failure.what());
    }
}
