#pragma once

#include <string>

#include "tools/render/plugin_host.h"

// Parameter and program look-ups by the names the plug-in itself reports.
int FindParam(PluginHost& host, const std::string& name);            // -1 when unknown
int FindProgram(PluginHost& host, const std::string& nameOrNumber);  // -1 when unknown

// Sets parameter `index` from a text such as "3.2 sec", "-6 dB", "2 kHz",
// "On", "-oo" or a normalised "0.42". The normalised value is found by
// searching the plug-in's own display texts, which rise with the value.
// False, with a message, when the text cannot be read or lies outside the range.
bool SetParamFromText(PluginHost& host, int index, const std::string& text, std::string& error);
