#pragma once
// Which zoom the editor shows at: one of kZooms, each with artwork drawn for it.
//
// Precedence: the user's own choice (made in the about view) comes first: it is
// what they asked for and they see the result. Then the content scale a host
// announces: the host knows how it scales its own windows, which the screen's
// settings alone do not tell (a host may ignore them, or scale by itself). Last,
// the screen the editor opens on (Windows: the window's DPI; X11: Xft.dpi).
//
// The user's choice holds for the rest of the process: every editor opened later, of
// any instance, opens at it. Nothing is written anywhere: the host saves a plug-in's
// state, and a zoom is no part of it.
#include <iterator>

namespace zoom {

// The one list of zooms. The image pack's build (editor/CMakeLists.txt) and the image
// generator (tools/images/make_images.py) read it from this line, so keep it on one
// line in this form; an image at zoom z is named NAME@<z as %g>x, NAME at 1.
inline constexpr double kZooms[] = {1.0, 1.5, 2.0};
inline constexpr int kNumZooms = static_cast<int>(std::size(kZooms));

// The zoom nearest a scale factor; halfway between two, the smaller (an editor too
// large for its screen is worse than one a little small). 1 for factors that are not
// finite or not above 0.
double Nearest(double factor);

// A host's announced content scale is taken when it is a number from 1 to 4.
bool ValidHostScale(float factor);

// The user's choice for this process, 0 when they made none. Any thread.
double UserChoice();
// Takes one of kZooms; anything else is ignored (false).
bool SetUserChoice(double zoom);
void ForgetUserChoice();  // for tests

// The zoom an editor opens at; 0 stands for no choice and no announced scale.
double Choose(double userChoice, double hostScale, double screenScale);

}  // namespace zoom
