#include "manager/managerappsettings.h"

#include <cstring>

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Letters are compared in ASCII only: a locale's own case rules (the Turkish dotless i) must
// not decide what the program does.
bool samenocase(const char* text, const char* ascii, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (lower(text[i]) != ascii[i]) return false;
    if (!ascii[i]) return true;
  }
  return true;
}

}  // namespace

uint16_t languagefromsetting(const char* value) {
  if (!value) return LANGUAGE_ENGLISH;
  char first[4] = {};
  for (int i = 0; i < 3 && value[i]; ++i) first[i] = value[i];
  static const struct {
    const char* prefix;
    uint16_t language;
  } table[] = {
      {"ger", LANGUAGE_GERMAN},
      {"fre", LANGUAGE_FRENCH},
      {"ita", LANGUAGE_ITALIAN},
      {"spa", LANGUAGE_SPANISH},
  };
  for (const auto& entry : table)
    if (samenocase(first, entry.prefix, 4)) return entry.language;
  return LANGUAGE_ENGLISH;
}

bool istaskbarstart(const char* commandline) {
  static const char word[] = "-taskbar";
  return commandline && strlen(commandline) == sizeof word - 1 && samenocase(commandline, word, sizeof word);
}

int startshowcommand(const char* commandline, int windows4, int showcommand) {
  if (istaskbarstart(commandline) && windows4 == 1) return 0;   // SW_HIDE
  return showcommand;
}
