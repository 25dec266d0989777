#include "mailstore/mailboxfile.h"

#include <cstring>
#include <new>

#include "toolkit/path.h"
#include "toolkit/timing.h"

namespace {

void copypath(char* out, const char* path) {
  size_t n = strlen(path);
  memcpy(out, path, n);
  out[n] = 0;
}

// The folder of a mailbox file, ending in a backslash. A bare file name lies in the current folder.
void directoryof(char* out, const char* path) {
  if (!strchr(path, '\\')) {
    strcpy(out, ".\\");
    return;
  }
  copypath(out, path);
  stripfilename(out);
}

}  // namespace

mailboxfile_c::mailboxfile_c()
    : cursor(0),
      keepopen(0),
      openings(0),
      failedattempts(0),
      diskreads(0),
      position(0),
      osposition(0),
      knownsize(-1),
      hintknown(0),
      cachecapacity(0),
      cacheoffset(0),
      cachelength(0),
      aheadsize(READAHEADMIN) {
  path[0] = 0;
  directory[0] = 0;
  memset(&header, 0, sizeof header);
}

mailboxfile_c::~mailboxfile_c() { close(); }

// ---- opening and releasing --------------------------------------------------------------------

int mailboxfile_c::openfile(int mode) {
  if (handle.valid()) return 1;  // a batch's handle, or the running operation's
  // A missing file fails at once; it is never created here. The opening itself tells (one call to
  // the share instead of a directory search first and then the opening).
  if (!path[0]) return 0;
  DWORD access = GENERIC_READ;
  DWORD share = FILE_SHARE_READ;  // readers deny writers
  if (keepopen || mode == MODE_WRITE) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = 0;  // writers and batches exclude everybody
  }
  DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(RETRYMS)) {
    HANDLE h = CreateFileA(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle.reset(h);
      ++openings;
      forgetheld();
      return 1;
    }
    ++failedattempts;
    DWORD error = GetLastError();
    // No such file (or no such name at all): no amount of waiting opens it.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) break;
    precisedelay(PAUSEMIN + nextrandom(PAUSESPREAD));
  }
  closehandle();
  return 0;
}

void mailboxfile_c::closehandle() {
  handle.close();
  forgetheld();
}

void mailboxfile_c::forgetheld() {
  osposition = 0;
  knownsize = -1;
  hintknown = 0;
  cachelength = 0;
  aheadsize = READAHEADMIN;
}

int64_t mailboxfile_c::filesize() {
  if (knownsize < 0) {
    LARGE_INTEGER size;
    if (!handle.valid() || !GetFileSizeEx(handle.get(), &size)) return -1;
    knownsize = size.QuadPart;
  }
  return knownsize;
}

void mailboxfile_c::releasefile() {
  if (keepopen) return;
  closehandle();
}

void mailboxfile_c::setkeepopen(int on) {
  keepopen = on ? 1 : 0;
  if (!keepopen) closehandle();
}

void mailboxfile_c::close() {
  keepopen = 0;
  closehandle();
}

// ---- positioned reads and writes ----------------------------------------------------------------

// Positioned reads and writes go through the handle's file pointer: moved only when it is not
// where the transfer starts already. (A read with an offset in an OVERLAPPED costs several times
// a plain read under Wine.)
int mailboxfile_c::readdisk(int64_t offset, void* buffer, int length) {
  if (!handle.valid() || offset < 0 || length <= 0) return 0;
  if (osposition != offset) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    if (!SetFilePointerEx(handle.get(), at, nullptr, FILE_BEGIN)) {
      osposition = -1;
      return 0;
    }
    osposition = offset;
  }
  DWORD got = 0;
  ++diskreads;
  if (!ReadFile(handle.get(), buffer, static_cast<DWORD>(length), &got, nullptr)) {
    osposition = -1;
    return 0;
  }
  osposition += got;
  return static_cast<int>(got);
}

// Reads the block at position into the cache. A block that follows on from the previous one
// keeps that block's tail (the start of a record cut by its end) and doubles in size, up to
// READAHEADMAX: a long enumeration reads in large blocks, a batch that looks at a few slots
// reads little.
int mailboxfile_c::fillcache(int length) {
  int64_t end = cacheoffset + cachelength;
  bool follows = cachelength > 0 && position >= cacheoffset && position <= end;
  if (follows && cachelength == aheadsize && aheadsize < READAHEADMAX) aheadsize *= 2;
  if (aheadsize < length) aheadsize = length;
  int keep = follows ? static_cast<int>(end - position) : 0;
  const unsigned char* tail = keep ? cache.get() + (position - cacheoffset) : nullptr;
  if (cachecapacity < aheadsize) {
    std::unique_ptr<unsigned char[]> bigger(new (std::nothrow) unsigned char[aheadsize]);
    if (bigger) {
      if (keep) memcpy(bigger.get(), tail, static_cast<size_t>(keep));
      cache = std::move(bigger);
      cachecapacity = aheadsize;
      tail = nullptr;
    } else {
      aheadsize = cachecapacity;
    }
  }
  if (tail && tail != cache.get()) memmove(cache.get(), tail, static_cast<size_t>(keep));
  if (!cache || cachecapacity < length || aheadsize <= keep) {
    cachelength = 0;
    return 0;
  }
  cacheoffset = position;
  cachelength = keep + readdisk(position + keep, cache.get() + keep, aheadsize - keep);
  return 1;
}

