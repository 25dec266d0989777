#include "outside/faxsim/faxserver.h"

#include <cstdio>
#include <cstring>

#include "mailstore/mailboxdir.h"
#include "mailstore/sidefiles.h"
#include "outside/faxsim/faxpage.h"
#include "toolkit/path.h"

namespace {

// Senders of the faxes deliver() makes up.
struct remotesender {
  const char* name;
  const char* number;
  const char* subject;
};

const remotesender senders[] = {
    {"Harbour Logistics", "+49 40 3378120", "Delivery note"},
    {"Dr. Anna Weber", "+49 30 8812044", "Signed contract"},
    {"Stadtwerke Nord", "+49 40 2210", "Invoice"},
    {"Miller & Sons", "+1 212 555 0188", "Quotation"},
    {"Hotel Alameda", "+34 91 555 0123", "Booking confirmation"},
    {"", "+33 1 44 55 66 77", ""},
};
const int SENDERCOUNT = sizeof senders / sizeof senders[0];

void stampnow(eventrecord& r) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  r.day = static_cast<uint8_t>(now.wDay);
  r.month = static_cast<uint8_t>(now.wMonth);
  r.year = now.wYear;
  r.hour = static_cast<uint8_t>(now.wHour);
  r.minute = static_cast<uint8_t>(now.wMinute);
}

// A text field of a record read from the store, copied into a field of a new record: cut to
// maxchars and always terminated, whatever the source held.
template <size_t N>
void copytext(char (&to)[N], const char (&from)[N], int maxchars) {
  char text[N];
  fieldtext(from, text, sizeof text);
  setfield(to, text, maxchars);
}

