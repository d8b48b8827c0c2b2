#pragma once
// The Win32 virtual-key codes the interface reads, with Win32's numbers. Digits and
// letters have no names: their codes are the characters '0'-'9' and 'A'-'Z'.

inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_SUBTRACT = 0x6D;   // the keypad's minus
inline constexpr unsigned VK_OEM_MINUS = 0xBD;  // the main keyboard's minus
