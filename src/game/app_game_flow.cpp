#include "game/app.h"

// The dialog stack, the game screen, the engine's events and the game's lifecycle
// are built on these operations; each comes with its own part of the shell.

void CDRAVApp::OnScreenButton(int) {}
void CDRAVApp::OnScreenAltClick(int) {}
void CDRAVApp::OnMouseMove(POINT) {}
void CDRAVApp::RenderGameView(int) {}
void CDRAVApp::GetCameraTarget() {}
void CDRAVApp::EndGame() {}
void CDRAVApp::CheckPartyAndChangeArea() {}
bool CDRAVApp::ProcessPendingEvents() { return false; }
void CDRAVApp::PumpEngineEvents() {}
void CDRAVApp::OnChapterComplete(bool) {}
void CDRAVApp::AppendMessage(const std::string&) {}
void CDRAVApp::UpdateAmbientSound() {}
void CDRAVApp::RefreshExitButtons(bool) {}
