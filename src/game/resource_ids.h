#pragma once
// The program's resource numbers.

inline constexpr unsigned IDS_APP_TITLE = 103;  // string: the title
inline constexpr unsigned IDC_QUILLMERE = 109;  // string: the window class; the accelerator table
inline constexpr unsigned IDI_QUILLMERE = 213;  // the icon
