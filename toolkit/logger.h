#pragma once
// An append-only text log: one line per entry, the local date and time, " - " and the message.
// The file is opened for each entry and closed again, so other programs can read the log while
// its owner runs; an entry that cannot be written is dropped without notice.
#include <windows.h>

#include "toolkit/textfile.h"

class logger_c {
public:
  char path[MAX_PATH + 1];   // full path of the log file
  char line[2048];           // where one entry is composed, at most 2047 characters
  int enabled;               // 1 once init found a path; nothing is written while 0
  textfile_c file;           // written through; open only while an entry is being written

  logger_c();

  // name "path://" + a path logs to that path (cut to 260 characters); any other name logs to
  // "lt" + name + ".txt" next to module (null: the program). truncate deletes an old log. Only
  // the first successful call has an effect.
  void init(const char* name, int truncate, HMODULE module);
  void log(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
};
