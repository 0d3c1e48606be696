#include "plugin/program.h"

const char* const kFactoryProgramNames[kNumPrograms] = {
    "Default",     "Cathedral",     "Station",         "Small Hall",
    "Medium Hall", "Large Hall",    "Stadium",         "Far Space",
    "Long Ambience", "Spring Reverb", "Metal And Vacuum", "Mellow",
    "Garage",      "Input In A Cave", "Dark Ambience", "Deep Underground",
};

// Normalised values, one row per parameter and one column per program:
//   0 Default, 1 Cathedral, 2 Station, 3 Small Hall, 4 Medium Hall,
//   5 Large Hall, 6 Stadium, 7 Far Space, 8 Long Ambience, 9 Spring Reverb,
//   10 Metal And Vacuum, 11 Mellow, 12 Garage, 13 Input In A Cave,
//   14 Dark Ambience, 15 Deep Underground.
// Column 0 holds the table defaults (it is rebuilt from them at construction).
const float kFactoryPrograms[kNumParams][kNumPrograms] = {
    // Input Level
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    // Output Level
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    // Dry Level
    {1, 1, 0.978945f, 1, 1, 1, 1, 0.978945f, 0.972594f, 1, 1, 1, 1, 1, 0.982785f, 0.978166f},
    // ER Level
    {0.955f, 0.970143f, 0.970143f, 0.975802f, 0.948959f, 0.948959f, 0.946089f, 0.965968f,
     0.91137f, 0.947052f, 0, 0.956356f, 0.951776f, 0.963406f, 0.88739f, 0},
    // Late Level
    {0.98f, 0.964574f, 0.985314f, 0.975294f, 0.953037f, 0.950244f, 0.954871f, 0.962856f,
     0.923541f, 0.962856f, 0.940538f, 0.968787f, 0.964574f, 0.960241f, 0.94547f, 0.923541f},
    // Predelay Left
    {0, 0.38f, 0.375f, 0.21f, 0.195f, 0.21f, 0.6f, 0.08f, 0.87f, 0.1f, 0, 0.09f, 0.07f, 1, 0,
     0.92f},
    // Predelay Right
    {0, 0.325f, 0.39f, 0.19f, 0.36f, 0.19f, 0.685f, 0.305f, 0.155f, 0.065f, 0, 0.075f, 0.07f,
     0.75f, 0, 0.53f},
    // Decay Time
    {0.392f, 0.555f, 0.435f, 0.385f, 0.475f, 0.555f, 0.555f, 0.67f, 0.895f, 0.44f, 0.5f, 0.6f,
     0.43f, 0.73f, 0.84f, 1},
    // Decay Freeze
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    // Size
    {0.5f, 0.905f, 0.58f, 0.335f, 0.335f, 0.55f, 0.595f, 1, 1, 0.08f, 0, 0.115f, 0.07f, 0.655f,
     0.705f, 1},
    // Wide
    {0.75f, 0.76f, 0.605f, 0.61f, 0.745f, 0.61f, 0.88f, 0.88f, 1, 0.815f, 0.95f, 0.81f, 0.95f,
     0.21f, 1, 1},
    // Bass Ratio
    {0.333333f, 0.503333f, 0.468333f, 0.168333f, 0.168333f, 0.343333f, 0.265f, 1, 0.705f, 0.535f,
     0.535f, 0.18f, 0.535f, 0.845f, 1, 1},
    // Crossover
    {0.0769231f, 0.136527f, 0.152194f, 0.236318f, 0.236318f, 0.236318f, 0.142621f, 0.332792f,
     0.332792f, 0.332792f, 0.332792f, 0.241194f, 0.332792f, 0.0121294f, 1, 0.332792f},
    // High Damping
    {0.487179f, 0.136527f, 0.397515f, 0.184306f, 0.208874f, 0.241194f, 0.119538f, 0.231531f, 1,
     0.231531f, 0.231531f, 0.3073f, 0.231531f, 0.0563158f, 0.3073f, 1},
    // EQ Low Band Level
    {0.5f, 0.5f, 0.315f, 0.345f, 0.39f, 0.5f, 0.315f, 0.315f, 0.59f, 0.285f, 0.5f, 0.28f, 0.38f,
     0.5f, 0, 0.62f},
    // EQ Low Band Freq
    {0.023569f, 0.154808f, 0.0784602f, 0.0243534f, 0.0243534f, 0.154808f, 0.130259f, 0.130259f,
     0.0602456f, 0.130259f, 0.130259f, 0.023569f, 0.130259f, 0.130259f, 1, 0.12089f},
    // EQ Hi Band Level
    {0.5f, 0.34f, 0.34f, 0.32f, 0.37f, 0.5f, 0.34f, 0.34f, 0.42f, 0.34f, 0.5f, 0.3f, 0.41f, 0.5f,
     0.5f, 0.11f},
    // EQ Hi Band Freq
    {0.186992f, 0.204516f, 0.186992f, 0.509862f, 0.509862f, 0.204516f, 0.65802f, 0.186992f,
     0.324556f, 0.186992f, 0.186992f, 0.385859f, 0.278633f, 0.186992f, 0.385859f, 0.644222f},
};
