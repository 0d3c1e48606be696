#include "tools/render/usage.h"

const char* const kSynopsis[] = {
    "IN.wav OUT.wav [--program NAME|NUMBER] [--param \"NAME=VALUE\"]... "
    "[--tail SECONDS] [--bits 16|24|32]",
    "--demo OUT.wav [--program NAME|NUMBER] [--param \"NAME=VALUE\"]... "
    "[--tail SECONDS] [--bits 16|24|32]",
    "--list [--program NAME|NUMBER] [--param \"NAME=VALUE\"]...",
};
const int kSynopsisCount = sizeof kSynopsis / sizeof kSynopsis[0];

const OptionHelp kOptionHelp[] = {
    {"--program NAME|NUMBER", "start from a factory program, by number or name"},
    {"--param \"NAME=VALUE\"", "set a parameter as shown (\"-6 dB\") or 0..1; repeatable"},
    {"--tail SECONDS", "tail length (default: until 100 ms below -90 dBFS)"},
    {"--bits 16|24|32", "integer WAV (16 with dither) or 32-bit float (default)"},
    {"--demo OUT.wav", "render a built-in dry signal (plucks, claps)"},
    {"--list", "print the programs and the parameters' values"},
    {"--plugin PATH", "load another Soravel.so than the installed one"},
    {"--version", "print the version"},
    {"--help, -h", "print this help"},
};
const int kOptionHelpCount = sizeof kOptionHelp / sizeof kOptionHelp[0];
