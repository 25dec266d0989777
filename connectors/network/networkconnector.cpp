#include "connectors/network/networkconnector.h"

#include <oleauto.h>

#include <cstring>

#include "toolkit/path.h"

namespace {

const char* const infodescription = "Ravelink for Virerure Client Connector Interface Version 6.1.61";
const char* const logonbase = "for Virerure";

// A text of the host's record, read only within its field (the host may leave no terminator).
template <size_t N>
void callerfield(const char (&field)[N], char* out, int outsize) {
  fieldtext(field, static_cast<int>(N), out, outsize);
}

// Writes text into a cgwinfo field: at most size - 1 characters, zero padding up to size - 1
// bytes; the last byte stays as the host set it.
void infofield(char* field, int size, const char* text) {
  int n = static_cast<int>(strnlen(text, static_cast<size_t>(size - 1)));
  memcpy(field, text, static_cast<size_t>(n));
  memset(field + n, 0, static_cast<size_t>(size - 1 - n));
}

// The stored name of an attachment is "%08lX." plus the source's extension: longer than 15
// characters it would not fit the record. Null and overlong sources are left to the copy.
int extensionfits(const char* source) {
  if (!source) return 1;
  const char* name = filenamepart(source);
  const char* dot = strrchr(name, '.');
  if (!dot) return 1;  // gets FAX
  return strlen(dot + 1) <= static_cast<size_t>(EV_EXTMAX);
}

// An attachment must name an existing file: a folder or a wildcard pattern names none. (Asking
// for the attributes is also far cheaper than a directory search on a network share.)
int isexistingfile(const char* path) {
  if (!path || !*path || strpbrk(path, "*?")) return 0;
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Ends the keep-open batch on every way out of a submission.
class batch_c {
public:
  explicit batch_c(mailboxfile_c& f) : file(f) { file.setkeepopen(1); }
  ~batch_c() { file.setkeepopen(0); }
  batch_c(const batch_c&) = delete;
  batch_c& operator=(const batch_c&) = delete;

private:
  mailboxfile_c& file;
};

}  // namespace

networkconnector_c& theconnector() {
  static networkconnector_c connector;
  return connector;
}

networkconnector_c::networkconnector_c() : loggedon(0), self(nullptr) {
  mailboxroot[0] = 0;
  logontext[0] = 0;
}

void networkconnector_c::start(HMODULE module) {
  if (self) return;
  self = module;
  addressbook.bind(module);
}

int32_t networkconnector_c::getcaps(int32_t capability) {
  switch (capability) {
    case 1:
    case 4:
      return 1;
    case 5:
      return addressbook.capability();
    default:
      return 0;
  }
}

int32_t networkconnector_c::getinfo(cgwinfo* info) {
  if (!info) return 0;
  infofield(info->name, sizeof info->name, logontext);
  infofield(info->description, sizeof info->description, infodescription);
  return 0;
}

void networkconnector_c::showmessage(int id, UINT icon) {
  char text[512];
  if (!LoadStringA(self, static_cast<UINT>(id), text, sizeof text)) return;
  char caption[MAX_PATH] = "Ravelink";
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(self, path, sizeof path);
  if (n > 0 && n < sizeof path) {
    // The library's own name, without its extension.
    strcpy(caption, filenamepart(path));
    char* dot = strrchr(caption, '.');
    if (dot && dot != caption) *dot = 0;
  }
  MessageBoxA(nullptr, text, caption, MB_OK | icon);
}

int32_t networkconnector_c::faillogon(int message) {
  loggedon = 0;
  if (message) showmessage(message, message == MSG_NOCONNECT ? MB_ICONSTOP : 0);
  return CGWERR_LOGON;
}

int32_t networkconnector_c::logon(const char* user, const char* password) {
  strcpy(logontext, logonbase);
  // A new logon replaces the old binding, also when it fails.
  loggedon = 0;
  usermailbox.close();

  GetPrivateProfileStringA("Directories", "Mailbox", "", mailboxroot, sizeof mailboxroot, "RIROVEVI.INI");
  if (!mailboxroot[0]) return faillogon(0);
  if (!direxists(mailboxroot)) return faillogon(MSG_NOCONNECT);

  char windowsuser[256] = "";
  DWORD size = sizeof windowsuser;
  if (!GetUserNameA(windowsuser, &size)) windowsuser[0] = 0;

  if (windowsuser[0]) {
    // The Windows account decides; the host's name and password are not looked at.
    const char* path = scanner.finduser(mailboxroot, windowsuser);
    if (!path || !usermailbox.open(path)) return faillogon(MSG_NOUSER);
  } else {
    const char* name = user ? user : "";
    const char* given = password ? password : "";
    const char* path = scanner.finduser(mailboxroot, name);
    if (!path || !usermailbox.open(path)) return faillogon(MSG_NOUSER);
    // Byte for byte; the stored password ends at its terminator or at the end of its field.
    int stored = fieldlength(usermailbox.header.password, sizeof usermailbox.header.password);
    if (strlen(given) != static_cast<size_t>(stored) ||
        memcmp(given, usermailbox.header.password, static_cast<size_t>(stored)) != 0) {
      return faillogon(MSG_NOUSER);
    }
  }
  char login[64];
  fieldtext(usermailbox.header.loginname, login, sizeof login);
  strcat(logontext, " - ");
  strncat(logontext, login, sizeof logontext - strlen(logontext) - 1);
  loggedon = 1;
  return CGWERR_OK;
}

void networkconnector_c::buildevent(const cgwmessage& message, const cgwrecipient& recipient, const SYSTEMTIME& now,
                                    eventrecord* event) const {
  memset(event, 0, sizeof *event);
  event->state = EVS_PENDING;
  event->day = static_cast<uint8_t>(now.wDay);
  event->month = static_cast<uint8_t>(now.wMonth);
  event->year = now.wYear;
  event->hour = static_cast<uint8_t>(now.wHour);
  event->minute = static_cast<uint8_t>(now.wMinute);

  uint32_t flags = 0;
  if (message.flags & CGW_HIGHRES) flags |= EV_HIGHRES;
  if (message.flags & CGW_BODY) flags |= EV_BODY;
  if (message.flags & CGW_COVERPAGE) flags |= EV_COVERPAGE;
  if (message.flags & CGW_SENDTIME) flags |= EV_SCHEDULED;
  event->flags = flags;

  char text[256];
  fieldtext(usermailbox.header.loginname, text, sizeof text);
  setfield(event->sendername, text, EV_TEXTMAX);
  fieldtext(usermailbox.header.mailboxname, text, sizeof text);
  setfield(event->senderaddress, text, EV_TEXTMAX);

  char first[64], last[64], name[130];
  callerfield(recipient.firstname, first, sizeof first);
  callerfield(recipient.lastname, last, sizeof last);
  strcpy(name, first);
  if (first[0] && last[0]) strcat(name, " ");
  strcat(name, last);
  setfield(event->recipientname, name, EV_TEXTMAX);
  callerfield(recipient.faxno, text, sizeof text);
  setfield(event->recipientaddress, text, EV_TEXTMAX);

  if ((message.flags & CGW_COVERPAGE) && message.coverpage) setfield(event->coverpage, message.coverpage, EV_TEXTMAX);
  if ((message.flags & CGW_SUBJECT) && message.subject) setfield(event->subject, message.subject, EV_SUBJECTMAX);
}

void networkconnector_c::builddetails(const cgwrecipient& recipient, recipientdetails* details) {
  memset(details, 0, sizeof *details);
  char text[256];
  callerfield(recipient.firstname, text, sizeof text);
  setfield(details->firstname, text, EV_TEXTMAX);
  callerfield(recipient.company, text, sizeof text);
  setfield(details->company, text, EV_SUBJECTMAX);
  callerfield(recipient.faxno, text, sizeof text);
  setfield(details->faxno, text, EV_TEXTMAX);
  callerfield(recipient.lastname, text, sizeof text);
  setfield(details->lastname, text, EV_TEXTMAX);
  callerfield(recipient.department, text, sizeof text);
  setfield(details->department, text, EV_TEXTMAX);
  callerfield(recipient.email, text, sizeof text);
  setfield(details->email, text, EV_TEXTMAX);
  callerfield(recipient.voice, text, sizeof text);
  setfield(details->voice, text, EV_TEXTMAX);
}

void networkconnector_c::applysendtime(const char* text, eventrecord* event) {
  SYSTEMTIME when = {};
  bool ok = false;
  int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units > 0) {
    BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (wide) {
      MultiByteToWideChar(CP_ACP, 0, text, -1, wide, units);
      DATE date = 0;
      ok = SUCCEEDED(VarDateFromStr(wide, LOCALE_USER_DEFAULT, 0, &date)) && VariantTimeToSystemTime(date, &when);
      SysFreeString(wide);
    }
  }
  if (!ok) {
    event->day = event->month = event->hour = event->minute = 0xFF;
    event->year = 0xFFFF;
    return;
  }
  event->day = static_cast<uint8_t>(when.wDay);
  event->month = static_cast<uint8_t>(when.wMonth);
  event->year = when.wYear;
  event->hour = static_cast<uint8_t>(when.wHour);
  event->minute = static_cast<uint8_t>(when.wMinute);
}

