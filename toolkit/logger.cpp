#include "toolkit/logger.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "toolkit/path.h"
#include "toolkit/text.h"

namespace {
const char pathprefix[] = "path://";
const int pathprefixlength = sizeof pathprefix - 1;
}  // namespace

logger_c::logger_c() : path(), line(), enabled(0) {}

void logger_c::init(const char* name, int truncate, HMODULE module) {
  if (enabled || !name) return;
  if (strncmp(name, pathprefix, pathprefixlength) == 0) {
    snprintf(path, sizeof path, "%s", name + pathprefixlength);
  } else {
    // A log name that makes the path longer than a path may be leaves the log off; a cut path
    // would name some other file.
    if (strlen(name) > MAX_PATH) return;
    char leaf[MAX_PATH + 8];
    snprintf(leaf, sizeof leaf, "lt%s.txt", name);
    // The module's path fills at most MAX_PATH + 1 bytes; the rest is room for the new name.
    char full[2 * MAX_PATH + 16];
    if (!modulerelpath(leaf, nullptr, full, MAX_PATH + 1, module)) return;
    if (strlen(full) > MAX_PATH) return;
    strcpy(path, full);
  }
  if (truncate) DeleteFileA(path);
  enabled = 1;
}

void logger_c::log(const char* format, ...) {
  if (!enabled || !format) return;

  line[0] = 0;   // datetimetext leaves the buffer alone when it fails
  line[sizeof line - 1] = 0;
  datetimetext(line, sizeof line - 1, nullptr, 0);
  size_t used = strlen(line);
  snprintf(line + used, sizeof line - used, " - ");
  used = strlen(line);
  va_list args;
  va_start(args, format);
  vsnprintf(line + used, sizeof line - used, format, args);
  va_end(args);
  line[sizeof line - 1] = 0;   // also where a formatter does not terminate a cut text

  if (file.handle != INVALID_HANDLE_VALUE) {
    file.writeline(line);
    return;
  }
  // Open the log when it exists and create it only when it does not (open fails with the system's
  // error, nothing runs after CreateFileA): a log another program holds at this instant must not
  // be emptied; that entry is just lost.
  int ready = file.open(path, 1, 2);
  if (!ready && file.handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND)
    ready = file.create(path, 2);
  if (ready) file.writeline(line);
  file.close();
}
