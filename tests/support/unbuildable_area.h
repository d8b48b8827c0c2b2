#pragma once
// An area file whose entry list reads but whose tiles name none the module has:
// it passes every look taken before a journey and fails only when it is built,
// after the hours of the journey from the landing are read.

namespace QuillmereTest {

inline constexpr const char* kUnbuildableAreaName = "sunken_mill";
inline constexpr const char* kUnbuildableAreaText =
    "<area> \"The Sunken Mill\" false\n"
    " <travel> reedwater_landing 3 </travel>\n"
    " <rows> ( 2 1 ) <row> ( millstone n ) ( millstone n ) </row> </rows>\n"
    " <objects> </objects>\n"
    " <entries> <entry> gate \"The mill gate\" ( 0 0 ) </entry> </entries>\n"
    " <exits> </exits>\n"
    "</area>\n";

}  // namespace QuillmereTest