int32_t networkconnector_c::sendone(const cgwmessage& message, const cgwrecipient& recipient) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  eventrecord event;
  buildevent(message, recipient, now, &event);

  event.attachcount = static_cast<int8_t>(message.attachmentcount);
  for (uint32_t i = 0; i < message.attachmentcount; ++i) {
    const char* source = message.attachments[i].path;
    if (!isexistingfile(source)) return CGWERR_ATTACHMISSING;
    char name[16];
    if (!usermailbox.copyfilein(source, name)) return CGWERR_ATTACHCOPY;
    setfield(event.attachments[i].name, name, EV_NAMEMAX);
  }

  recipientdetails details;
  builddetails(recipient, &details);
  char name[16];
  if (usermailbox.writerecipientfile(&details, sizeof details, name)) {
    setfield(event.recipientfile, name, EV_NAMEMAX);
    event.flags |= EV_RECIPFILE;
  }

  if ((message.flags & CGW_BODY) && message.body) {
    if (!usermailbox.writebodytext(message.body, name)) return CGWERR_BODY;
    setfield(event.bodyfile, name, EV_NAMEMAX);
  }
  if ((message.flags & CGW_SENDTIME) && message.sendtime) applysendtime(message.sendtime, &event);

  return usermailbox.addevent(&event) ? CGWERR_OK : CGWERR_ADDEVENT;
}

int32_t networkconnector_c::send(const cgwmessage* message) {
  if (!message || message->recipientcount == 0 || !message->recipients) return CGWERR_NORECIPIENTS;
  // Without a bound mailbox there is no directory to put side files into: nothing is written.
  if (!loggedon) return CGWERR_ADDEVENT;
  // Refused before anything is written: the record holds 32 attachments, and a stored name
  // cut to fit would name another file.
  if (message->attachmentcount > 0 && !message->attachments) return CGWERR_ATTACHMISSING;
  if (message->attachmentcount > static_cast<uint32_t>(EV_MAXATTACH)) return CGWERR_ATTACHCOPY;
  for (uint32_t i = 0; i < message->attachmentcount; ++i)
    if (!extensionfits(message->attachments[i].path)) return CGWERR_ATTACHCOPY;

  batch_c batch(usermailbox);
  for (uint32_t r = 0; r < message->recipientcount; ++r) {
    int32_t result = sendone(*message, message->recipients[r]);
    if (result != CGWERR_OK) return result;
  }
  return CGWERR_OK;
}
