#include "plugin/param.h"

// kind, name, label, default, min, max, step
const TParamDescriptor kParamTable[kNumParams] = {
    {EParamKind::kLevel, "Input Level", "dB", 0.0f, -200.0f, 0.0f, 0.0f},
    {EParamKind::kLevel, "Output Level", "dB", 0.0f, -200.0f, 0.0f, 0.0f},
    {EParamKind::kLevel, "Dry Level", "dB", 0.0f, -200.0f, 0.0f, 0.0f},
    {EParamKind::kLevel, "ER Level", "dB", -9.0f, -200.0f, 0.0f, 0.0f},
    {EParamKind::kLevel, "Late Level", "dB", -4.0f, -200.0f, 0.0f, 0.0f},
    {EParamKind::kPlain, "Predelay Left", "ms", 0.0f, 0.0f, 200.0f, 0.0f},
    {EParamKind::kPlain, "Predelay Right", "ms", 0.0f, 0.0f, 200.0f, 0.0f},
    // log10 of seconds: 0.1 s .. 100 s, default 1.50 s
    {EParamKind::kDecade, "Decay Time", "sec", 0.176f, -1.0f, 2.0f, 0.0f},
    {EParamKind::kSwitch, "Decay Freeze", "", 0.0f, 0.0f, 1.0f, 1.0f},
    {EParamKind::kPlain, "Size", "%", 50.0f, 0.0f, 100.0f, 0.0f},
    {EParamKind::kPlain, "Wide", "%", 150.0f, 0.0f, 200.0f, 0.0f},
    {EParamKind::kPlain, "Bass Ratio", "x", 1.0f, 0.0f, 3.0f, 0.0f},
    {EParamKind::kFrequency, "Crossover", "Hz", 200.0f, 50.0f, 2000.0f, 0.0f},
    {EParamKind::kFrequency, "High Damping", "Hz", 10000.0f, 500.0f, 20000.0f, 0.0f},
    {EParamKind::kPlain, "EQ Low Band Level", "dB", 0.0f, -15.0f, 15.0f, 0.0f},
    {EParamKind::kFrequency, "EQ Low Band Freq", "Hz", 100.0f, 30.0f, 3000.0f, 0.0f},
    {EParamKind::kPlain, "EQ Hi Band Level", "dB", 0.0f, -15.0f, 15.0f, 0.0f},
    {EParamKind::kFrequency, "EQ Hi Band Freq", "Hz", 2000.0f, 160.0f, 10000.0f, 0.0f},
};
