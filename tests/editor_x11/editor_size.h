#pragma once
// The editor's size at 100 %, as the tests of the editor in an X window open it.
inline constexpr int kWidth = 773, kHeight = 491;
