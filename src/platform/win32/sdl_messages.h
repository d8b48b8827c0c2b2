#pragma once
// How SDL's input becomes Win32's: keys by their position on the keyboard.

namespace Win32 {

// The virtual-key code of an SDL scancode on a US layout; 0 for keys the game
// has no code for.
unsigned VirtualKeyFromScancode(int scancode);

}  // namespace Win32
