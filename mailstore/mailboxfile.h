#pragma once
// One mailbox file on the shared mailbox store: a 652-byte header followed by 1268-byte event
// slots. The fax server, every Manager and every network connector open the same file at the same
// time; the only coordination is the file's sharing mode and the retry when an opening fails:
//
// - a read opens the file read-only and denies writers (other readers may read beside it);
// - a write, and every operation of a batch (setkeepopen), opens it read-write and exclusive;
// - an opening that fails is retried for 10 seconds with pauses of 50 to 99 ms.
//
// Outside a batch each operation opens and closes the file, so it always reads the file as it is
// on disk. Inside a batch nobody else can change the file, so reads are served from a read-ahead
// block of the held file (writes go to the file and into that block).
#include <windows.h>

#include <cstdint>
#include <memory>

#include "mailstore/eventrecord.h"
#include "mailstore/handles.h"
#include "mailstore/mailboxheader.h"

class mailboxfile_c {
public:
  enum : int {
    PATHMAX = 511,        // characters of a mailbox file's path
    RETRYMS = 10000,      // how long an opening is retried
    PAUSEMIN = 50,        // pause between two attempts: PAUSEMIN + nextrandom(PAUSESPREAD) ms
    PAUSESPREAD = 50,
    READAHEADMIN = 64 * 1024,     // first read-ahead of an opening; doubles while reads go on
    READAHEADMAX = 1024 * 1024,   // in sequence, up to this
  };

  char path[512];          // full path of the mailbox file
  char directory[512];     // its folder, ending in a backslash: the side files live here
  mailboxheader header;    // copy loaded by open and create
  int32_t cursor;          // slot last returned by the enumeration
  int keepopen;            // 1 while a batch keeps the file open

  // Counters for diagnostics, tests and the benchmark; never reset by the operations.
  uint32_t openings;       // successful openings of the file
  uint32_t failedattempts; // attempts to open that failed (each followed by a pause or the end)
  uint32_t diskreads;      // read calls that reached the file

  mailboxfile_c();
  ~mailboxfile_c();
  mailboxfile_c(const mailboxfile_c&) = delete;
  mailboxfile_c& operator=(const mailboxfile_c&) = delete;

  // Creates (or replaces) a mailbox file holding only a new header. A path longer than 511
  // characters is refused rather than cut, so no other file is ever created.
  int create(const char* path, const char* name);
  // Takes path as this object's file and loads its header: 1 when the file exists, could be
  // opened within the retry time, holds at least a whole header and the header is valid. An open
  // batch on another file is ended first. After a failure the header copy is the previous one.
  int open(const char* path);
  void close();
  // On: the next operation opens the file read-write and exclusive and it stays open until off.
  void setkeepopen(int on);

  // Slot operations; slot numbers start at 1. Results as stated per operation.
  int firstevent(eventrecord* record);            // first slot in use, 0 when none
  int nextevent(eventrecord* record);             // next slot in use after cursor, 0 at the end
  int readevent(eventrecord* record, int slot);   // 1 for a slot in use, 0 free/missing/locked
  int addevent(const eventrecord* record);        // slot where stored, 0 on failure
  int updateevent(const eventrecord* record, int slot);
  int freeevent(int slot);
  int isfree(int slot);                           // 1 free or past the end, 0 in use or locked

  // Side files, in the mailbox directory (sidefiles.cpp). Name outputs take 16 bytes. A new side
  // file never replaces an existing one: it is created with create-new semantics and a clash
  // takes the next number.
  int copyfilein(const char* source, char* nameout);
  int copybodyin(const char* source, char* nameout);
  int writebodytext(const char* text, char* nameout);
  int writerecipientfile(const void* block, int length, char* nameout);
  // Each reads the record and rewrites it under one exclusive opening (so the slot cannot change
  // hands between the two). Names that are not bare names are never deleted; the record is
  // cleaned up all the same.
  int deleteattachments(int slot);
  int deletebody(int slot);
  int deleterecipientfile(int slot);
  // Full path of the side file a record field names: 1 only for a bare name (isbarename) whose
  // path fits outsize; every caller that opens, copies or deletes a file named by a record uses it.
  int sidefilepath(const char* field, int fieldsize, char* out, int outsize) const;

  int isopen() const { return handle.valid() ? 1 : 0; }

private:
  enum { MODE_READ = 0, MODE_WRITE = 1 };

  // Keeps the file held across the steps of one compound operation (a delete's read and rewrite).
  class holdscope_c {
  public:
    explicit holdscope_c(mailboxfile_c& f) : file(f), was(f.keepopen) { file.keepopen = 1; }
    ~holdscope_c() {
      if (!was) file.setkeepopen(0);
    }
    holdscope_c(const holdscope_c&) = delete;
    holdscope_c& operator=(const holdscope_c&) = delete;

  private:
    mailboxfile_c& file;
    int was;
  };

  filehandle_c handle;
  int64_t position;    // where the next read or write of the running operation goes
  // What is known about the file while this object holds it; forgotten whenever the handle is
  // closed, so nothing outlives the opening that learned it.
  int64_t osposition;  // the handle's file pointer (saves a seek per sequential read)
  int64_t knownsize;   // the file's size, -1 until asked
  int hintknown;       // header.freehint is the file's
  std::unique_ptr<unsigned char[]> cache;   // read-ahead block: equals the file at cacheoffset
  int cachecapacity;
  int64_t cacheoffset;
  int cachelength;     // 0: nothing cached
  int aheadsize;       // size of the next read-ahead

  int openfile(int mode);
  void releasefile();
  void closehandle();
  void forgetheld();
  int64_t filesize();
  int seekslot(int slot);
  int writeheader();
  int writefreehint();
  uint32_t diskfreehint();
  int findfreeslot();
  int readbytes(void* buffer, int length, int ahead);
  int writebytes(const void* buffer, int length);
  int readdisk(int64_t offset, void* buffer, int length);
  int fillcache(int length);
  int deleteside(const char* field, int fieldsize);
};
