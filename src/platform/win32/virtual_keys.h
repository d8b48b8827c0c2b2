#pragma once
// The Win32 virtual-key codes the game reads, with Win32's numbers. Digits and
// letters have no names: their codes are the characters '0'-'9' and 'A'-'Z'.

inline constexpr unsigned VK_LBUTTON = 0x01;
inline constexpr unsigned VK_RBUTTON = 0x02;
inline constexpr unsigned VK_MBUTTON = 0x04;
inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_TAB = 0x09;
inline constexpr unsigned VK_RETURN = 0x0D;
inline constexpr unsigned VK_SHIFT = 0x10;
inline constexpr unsigned VK_CONTROL = 0x11;
inline constexpr unsigned VK_MENU = 0x12;  // Alt
inline constexpr unsigned VK_PAUSE = 0x13;
inline constexpr unsigned VK_CAPITAL = 0x14;
inline constexpr unsigned VK_ESCAPE = 0x1B;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_PRIOR = 0x21;
inline constexpr unsigned VK_NEXT = 0x22;
inline constexpr unsigned VK_END = 0x23;
inline constexpr unsigned VK_HOME = 0x24;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;
inline constexpr unsigned VK_INSERT = 0x2D;
inline constexpr unsigned VK_DELETE = 0x2E;
inline constexpr unsigned VK_NUMPAD0 = 0x60;
inline constexpr unsigned VK_MULTIPLY = 0x6A;
inline constexpr unsigned VK_ADD = 0x6B;
inline constexpr unsigned VK_SUBTRACT = 0x6D;  // the keypad's minus
inline constexpr unsigned VK_DECIMAL = 0x6E;
inline constexpr unsigned VK_DIVIDE = 0x6F;
inline constexpr unsigned VK_F1 = 0x70;
inline constexpr unsigned VK_F10 = 0x79;
inline constexpr unsigned VK_F12 = 0x7B;
inline constexpr unsigned VK_OEM_1 = 0xBA;      // ;:
inline constexpr unsigned VK_OEM_PLUS = 0xBB;   // =+
inline constexpr unsigned VK_OEM_COMMA = 0xBC;
inline constexpr unsigned VK_OEM_MINUS = 0xBD;  // the main keyboard's minus
inline constexpr unsigned VK_OEM_PERIOD = 0xBE;
inline constexpr unsigned VK_OEM_2 = 0xBF;      // /?
inline constexpr unsigned VK_OEM_3 = 0xC0;      // `~
inline constexpr unsigned VK_OEM_4 = 0xDB;      // [{
inline constexpr unsigned VK_OEM_5 = 0xDC;      // \|
inline constexpr unsigned VK_OEM_6 = 0xDD;      // ]}
inline constexpr unsigned VK_OEM_7 = 0xDE;      // '"
