#include "mailstore/sidefiles.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "mailstore/eventrecord.h"
#include "mailstore/handles.h"
#include "mailstore/mailboxfile.h"
#include "toolkit/path.h"

namespace {

// How many numbers after the proposed one are tried before giving up; each clash means somebody
// else created that very name after it had been found free.
const uint32_t MAXCLASHES = 4096;

void copybounded(char* out, int size, const char* text) {
  if (!out || size <= 0) return;
  int n = static_cast<int>(strlen(text));
  if (n > size - 1) n = size - 1;
  memcpy(out, text, static_cast<size_t>(n));
  out[n] = 0;
}

bool isclash(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

// A failed create-new names a taken name also when something else (a folder) has that name.
bool taken(const char* path, DWORD error) {
  return isclash(error) || GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// One attempt at one name. 1 created, 0 failed, -1 the name is taken.
int createone(const char* path, const char* source, const void* data, uint32_t length) {
  if (source) {
    if (CopyFileA(source, path, TRUE)) {
      // A read-only source gives a read-only copy, which the delete operations could not remove.
      DWORD attributes = GetFileAttributesA(path);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
      return 1;
    }
    return taken(path, GetLastError()) ? -1 : 0;
  }
  filehandle_c file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return taken(path, GetLastError()) ? -1 : 0;
  DWORD put = 0;
  if (length > 0 && (!WriteFile(file.get(), data, length, &put, nullptr) || put != length)) {
    file.close();
    DeleteFileA(path);
    return 0;
  }
  return 1;
}

}  // namespace

int placesidefile(const char* dir, uint32_t number, const char* ext, const char* source, const void* data,
                  uint32_t length, char* nameout, int namesize, char* pathout, int pathsize) {
  if (!dir || !ext || (!source && length > 0 && !data)) return 0;
  size_t dirlength = strlen(dir);
  bool backslash = dirlength > 0 && dir[dirlength - 1] != '\\';
  for (uint32_t tries = 0; tries < MAXCLASHES; ++tries, ++number) {
    char name[64];
    uniquefilenameformat(number, ext, nullptr, name, sizeof name);
    char path[MAX_PATH];
    if (dirlength + 1 + strlen(name) >= sizeof path) return 0;
    memcpy(path, dir, dirlength);
    size_t at = dirlength;
    if (backslash) path[at++] = '\\';
    strcpy(path + at, name);
    int made = createone(path, source, data, length);
    if (made == 0) return 0;
    if (made > 0) {
      copybounded(nameout, namesize, name);
      copybounded(pathout, pathsize, path);
      return 1;
    }
  }
  return 0;
}

// The names are those uniquefilename proposes: "%08lX.ext" counting up from the clock's number to
// the first free one. Creating with create-new semantics already tells which names are taken, so
// the names are not looked up first (that would double the file-system calls per side file).
int newsidefile(const char* dir, const char* ext, const char* source, const void* data, uint32_t length,
                char* nameout, int namesize) {
  if (!dir || !ext) return 0;
  SYSTEMTIME now;
  GetSystemTime(&now);
  return placesidefile(dir, uniquefilenamestart(now), ext, source, data, length, nameout, namesize, nullptr, 0);
}

int newbodyname(const char* directory, const char* prefix, char* nameout, char* pathout, int pathsize,
                int namesize) {
  if (!directory || !prefix) return 0;
  size_t dirlength = strlen(directory);
  bool backslash = dirlength > 0 && directory[dirlength - 1] != '\\';
  char name[MAX_PATH];
  char path[MAX_PATH * 2];
  for (int counter = 0;; ++counter) {
    int n = snprintf(name, sizeof name, "%s%05d.%s", prefix, counter, prefix);
    if (n < 0 || n >= static_cast<int>(sizeof name)) return 0;
    if (dirlength + (backslash ? 1 : 0) + static_cast<size_t>(n) >= sizeof path) return 0;
    memcpy(path, directory, dirlength);
    size_t at = dirlength;
    if (backslash) path[at++] = '\\';
    strcpy(path + at, name);
    if (!pathexists(path)) break;
    if (counter == INT_MAX) return 0;
  }
  copybounded(nameout, namesize, name);
  copybounded(pathout, pathsize, path);
  return 1;
}

// ---- side-file operations of mailboxfile_c ------------------------------------------------------

int mailboxfile_c::copyfilein(const char* source, char* nameout) {
  if (!source || !directory[0]) return 0;
  char ext[EV_EXTMAX + 1];
  sideextension(source, ext, sizeof ext);
  return newsidefile(directory, ext, source, nullptr, 0, nameout, EV_NAMEMAX + 1);
}

int mailboxfile_c::copybodyin(const char* source, char* nameout) {
  if (!source || !directory[0]) return 0;
  return newsidefile(directory, "BDY", source, nullptr, 0, nameout, EV_NAMEMAX + 1);
}

int mailboxfile_c::writebodytext(const char* text, char* nameout) {
  if (!text || !directory[0]) return 0;
  size_t length = strlen(text);
  if (length > UINT32_MAX) return 0;
  return newsidefile(directory, "BDY", nullptr, text, static_cast<uint32_t>(length), nameout, EV_NAMEMAX + 1);
}

int mailboxfile_c::writerecipientfile(const void* block, int length, char* nameout) {
  if (!block || length <= 0 || !directory[0]) return 0;
  return newsidefile(directory, "FRP", nullptr, block, static_cast<uint32_t>(length), nameout, EV_NAMEMAX + 1);
}

int mailboxfile_c::sidefilepath(const char* field, int fieldsize, char* out, int outsize) const {
  char name[EV_NAMEMAX + 1];
  if (!out || outsize <= 0 || !directory[0]) return 0;
  if (!isbarename(field, fieldsize, name, sizeof name)) return 0;
  size_t dirlength = strlen(directory);
  size_t namelength = strlen(name);
  if (dirlength + namelength >= static_cast<size_t>(outsize) || dirlength + namelength >= MAX_PATH) return 0;
  memcpy(out, directory, dirlength);
  memcpy(out + dirlength, name, namelength + 1);
  return 1;
}

int mailboxfile_c::deleteside(const char* field, int fieldsize) {
  char full[MAX_PATH];
  if (!sidefilepath(field, fieldsize, full, sizeof full)) return 0;
  return DeleteFileA(full) ? 1 : 0;
}

int mailboxfile_c::deleteattachments(int slot) {
  holdscope_c hold(*this);
  eventrecord record;
  if (!readevent(&record, slot)) return 0;
  int count = attachmentcount(record);
  for (int i = 0; i < count; ++i) {
    deleteside(record.attachments[i].name, sizeof record.attachments[i].name);
    memset(record.attachments[i].name, 0, sizeof record.attachments[i].name);
  }
  record.attachcount = 0;
  updateevent(&record, slot);
  return 1;
}

int mailboxfile_c::deletebody(int slot) {
  holdscope_c hold(*this);
  eventrecord record;
  if (!readevent(&record, slot)) return 0;
  if (record.flags & EV_BODY) {
    deleteside(record.bodyfile, sizeof record.bodyfile);
    memset(record.bodyfile, 0, sizeof record.bodyfile);
    record.flags &= ~static_cast<uint32_t>(EV_BODY);
    updateevent(&record, slot);
  }
  return 1;
}

int mailboxfile_c::deleterecipientfile(int slot) {
  holdscope_c hold(*this);
  eventrecord record;
  if (!readevent(&record, slot)) return 0;
  if (record.flags & EV_RECIPFILE) {
    deleteside(record.recipientfile, sizeof record.recipientfile);
    memset(record.recipientfile, 0, sizeof record.recipientfile);
    record.flags &= ~static_cast<uint32_t>(EV_RECIPFILE);
    updateevent(&record, slot);
  }
  return 1;
}
