#pragma once
// The Event details dialog: one event of the open mailbox with its party, date, subject, message
// body and attached files. Subject and body can be edited and saved back; an attached file opens
// with its associated program on a double click.
//
// Usage (the Details command): CEventDetailsDlg dlg(mailbox, storedir, slot); dlg.domodal(frame);
// then mark the event read, however the dialog closed.
//
// Everything shown comes from the shared store and is treated as untrusted: texts are taken only
// inside their fields, at most 32 attachment entries are walked, and a file is opened, sized or
// written only when its name is a bare name inside the mailbox directory.
#include <windows.h>

#include <string>
#include <vector>

#include "mailstore/eventrecord.h"
#include "manager/ui/uidialog.h"
#include "toolkit/string.h"

class mailboxfile_c;

class CEventDetailsDlg : public uidialog_c {
public:
  // storedir: the mailbox directory (with or without a trailing backslash).
  CEventDetailsDlg(mailboxfile_c& mailbox, const char* storedir, int slot);

  // What a tile shows for one attachment.
  struct tile_t {
    unsigned long size = 0;   // bytes; 0 when the file cannot be found
    char sizetext[32] = "";   // "(%luKB)"
    unsigned icon = 0;        // IDI_ATTACHMENT or IDI_ATTACHMENT_BAD
  };
  // The size text for a file of that many bytes: kilobytes rounded down, but 1 for 1..1023.
  static void sizetext(unsigned long long size, char* out, int outsize);
  // The tile of the attachment at that list position; false when there is none.
  bool tileinfo(int index, tile_t& tile) const;
  // Full path of the attachment at that list position: false unless its name is a bare name
  // whose path fits (only such a name is ever sized or opened).
  bool attachmentpath(int index, char* out, int outsize) const;
  // Opens the attachment at that list position with its associated program; false when the
  // name is not a bare name or the shell refused.
  bool openattachment(int index);

  // The members the controls show.
  string_c partylabel, datelabel, partytext, datetext, subject, body;
  std::vector<std::string> attachments;   // names, in table order
  // Set when a save was asked for and written (read back by callers and tests).
  bool saved = false;

protected:
  bool OnInit() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnCommand(unsigned id, unsigned code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
  void DoDataExchange(uidatax_c& dx) override;

private:
  void fill();
  void readbody(const eventrecord& rec);
  void closeasked(INT_PTR result);
  bool save();
  void measure(MEASUREITEMSTRUCT& mi);
  void drawtile(const DRAWITEMSTRUCT& di);
  bool bare(const std::string& name) const;

  mailboxfile_c& mailbox;
  std::string dir;   // ends in a backslash
  int slot;
};