int mailboxfile_c::readbytes(void* buffer, int length, int ahead) {
  if (position < 0 || length <= 0) return 0;
  bool cached = cachelength > 0 && position >= cacheoffset && position + length <= cacheoffset + cachelength;
  if (!cached && ahead && fillcache(length)) {
    int got = cachelength < length ? cachelength : length;
    if (got > 0) memcpy(buffer, cache.get(), static_cast<size_t>(got));
    position += got;
    return got;
  }
  if (cached) {
    memcpy(buffer, cache.get() + (position - cacheoffset), static_cast<size_t>(length));
    position += length;
    return length;
  }
  int got = readdisk(position, buffer, length);
  position += got;
  return got;
}

int mailboxfile_c::writebytes(const void* buffer, int length) {
  if (!handle.valid() || position < 0 || length <= 0) return 0;
  if (osposition != position) {
    LARGE_INTEGER at;
    at.QuadPart = position;
    if (!SetFilePointerEx(handle.get(), at, nullptr, FILE_BEGIN)) {
      osposition = -1;
      return 0;
    }
    osposition = position;
  }
  DWORD put = 0;
  if (!WriteFile(handle.get(), buffer, static_cast<DWORD>(length), &put, nullptr)) {
    osposition = -1;
    put = 0;
  } else {
    osposition += put;
  }
  int64_t end = position + put;
  if (knownsize >= 0 && end > knownsize) knownsize = end;
  // Keep the read-ahead block equal to the file: copy what overlaps it, and let it grow over a
  // write that continues it (a batch adding events at the end).
  if (cachelength > 0 && put > 0 && position <= cacheoffset + cachelength && end > cacheoffset) {
    int64_t from = position > cacheoffset ? position : cacheoffset;
    int64_t to = end < cacheoffset + cachecapacity ? end : cacheoffset + cachecapacity;
    if (from < to) {
      memcpy(cache.get() + (from - cacheoffset), static_cast<const unsigned char*>(buffer) + (from - position),
             static_cast<size_t>(to - from));
      if (to - cacheoffset > cachelength) cachelength = static_cast<int>(to - cacheoffset);
    }
  }
  position = end;
  return static_cast<int>(put);
}

int mailboxfile_c::seekslot(int slot) {
  position = slotoffset(slot);
  return position >= 0;
}

// ---- the header -----------------------------------------------------------------------------------

int mailboxfile_c::writeheader() {
  position = 0;
  return writebytes(&header, sizeof header) == static_cast<int>(sizeof header);
}

// Only the 4 bytes of freehint: the rest of the header belongs to the fax server's
// administration, which may have changed it since this object's open.
int mailboxfile_c::writefreehint() {
  position = offsetof(mailboxheader, freehint);
  int ok = writebytes(&header.freehint, sizeof header.freehint) == static_cast<int>(sizeof header.freehint);
  hintknown = ok;
  return ok;
}

// freehint as it is in the file now (the file is held, so it stays so until the handle closes);
// the copy's when it cannot be read.
uint32_t mailboxfile_c::diskfreehint() {
  if (hintknown) return header.freehint;
  uint32_t hint = 0;
  position = offsetof(mailboxheader, freehint);
  if (readbytes(&hint, sizeof hint, 0) != static_cast<int>(sizeof hint)) return header.freehint;
  hintknown = 1;
  return hint;
}

int mailboxfile_c::create(const char* newpath, const char* name) {
  close();
  if (!newpath || strlen(newpath) > PATHMAX) return 0;
  copypath(path, newpath);
  directoryof(directory, newpath);
  HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  handle.reset(h);
  ++openings;
  forgetheld();
  initheader(&header, name);
  cursor = 0;
  int ok = writeheader();
  releasefile();
  return ok;
}

