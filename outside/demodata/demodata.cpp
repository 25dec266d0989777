// Makes a demo mailbox root to look at the Manager and the connector with, written the way the
// fax server's administration, the network connector and the fax server write it:
//
//   demodata ROOT [LOGIN]
//
// - ROOT (made when missing) gets one sub-directory per user with its mailbox.rlb: LOGIN (default:
//   the Windows user running this), jdoe, asmith and mrossi; mailboxes already there are made anew.
// - LOGIN's mailbox holds events in all eight states in the Inbox and in the Outbox, with real side
//   files: fax documents (one-page TIFFs), other attachments, bodies and recipient details; plus a
//   route request to John Doe, waiting for the fax server. jdoe and asmith hold a few events.
// - A personal folder "Demo Archive" (ROOT\LOGIN\Archive, a mailbox file of its own with two
//   events) is registered in the current user's personal folder list.
// - RIROVEVI.INI in the Windows directory: section Directories, key Mailbox = ROOT (full path).
//
// Prints ROOT's full path first, then one line per mailbox made. Exit code 0 on success, 1 when
// something could not be written, 2 for a bad command line.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "mailstore/mailboxfile.h"
#include "mailstore/sidefiles.h"
#include "outside/faxsim/faxpage.h"
#include "toolkit/regkey.h"

