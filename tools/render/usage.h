#pragma once

// soravel-render's command line in words, written once: `--help` prints it
// and the manual page's SYNOPSIS and OPTIONS are generated from it.

// One form of the command line, after the command's name.
extern const char* const kSynopsis[];
extern const int kSynopsisCount;

// One option: how it is written and what it does, in one line.
struct OptionHelp {
  const char* form;
  const char* help;
};
extern const OptionHelp kOptionHelp[];
extern const int kOptionHelpCount;
