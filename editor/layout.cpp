#include "editor/layout.h"

// tag, left, top, size, image, curve, display left, display top; a knob is logarithmic
// when its parameter is (kParamTable)
const TKnobPlace kKnobPlaces[17] = {
    {0, 633, 78, 48, "SMALL_KNOB", 2.88f, 633, 126},   // Input Level
    {1, 682, 78, 48, "SMALL_KNOB", 2.88f, 682, 126},   // Output Level
    {2, 350, 49, 72, "MID_KNOB", 2.88f, 362, 126},     // Dry Level
    {3, 440, 49, 72, "MID_KNOB", 2.88f, 452, 126},     // ER Level
    {4, 530, 49, 72, "MID_KNOB", 2.88f, 542, 126},     // Late Level
    {5, 54, 188, 72, "MID_KNOB", 0.0f, 66, 265},       // Predelay Left
    {6, 144, 188, 72, "MID_KNOB", 0.0f, 156, 265},     // Predelay Right
    {7, 255, 167, 96, "BIG_KNOB", 0.0f, 279, 265},     // Decay Time
    {9, 440, 188, 72, "MID_KNOB", 0.0f, 452, 265},     // Size
    {10, 530, 188, 72, "MID_KNOB", 0.0f, 542, 265},    // Wide
    {11, 54, 362, 72, "MID_KNOB", 0.0f, 66, 439},      // Bass Ratio
    {12, 144, 362, 72, "MID_KNOB", 0.0f, 156, 439},     // Crossover
    {13, 235, 362, 72, "MID_KNOB", 0.0f, 247, 439},     // High Damping
    {14, 348, 362, 72, "MID_KNOB", 0.0f, 360, 439},    // EQ Low Band Level
    {15, 424, 390, 48, "SMALL_KNOB", 0.0f, 424, 439},   // EQ Low Band Freq
    {16, 482, 362, 72, "MID_KNOB", 0.0f, 494, 439},    // EQ Hi Band Level
    {17, 558, 390, 48, "SMALL_KNOB", 0.0f, 558, 439},   // EQ Hi Band Freq
};