namespace {

const char FOLDERSKEY[] = "Software\\Tavikon\\Virerure Client 7.00\\Personal Folders";
const int32_t CURRENTUSER = 2;   // regkey_c's root index of HKEY_CURRENT_USER
const char FOLDERNAME[] = "Demo Archive";

struct demoevent {
  bool incoming;
  uint8_t state;
  uint32_t flags;           // besides EV_INCOMING, EV_BODY and EV_RECIPFILE, which follow the texts
  const char* first;        // incoming: the remote sender's name; outgoing: the recipient's first name
  const char* last;         // outgoing: the recipient's last name
  const char* company;
  const char* number;       // fax number (for a route request: the target mailbox's name)
  const char* subject;
  const char* body;         // null: no body file
  int pages;                // fax documents (TIFF attachments)
  const char* textdoc;      // an attached text document, or null
  uint16_t year;
  uint8_t month, day, hour, minute;
};

// LOGIN's mailbox: every state in both directions.
const demoevent mainevents[] = {
    {true, EVS_UNREAD, 0, "Harbour Logistics", "", "", "+49 40 3378120", "Delivery note 4471", nullptr, 1, nullptr,
     2024, 5, 14, 9, 12},
    {true, EVS_READ, 0, "Stadtwerke Nord", "", "", "+49 40 2210", "Invoice May", nullptr, 2, nullptr, 2024, 5, 10,
     11, 30},
    {true, EVS_READ, 0, "John Doe@ravelink", "", "", "John Doe@ravelink", "Signed contract, pages 1-3",
     "Anna, this is the signed copy for your files.\r\nJohn", 1, nullptr, 2024, 5, 13, 16, 5},
    {true, EVS_FAILED, 0, "Unknown sender", "", "", "", "Incomplete reception", nullptr, 0, nullptr, 2024, 5, 12, 7,
     58},
    {true, EVS_PENDING, 0, "Garage Rossi", "", "", "+39 02 7788 1200", "Order confirmation", nullptr, 1, nullptr,
     2024, 5, 14, 10, 41},
    {true, EVS_SENT, 0, "Miller & Sons", "", "", "+1 212 555 0188", "Quotation 2024-118", nullptr, 1, nullptr, 2024,
     5, 14, 10, 2},
    {true, EVS_QUEUED, 0, "Tax office", "", "", "+49 30 9024 0", "Form 17b", nullptr, 1, nullptr, 2024, 5, 14, 10,
     40},
    {true, EVS_WORKING, 0, "Hotel Alameda", "", "", "+34 91 555 0123", "Booking 2 rooms", nullptr, 1, nullptr, 2024,
     5, 14, 10, 39},
    {true, EVS_CANCELLED, 0, "", "", "", "+33 1 44 55 66 77", "", nullptr, 1, nullptr, 2024, 5, 11, 14, 0},

    {false, EVS_PENDING, EV_HIGHRES, "Marco", "Rossi", "Garage Rossi", "+39 02 7788 1200", "Order 5521",
     "Please confirm the order by fax.", 1, "Order list", 2024, 5, 14, 10, 45},
    {false, EVS_PENDING, EV_RESUBMITTED, "Jane", "Roe", "Roe Consulting", "+49 30 1234513", "Meeting agenda", nullptr,
     1, nullptr, 2024, 5, 14, 10, 44},
    {false, EVS_QUEUED, EV_SCHEDULED, "", "Tax office", "Finanzamt Mitte", "+49 30 9024 0", "Form 17b, signed",
     "Form 17b as asked for in your letter of 2 May.", 1, nullptr, 2030, 1, 2, 8, 0},
    {false, EVS_WORKING, EV_COVERPAGE, "Lucia", "Alameda", "Hotel Alameda", "+34 91 555 0123", "Booking 2 rooms",
     "Two double rooms from 3 to 5 June, please.", 0, "Booking details", 2024, 5, 14, 10, 39},
    {false, EVS_SENT, 0, "Peter", "Miller", "Miller & Sons", "+1 212 555 0188", "Quotation 2024-118",
     "Our quotation is attached.", 2, nullptr, 2024, 5, 14, 10, 2},
    {false, EVS_SENT, 0, "", "", "", "+44 20 7946 0018", "Price list", nullptr, 1, nullptr, 2023, 12, 29, 15, 45},
    {false, EVS_FAILED, 0, "Klaus", "Schmidt", "Buero Schmidt", "+49 89 1234 0", "Meeting minutes",
     "Minutes of Tuesday's meeting.", 1, "Minutes", 2024, 5, 13, 18, 20},
    {false, EVS_UNREAD, 0, "Anna", "Weber", "", "+49 30 8812044", "Contract draft", nullptr, 1, nullptr, 2024, 5, 9,
     9, 9},
    {false, EVS_READ, 0, "Anna", "Weber", "", "+49 30 8812044", "Contract draft, old", nullptr, 1, nullptr, 2024, 5,
     8, 9, 0},
    {false, EVS_CANCELLED, 0, "", "Printing shop", "Druckerei Nord", "+49 30 444 12", "Proofs, second round",
     "Please hold the proofs.", 1, nullptr, 2024, 5, 11, 14, 0},
};

// The Personal Folder's events.
const demoevent folderevents[] = {
    {true, EVS_READ, 0, "Stadtwerke Nord", "", "", "+49 40 2210", "Invoice April", nullptr, 1, nullptr, 2024, 4, 10,
     11, 0},
    {false, EVS_SENT, 0, "Peter", "Miller", "Miller & Sons", "+1 212 555 0188", "Quotation 2024-090",
     "Our quotation of April.", 1, nullptr, 2024, 4, 2, 15, 30},
};

const demoevent jdoeevents[] = {
    {true, EVS_UNREAD, 0, "Harbour Logistics", "", "", "+49 40 3378120", "Delivery note 4480", nullptr, 1, nullptr,
     2024, 5, 14, 9, 30},
    {false, EVS_PENDING, 0, "Jane", "Roe", "Roe Consulting", "+49 30 1234513", "Agenda, second version",
     "The agenda with the changes we talked about.", 1, nullptr, 2024, 5, 14, 11, 0},
    {false, EVS_SENT, 0, "Anna", "Smith", "", "+49 30 555 0100", "Travel plan", nullptr, 1, nullptr, 2024, 5, 10, 8,
     15},
};

const demoevent asmithevents[] = {
    {true, EVS_READ, 0, "Hotel Alameda", "", "", "+34 91 555 0123", "Booking confirmation", nullptr, 1, nullptr,
     2024, 5, 13, 12, 0},
    {false, EVS_FAILED, 0, "Klaus", "Schmidt", "Buero Schmidt", "+49 89 1234 0", "Invitation",
     "You are invited to our summer party.", 1, nullptr, 2024, 5, 12, 17, 0},
};

struct demouser {
  const char* login;
  const char* name;
  const char* password;
  const demoevent* events;
  size_t count;
};

bool setowner(const std::string& path, const char* login, const char* password) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  mailboxheader header;
  DWORD done = 0;
  bool ok = ReadFile(h, &header, sizeof header, &done, nullptr) && done == sizeof header;
  if (ok) {
    setfield(header.loginname, login);
    memset(header.password, 0, sizeof header.password);
    memcpy(header.password, password, strnlen(password, sizeof header.password - 1));
    ok = SetFilePointer(h, 0, nullptr, FILE_BEGIN) == 0 && WriteFile(h, &header, sizeof header, &done, nullptr) &&
         done == sizeof header;
  }
  CloseHandle(h);
  return ok;
}

