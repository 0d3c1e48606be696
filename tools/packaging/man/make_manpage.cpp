// Writes soravel-render's manual page: the template with its SYNOPSIS and
// OPTIONS made from the option table --help prints, so the two cannot differ.
// Usage: soravel_render_manpage TEMPLATE OUT VERSION DATE
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/render/usage.h"

namespace {

// Plain text as roff: hyphens as minus signs, backslashes escaped.
std::string Roff(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '-') out += "\\-";
    else if (c == '\\') out += "\\e";
    else out += c;
  }
  return out;
}

// A command-line form: options bold, arguments italic, brackets and bars roman.
std::string Form(const std::string& form) {
  std::string out;
  for (size_t i = 0; i < form.size();) {
    const char c = form[i];
    if (std::string(" []|,").find(c) != std::string::npos) {
      out += c;
      ++i;
      continue;
    }
    if (form.compare(i, 3, "...") == 0) {
      out += "\\&...";
      i += 3;
      continue;
    }
    size_t end = i;
    while (end < form.size() && std::string(" []|,").find(form[end]) == std::string::npos &&
           form.compare(end, 3, "...") != 0)
      ++end;
    const std::string word = form.substr(i, end - i);
    const bool literal = word[0] == '-' || std::isdigit(static_cast<unsigned char>(word[0]));
    out += (literal ? "\\fB" : "\\fI") + Roff(word) + "\\fR";
    i = end;
  }
  return out;
}

std::string Synopsis() {
  std::string out;
  for (int i = 0; i < kSynopsisCount; ++i)
    out += std::string(i ? ".br\n" : "") + "\\fBsoravel\\-render\\fR " + Form(kSynopsis[i]) + "\n";
  return out;
}

std::string Options() {
  std::string out;
  for (int i = 0; i < kOptionHelpCount; ++i) {
    std::string help = Roff(kOptionHelp[i].help);
    help[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(help[0])));
    out += ".TP\n" + Form(kOptionHelp[i].form) + "\n" + help + ".\n";
  }
  return out;
}

void Replace(std::string& text, const std::string& key, const std::string& value) {
  for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: soravel_render_manpage TEMPLATE OUT VERSION DATE\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::string page = text.str();
  Replace(page, "@SYNOPSIS@\n", Synopsis());
  Replace(page, "@OPTIONS@\n", Options());
  Replace(page, "@VERSION@", argv[3]);
  Replace(page, "@DATE@", argv[4]);
  std::ofstream out(argv[2], std::ios::binary);
  out << page;
  out.close();
  if (!out) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
