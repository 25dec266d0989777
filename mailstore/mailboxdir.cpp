#include "mailstore/mailboxdir.h"

#include <cstring>

#include "mailstore/eventrecord.h"

namespace {

// root, a backslash unless root ends with one, then tail. 0 when it does not fit.
int joinroot(char* out, size_t size, const char* root, const char* tail) {
  size_t r = strlen(root);
  bool backslash = r == 0 || root[r - 1] != '\\';
  size_t t = strlen(tail);
  if (r + (backslash ? 1 : 0) + t >= size) return 0;
  memcpy(out, root, r);
  if (backslash) out[r++] = '\\';
  memcpy(out + r, tail, t + 1);
  return 1;
}

}  // namespace

mailboxdir_c::mailboxdir_c() { memset(&entry, 0, sizeof entry); }

int mailboxdir_c::trycandidate(const char* root, const WIN32_FIND_DATAA& current) {
  if (!(current.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  if (current.cFileName[0] == '.' || current.cFileName[0] == 0) return 0;
  char tail[MAX_PATH + 16];
  size_t n = strnlen(current.cFileName, sizeof current.cFileName);
  if (n + sizeof "\\mailbox.rlb" > sizeof tail) return 0;
  memcpy(tail, current.cFileName, n);
  strcpy(tail + n, "\\mailbox.rlb");
  char full[mailboxfile_c::PATHMAX + 1];
  if (!joinroot(full, sizeof full, root, tail)) return 0;
  return candidate.open(full);
}

int mailboxdir_c::walk(findhandle_c& find, WIN32_FIND_DATAA& current, const char* root, const char* account) {
  for (int looked = 1;; ++looked) {
    if (trycandidate(root, current)) {
      if (!account) return 1;
      char login[sizeof candidate.header.loginname + 1];
      fieldtext(candidate.header.loginname, login, sizeof login);
      if (lstrcmpiA(login, account) == 0) return 1;
    }
    if (looked >= ENTRYLIMIT) return 0;
    if (!find.next(&current)) return 0;
  }
}

const char* mailboxdir_c::finduser(const char* root, const char* account) {
  if (!root || !account || !account[0]) return nullptr;
  char pattern[MAX_PATH + 8];
  if (!joinroot(pattern, sizeof pattern, root, "*.*")) return nullptr;
  findhandle_c find;
  WIN32_FIND_DATAA current;
  if (!find.first(pattern, &current)) return nullptr;
  return walk(find, current, root, account) ? candidate.path : nullptr;
}

mailboxfile_c* mailboxdir_c::firstmailbox(const char* root) {
  endscan();
  if (!root) return nullptr;
  char pattern[MAX_PATH + 8];
  if (!joinroot(pattern, sizeof pattern, root, "*.*")) return nullptr;
  if (!search.first(pattern, &entry)) return nullptr;
  return walk(search, entry, root, nullptr) ? &candidate : nullptr;
}

mailboxfile_c* mailboxdir_c::nextmailbox(const char* root) {
  if (!root || !search.valid()) return nullptr;
  if (!search.next(&entry)) return nullptr;
  return walk(search, entry, root, nullptr) ? &candidate : nullptr;
}

void mailboxdir_c::endscan() { search.close(); }