// One event with its side files, as the connector (outgoing) or the fax server (incoming) makes it.
bool addevent(mailboxfile_c& box, const demoevent& e, const char* login, const char* mailboxname, uint32_t& seed) {
  eventrecord r;
  memset(&r, 0, sizeof r);
  r.slotstate = SLOT_INUSE;
  r.flags = (e.incoming ? static_cast<uint32_t>(EV_INCOMING) : 0u) | e.flags;
  r.state = e.state;
  r.year = e.year;
  r.month = e.month;
  r.day = e.day;
  r.hour = e.hour;
  r.minute = e.minute;
  setfield(r.subject, e.subject, EV_SUBJECTMAX);
  if (e.flags & EV_COVERPAGE) setfield(r.coverpage, "Standard", EV_TEXTMAX);
  if (e.incoming) {
    setfield(r.sendername, e.first, EV_TEXTMAX);
    setfield(r.senderaddress, e.number, EV_TEXTMAX);
  } else {
    setfield(r.sendername, login, EV_TEXTMAX);
    setfield(r.senderaddress, mailboxname, EV_TEXTMAX);
    std::string name = e.first;
    if (*e.first && *e.last) name += " ";
    name += e.last;
    setfield(r.recipientname, name.c_str(), EV_TEXTMAX);
    setfield(r.recipientaddress, e.number, EV_TEXTMAX);
    if (!(e.flags & EV_ROUTE)) {
      recipientdetails d;
      memset(&d, 0, sizeof d);
      setfield(d.firstname, e.first, EV_TEXTMAX);
      setfield(d.lastname, e.last, EV_TEXTMAX);
      setfield(d.company, e.company, EV_SUBJECTMAX);
      setfield(d.faxno, e.number, EV_TEXTMAX);
      if (!box.writerecipientfile(&d, sizeof d, r.recipientfile)) return false;
      r.flags |= EV_RECIPFILE;
    }
  }
  if (e.body) {
    if (!box.writebodytext(e.body, r.bodyfile)) return false;
    r.flags |= EV_BODY;
  }
  int n = 0;
  for (int p = 0; p < e.pages; ++p, ++n) {
    std::vector<uint8_t> page = makefaxpage(seed++);
    if (!newsidefile(box.directory, "tif", nullptr, page.data(), static_cast<uint32_t>(page.size()),
                     r.attachments[n].name, sizeof r.attachments[n].name))
      return false;
  }
  if (e.textdoc) {
    std::string text = std::string(e.textdoc) + "\r\n\r\n" + e.subject + "\r\n";
    if (!newsidefile(box.directory, "txt", nullptr, text.data(), static_cast<uint32_t>(text.size()),
                     r.attachments[n].name, sizeof r.attachments[n].name))
      return false;
    ++n;
  }
  r.attachcount = static_cast<int8_t>(n);
  return box.addevent(&r) != 0;
}

// Creates dir\mailbox.rlb anew with the events; the owner goes into the header when login is given.
bool makemailbox(const std::string& dir, const char* login, const char* password, const char* name,
                 const char* eventlogin, const demoevent* events, size_t count, uint32_t& seed) {
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string path = dir + "\\mailbox.rlb";
  mailboxfile_c box;
  if (!box.create(path.c_str(), name)) return false;
  if (login && !setowner(path, login, password)) return false;
  if (!box.open(path.c_str())) return false;
  box.setkeepopen(1);
  for (size_t i = 0; i < count; ++i) {
    if (!addevent(box, events[i], eventlogin, name, seed)) return false;
  }
  box.setkeepopen(0);
  printf("%s (%u events)\n", path.c_str(), static_cast<unsigned>(count));
  return true;
}