int mailboxfile_c::open(const char* newpath) {
  if (!newpath || strlen(newpath) > PATHMAX) return 0;
  // A batch held on another file must not answer for this one.
  if (handle.valid() && lstrcmpiA(newpath, path) != 0) close();
  copypath(path, newpath);
  directoryof(directory, newpath);
  if (!openfile(MODE_READ)) return 0;
  unsigned char bytes[MAILBOX_HEADERSIZE];
  position = 0;
  int got = readbytes(bytes, sizeof bytes, keepopen);
  // A file shorter than the header is refused: its missing bytes are not a header.
  int ok = got == static_cast<int>(sizeof bytes) && decodeheader(bytes, sizeof bytes, &header);
  releasefile();
  return ok;
}

// ---- slots -------------------------------------------------------------------------------------

int mailboxfile_c::findfreeslot() {
  int64_t size = filesize();
  if (size < 0) return 0;
  int64_t slots = slotsinfile(size);
  header.freehint = diskfreehint();
  int64_t n = startslot(header);
  // A hint past the end would leave a gap of zero bytes, and zeros read as slots in use.
  if (n > slots + 1) n = slots + 1;
  for (; n <= slots; ++n) {
    unsigned char state = 0;
    seekslot(static_cast<int>(n));
    if (readbytes(&state, 1, 1) != 1 || state == SLOT_FREE) break;
  }
  // n is a free slot, or the first slot not wholly in the file: a trailing remainder is
  // overwritten by the new record instead of becoming a slot in front of it.
  if (n > INT32_MAX) return 0;
  header.freehint = static_cast<uint32_t>(n);
  writefreehint();
  return static_cast<int>(n);
}

int mailboxfile_c::addevent(const eventrecord* record) {
  if (!record || record->slotstate != SLOT_INUSE) return 0;
  if (!openfile(MODE_WRITE)) return 0;
  int slot = findfreeslot();
  int ok = slot > 0 && seekslot(slot) && writebytes(record, sizeof *record) == static_cast<int>(sizeof *record);
  releasefile();
  return ok ? slot : 0;
}

int mailboxfile_c::updateevent(const eventrecord* record, int slot) {
  if (!record || record->slotstate != SLOT_INUSE || slot < 1) return 0;
  if (!openfile(MODE_WRITE)) return 0;
  eventrecord old;
  seekslot(slot);
  int ok = readbytes(&old, sizeof old, keepopen) == static_cast<int>(sizeof old);
  if (ok) {
    seekslot(slot);
    ok = writebytes(record, sizeof *record) == static_cast<int>(sizeof *record);
  }
  releasefile();
  return ok;
}

int mailboxfile_c::freeevent(int slot) {
  if (slot < 1) return 0;
  if (!openfile(MODE_WRITE)) return 0;
  eventrecord old;
  seekslot(slot);
  int ok = readbytes(&old, sizeof old, keepopen) == static_cast<int>(sizeof old);
  if (ok) {
    old.slotstate = SLOT_FREE;
    seekslot(slot);
    ok = writebytes(&old, sizeof old) == static_cast<int>(sizeof old);
  }
  if (ok) {
    header.freehint = diskfreehint();
    if (static_cast<uint32_t>(slot) < header.freehint) {
      header.freehint = static_cast<uint32_t>(slot);
      writefreehint();
    }
  }
  releasefile();
  return ok;
}

int mailboxfile_c::isfree(int slot) {
  if (slot < 1) return 0;  // slot 0 does not exist: neither free nor usable
  if (!openfile(MODE_READ)) return 0;
  eventrecord record;
  seekslot(slot);
  // A slot not wholly in the file lies past the end.
  int got = readbytes(&record, sizeof record, keepopen);
  releasefile();
  return got < static_cast<int>(sizeof record) || record.slotstate != SLOT_INUSE;
}

int mailboxfile_c::readevent(eventrecord* record, int slot) {
  if (!record || slot < 1) return 0;
  if (!openfile(MODE_READ)) return 0;
  seekslot(slot);
  int got = readbytes(record, sizeof *record, keepopen);
  releasefile();
  return got == static_cast<int>(sizeof *record) && record->slotstate == SLOT_INUSE;
}

int mailboxfile_c::firstevent(eventrecord* record) {
  cursor = 0;
  return nextevent(record);
}

int mailboxfile_c::nextevent(eventrecord* record) {
  if (!record || cursor < 0 || cursor == INT32_MAX) return 0;
  ++cursor;
  if (!openfile(MODE_READ)) return 0;
  seekslot(cursor);
  int ahead = keepopen;
  for (;;) {
    if (readbytes(record, sizeof *record, ahead) < static_cast<int>(sizeof *record)) {
      releasefile();
      return 0;
    }
    if (record->slotstate == SLOT_INUSE) break;
    if (cursor == INT32_MAX) {
      releasefile();
      return 0;
    }
    ++cursor;
    ahead = 1;  // a run of free slots: read on in blocks while this operation holds the file
  }
  releasefile();
  return cursor;
}