// The path of a side file a record names, when it is a bare name of an existing plain file.
bool existingside(const mailboxfile_c& box, const char* field, int fieldsize, char* path, int pathsize) {
  if (!box.sidefilepath(field, fieldsize, path, pathsize)) return false;
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t minutekey(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute) {
  return (((static_cast<uint64_t>(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute;
}

}  // namespace

faxserver_c::faxserver_c(const char* rootdir, const faxsimrules& r, simlog_c& l)
    : root(rootdir ? rootdir : ""), rules(r), log(l), seed(GetTickCount() ^ (GetCurrentProcessId() << 16)) {}

std::vector<faxserver_c::mailbox> faxserver_c::listmailboxes() {
  std::vector<mailbox> out;
  mailboxdir_c scanner;
  for (mailboxfile_c* f = scanner.firstmailbox(root.c_str()); f; f = scanner.nextmailbox(root.c_str())) {
    mailbox m;
    m.path = f->path;
    // The sub-directory's name: the part between the last two backslashes of ...\DIR\mailbox.rlb.
    std::string dir = f->path;
    size_t end = dir.find_last_of('\\');
    size_t start = end == std::string::npos || end == 0 ? std::string::npos : dir.find_last_of('\\', end - 1);
    m.dirname = start == std::string::npos ? dir : dir.substr(start + 1, end - start - 1);
    fieldtext(f->header.mailboxname, m.name, sizeof m.name);
    out.push_back(m);
  }
  scanner.endscan();
  return out;
}

int faxserver_c::pass() {
  if (!direxists(root.c_str())) return -1;
  std::vector<mailbox> all = listmailboxes();
  int actions = 0;
  for (const mailbox& box : all) {
    std::vector<routejob> routes;
    actions += stepmailbox(box, routes);
    // Route requests are carried out after the mailbox's batch has ended: delivering opens the
    // target's mailbox file, and no process may wait for one mailbox while holding another.
    for (const routejob& job : routes) actions += route(box, job, all);
  }
  return actions;
}

int faxserver_c::stepmailbox(const mailbox& box, std::vector<routejob>& routes) {
  mailboxfile_c file;
  if (!file.open(box.path.c_str())) return 0;
  int actions = 0;
  file.setkeepopen(1);
  eventrecord record;
  for (int slot = file.firstevent(&record); slot; slot = file.nextevent(&record)) {
    // Only outgoing events in the server's hands: every other state belongs to the user.
    if (record.flags & EV_INCOMING) continue;
    if (record.state != EVS_PENDING && record.state != EVS_QUEUED && record.state != EVS_WORKING) continue;
    if (record.flags & EV_ROUTE) {
      routes.push_back(routejob{slot, record});
      continue;
    }
    const char* word = nullptr;
    char reason[160] = "";
    switch (record.state) {
      case EVS_PENDING:
        record.state = EVS_QUEUED;
        word = "queued";
        break;
      case EVS_QUEUED:
        if (!due(record)) continue;   // a requested send time still ahead: it waits in the queue
        record.state = EVS_WORKING;
        word = "working";
        break;
      default: {
        char number[EV_TEXTMAX + 2];
        faxnumber(file, record, number, sizeof number);
        if (!rules.failsuffix.empty() && endsindigits(number, rules.failsuffix.c_str())) {
          record.state = EVS_FAILED;
          word = "failed";
          char shown[EV_TEXTMAX + 2];
          printable(number, sizeof number, shown, sizeof shown);
          snprintf(reason, sizeof reason, ": no answer from %s", shown);
        } else {
          record.state = EVS_SENT;
          word = "sent";
        }
        break;
      }
    }
    if (file.updateevent(&record, slot)) {
      log.line("%s %s slot %d%s", word, box.dirname.c_str(), slot, reason);
      ++actions;
    } else {
      fprintf(stderr, "faxsim: cannot update %s slot %d\n", box.dirname.c_str(), slot);
    }
  }
  file.setkeepopen(0);
  return actions;
}

int faxserver_c::route(const mailbox& from, const routejob& job, const std::vector<mailbox>& all) {
  char target[EV_TEXTMAX + 2];
  fieldtext(job.request.recipientaddress, target, sizeof target);
  char shown[EV_TEXTMAX + 2];
  printable(target, sizeof target, shown, sizeof shown);
  const mailbox* to = nullptr;
  for (const mailbox& m : all) {
    if (target[0] && lstrcmpiA(m.name, target) == 0) {
      to = &m;
      break;
    }
  }
  if (!to) {
    if (!finishrequest(from, job, EVS_FAILED)) return 0;
    log.line("failed %s slot %d: no mailbox named \"%s\"", from.dirname.c_str(), job.slot, shown);
    return 1;
  }

  mailboxfile_c source, destination;
  if (!source.open(from.path.c_str()) || !destination.open(to->path.c_str())) return 0;  // next pass
  int slot = deliverroute(from, source, job.request, destination);
  if (slot == 0) return 0;
  if (slot < 0) {
    if (!finishrequest(from, job, EVS_FAILED)) return 0;
    log.line("failed %s slot %d: a side file is missing or not a bare name", from.dirname.c_str(), job.slot);
    return 1;
  }
  log.line("routed %s slot %d to %s slot %d", from.dirname.c_str(), job.slot, to->dirname.c_str(), slot);
  // Killed right here, the request is still Pending and the next run delivers it once more: a
  // route is never lost, at worst delivered twice.
  if (finishrequest(from, job, EVS_SENT)) log.line("sent %s slot %d", from.dirname.c_str(), job.slot);
  return 1;
}

int faxserver_c::deliverroute(const mailbox& from, mailboxfile_c& source, const eventrecord& request,
                              mailboxfile_c& target) {
  eventrecord copy;
  memset(&copy, 0, sizeof copy);
  copy.slotstate = SLOT_INUSE;
  copy.flags = EV_INCOMING | (request.flags & EV_HIGHRES);
  copy.state = EVS_UNREAD;
  copy.aux = request.aux;
  stampnow(copy);
  copytext(copy.subject, request.subject, EV_SUBJECTMAX);
  setfield(copy.sendername, from.name, EV_TEXTMAX);
  setfield(copy.senderaddress, from.name, EV_TEXTMAX);
  copytext(copy.recipientname, request.recipientname, EV_TEXTMAX);
  copytext(copy.recipientaddress, request.recipientaddress, EV_TEXTMAX);

  // Every side file the copy names is a fresh copy in the target's directory; on any failure the
  // copies made so far go again.
  std::vector<std::string> made;
  auto undo = [&]() {
    for (const std::string& name : made) {
      char path[MAX_PATH];
      if (target.sidefilepath(name.c_str(), static_cast<int>(name.size()) + 1, path, sizeof path)) DeleteFileA(path);
    }
  };
  // 1 copied, 0 could not copy now, -1 no such side file.
  auto copyside = [&](const char* field, int fieldsize, bool body, char* nameout) -> int {
    char path[MAX_PATH];
    if (!existingside(source, field, fieldsize, path, sizeof path)) return -1;
    if (!(body ? target.copybodyin(path, nameout) : target.copyfilein(path, nameout))) return 0;
    made.push_back(nameout);
    return 1;
  };

  int result = 1;
  if (request.flags & EV_BODY) {
    result = copyside(request.bodyfile, sizeof request.bodyfile, true, copy.bodyfile);
    if (result > 0) copy.flags |= EV_BODY;
  }
  if (result > 0 && (request.flags & EV_RECIPFILE)) {
    result = copyside(request.recipientfile, sizeof request.recipientfile, false, copy.recipientfile);
    if (result > 0) copy.flags |= EV_RECIPFILE;
  }
  int count = attachmentcount(request);
  for (int i = 0; result > 0 && i < count; ++i) {
    const attachmententry& entry = request.attachments[i];
    if (fieldlength(entry.name, sizeof entry.name) == 0) continue;   // an empty entry names no file
    result = copyside(entry.name, sizeof entry.name, false, copy.attachments[i].name);
  }
  copy.attachcount = static_cast<int8_t>(count);
  if (result <= 0) {
    undo();
    return result;
  }
  int slot = target.addevent(&copy);
  if (!slot) undo();
  return slot;
}

int faxserver_c::finishrequest(const mailbox& from, const routejob& job, uint8_t state) {
  mailboxfile_c file;
  if (!file.open(from.path.c_str())) return 0;
  file.setkeepopen(1);
  eventrecord current;
  int done = 0;
  if (file.readevent(&current, job.slot) && memcmp(&current, &job.request, sizeof current) == 0) {
    current.state = state;
    done = file.updateevent(&current, job.slot);
  } else {
    log.line("left %s slot %d: changed meanwhile", from.dirname.c_str(), job.slot);
  }
  file.setkeepopen(0);
  return done;
}

bool faxserver_c::due(const eventrecord& record) const {
  if (!(record.flags & EV_SCHEDULED)) return true;
  // A send time that is no time at all (an unreadable text gives all bits set) is not waited for.
  if (record.month < 1 || record.month > 12 || record.day < 1 || record.day > 31 || record.hour > 23 ||
      record.minute > 59 || record.year == 0xFFFF)
    return true;
  SYSTEMTIME now;
  GetLocalTime(&now);
  return minutekey(record.year, record.month, record.day, record.hour, record.minute) <=
         minutekey(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
}

void faxserver_c::faxnumber(const mailboxfile_c& box, const eventrecord& record, char* out, int outsize) {
  if (!out || outsize <= 0) return;
  fieldtext(record.recipientaddress, out, outsize);
  if (!(record.flags & EV_RECIPFILE)) return;
  char path[MAX_PATH];
  if (!existingside(box, record.recipientfile, sizeof record.recipientfile, path, sizeof path)) return;
  filehandle_c file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return;
  recipientdetails details;
  DWORD got = 0;
  if (!ReadFile(file.get(), &details, sizeof details, &got, nullptr) || got != sizeof details) return;
  fieldtext(details.faxno, out, outsize);
}

int faxserver_c::endsindigits(const char* number, const char* suffix) {
  if (!number || !suffix || !*suffix) return 0;
  char digits[128];
  int n = 0;
  for (const char* p = number; *p && n < static_cast<int>(sizeof digits) - 1; ++p)
    if (*p >= '0' && *p <= '9') digits[n++] = *p;
  digits[n] = 0;
  int s = static_cast<int>(strlen(suffix));
  return s <= n && strcmp(digits + n - s, suffix) == 0 ? 1 : 0;
}

int faxserver_c::deliver(const char* login, int count) {
  if (!login || !*login) return -1;
  mailboxdir_c scanner;
  const char* found = scanner.finduser(root.c_str(), login);
  if (!found) return -1;
  std::string path = found;
  mailboxfile_c file;
  if (!file.open(path.c_str())) return -1;
  std::string dirname = path.substr(0, path.find_last_of('\\'));
  dirname = dirname.substr(dirname.find_last_of('\\') + 1);

  int added = 0;
  for (int i = 0; i < count; ++i) {
    const remotesender& from = senders[(seed + static_cast<uint32_t>(i)) % SENDERCOUNT];
    std::vector<uint8_t> page = makefaxpage(seed + static_cast<uint32_t>(i));
    eventrecord record;
    memset(&record, 0, sizeof record);
    record.slotstate = SLOT_INUSE;
    record.flags = EV_INCOMING;
    record.state = EVS_UNREAD;
    stampnow(record);
    if (from.subject[0]) {
      char subject[80];
      snprintf(subject, sizeof subject, "%s %u", from.subject, static_cast<unsigned>((seed + i) % 9000 + 1000));
      setfield(record.subject, subject, EV_SUBJECTMAX);
    }
    setfield(record.sendername, from.name, EV_TEXTMAX);
    setfield(record.senderaddress, from.number, EV_TEXTMAX);
    // The document first, then the record that names it.
    if (!newsidefile(file.directory, "tif", nullptr, page.data(), static_cast<uint32_t>(page.size()),
                     record.attachments[0].name, sizeof record.attachments[0].name)) {
      fprintf(stderr, "faxsim: cannot write a fax document into %s\n", file.directory);
      break;
    }
    record.attachcount = 1;
    int slot = file.addevent(&record);
    if (!slot) {
      char doc[MAX_PATH];
      if (file.sidefilepath(record.attachments[0].name, sizeof record.attachments[0].name, doc, sizeof doc))
        DeleteFileA(doc);
      fprintf(stderr, "faxsim: cannot add a received fax to %s\n", dirname.c_str());
      break;
    }
    log.line("delivered %s slot %d", dirname.c_str(), slot);
    ++added;
  }
  seed += static_cast<uint32_t>(count);
  return added;
}
