#pragma once
// The binding of the outside address book library (rladdrbk.dll next to the connector) and the
// selection that turns its picked entries into recipient entries for the host.
#include <windows.h>

#include "connectors/cgw.h"

class addressbook_c {
public:
  HMODULE module;
  RLABCheckMapi_t checkmapi;
  RLABSelectRec_t selectrec;

  addressbook_c();
  ~addressbook_c();
  addressbook_c(const addressbook_c&) = delete;
  addressbook_c& operator=(const addressbook_c&) = delete;

  // Binds rladdrbk.dll from the folder of the module `self` (the connector). Any earlier binding is
  // released first; without the library or one of its entry points the binding stays empty.
  void bind(HMODULE self);
  void release();
  int bound() const { return module != nullptr; }

  // Capability 5: the library's answer, 0 without the library.
  int32_t capability();
  // cgwAddressBook: 6 without a callback, 0 without the library, else the library's result mapped.
  int32_t select(intptr_t owner, intptr_t hostvalue, cgwhostcallback callback);

  // Library result of RLABSelectRec -> cgwAddressBook result.
  static int32_t mapresult(int32_t libraryresult);
  // Fills entry from a picked record; 0 when the record has no usable fax number (nothing is
  // passed to the host then). Texts are read only up to their field's size.
  static int fillrecipient(const abrecord* record, cgwrecipient* entry);
  // Called by the library once per picked entry.
  static int32_t CGWAPI selection(const abrecord* record, abpair* pair);
};