bool usablelogin(const char* login) {
  size_t n = strlen(login);
  return n > 0 && n <= EV_TEXTMAX && !strpbrk(login, "\\/:*?\"<>|") && strcmp(login, ".") != 0 &&
         strcmp(login, "..") != 0 && login[0] != '.';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    fprintf(stderr, "usage: demodata ROOT [LOGIN]\n");
    return 2;
  }
  char login[256] = "";
  if (argc == 3) {
    snprintf(login, sizeof login, "%s", argv[2]);
  } else {
    DWORD size = sizeof login;
    if (!GetUserNameA(login, &size)) login[0] = 0;
  }
  if (!usablelogin(login)) {
    fprintf(stderr, "demodata: no usable account name\n");
    return 2;
  }
  char root[MAX_PATH];
  DWORD n = GetFullPathNameA(argv[1], sizeof root, root, nullptr);
  if (n == 0 || n >= sizeof root - 64) {
    fprintf(stderr, "demodata: unusable root %s\n", argv[1]);
    return 2;
  }
  if (n > 3 && root[n - 1] == '\\') root[--n] = 0;
  CreateDirectoryA(root, nullptr);
  DWORD attributes = GetFileAttributesA(root);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    fprintf(stderr, "demodata: cannot make %s\n", root);
    return 1;
  }
  printf("%s\n", root);

  std::string mainname = std::string(login) + "@ravelink";
  std::vector<demouser> users = {
      {login, mainname.c_str(), "", mainevents, sizeof mainevents / sizeof mainevents[0]},
      {"jdoe", "John Doe@ravelink", "secret", jdoeevents, sizeof jdoeevents / sizeof jdoeevents[0]},
      {"asmith", "Anna Smith@ravelink", "", asmithevents, sizeof asmithevents / sizeof asmithevents[0]},
      {"mrossi", "Marco Rossi", "", nullptr, 0},
  };
  uint32_t seed = 1;
  for (size_t i = 0; i < users.size(); ++i) {
    const demouser& u = users[i];
    if (i > 0 && lstrcmpiA(u.login, login) == 0) continue;   // LOGIN is one of the others
    if (!makemailbox(std::string(root) + "\\" + u.login, u.login, u.password, u.name, u.login, u.events, u.count,
                     seed)) {
      fprintf(stderr, "demodata: cannot write the mailbox of %s\n", u.login);
      return 1;
    }
  }

  // LOGIN's route request to John Doe, as the Manager's Route writes it: waiting for the server.
  {
    std::string path = std::string(root) + "\\" + login + "\\mailbox.rlb";
    mailboxfile_c box;
    demoevent route = {false, EVS_PENDING, EV_ROUTE, "John Doe", "", "", "John Doe@ravelink",
                       "Delivery note 4471", "For you, John: the delivery note.", 1, nullptr, 2024, 5, 14, 11, 5};
    if (!box.open(path.c_str()) || !addevent(box, route, mainname.c_str(), mainname.c_str(), seed)) {
      fprintf(stderr, "demodata: cannot add the route request\n");
      return 1;
    }
  }

  std::string folder = std::string(root) + "\\" + login + "\\Archive";
  if (!makemailbox(folder, nullptr, nullptr, "Personal Mailbox", login, folderevents,
                   sizeof folderevents / sizeof folderevents[0], seed)) {
    fprintf(stderr, "demodata: cannot write the personal folder\n");
    return 1;
  }
  regkey_c key(CURRENTUSER);
  if (!key.connect(FOLDERSKEY, 1, nullptr) || !key.setstring(FOLDERNAME, folder.c_str(), 0)) {
    fprintf(stderr, "demodata: cannot register the personal folder\n");
    return 1;
  }
  key.close();
  if (!WritePrivateProfileStringA("Directories", "Mailbox", root, "RIROVEVI.INI")) {
    fprintf(stderr, "demodata: cannot write RIROVEVI.INI\n");
    return 1;
  }
  printf("folder %s = %s\n", FOLDERNAME, folder.c_str());
  return 0;
}
