// The Manager's string tables as the platform loads them from the program file: the English
// texts exactly as the program has always shown them, every string in all five languages, and
// the thread's language choosing which one LoadString returns.
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "manager/res/resource.h"
#include "tests/managerres/restest.h"

using namespace restest;

namespace {

std::string loadstring(UINT id) {
  char text[2048] = "";
  LoadStringA(module(), id, text, sizeof text);
  return text;
}

// Texts other code, people's habits and the window layer depend on, word for word.
const struct {
  UINT id;
  const char* text;
} english[] = {
    {2, "Your user name was not found in the Ravelink mailbox directory.\r\nPlease contact your Network "
        "Administrator."},
    {106, "Pending"},
    {107, "Sent"},
    {108, "Unread"},
    {109, "Read"},
    {110, "Failed"},
    {111, "Queued"},
    {112, "Working"},
    {113, "Cancelled"},
    {114, "Could not connect to Ravelink. Please contact your Network Administrator or reinstall the client."},
    {115, "Inbox"},
    {116, "Outbox"},
    {117, "Main Mailbox Folders"},
    {118, "Personal Folders"},
    {119, "Name of folder already exists. Please specify a different name."},
    {120, "This operation will delete all the mails in the folder and cannot be undone! Are you sure?"},
    {121, "New Folder"},
    {122, "The directory '%s' already exists. Please specify a different location."},
    {127, "Ravelink Manager"},
    {129, "From:"},
    {130, "To:"},
    {131, "Received:"},
    {132, "Sent:"},
    {133, "You have made changes to the message, save changes?"},
    {134, "Are you sure to delete the selected event(s)?"},
    {135, "This is a queued item. If you delete it, it will not be updated and you will recieve a new item as "
          "notification for this item. Do you want to delete it?"},
    {136, "Could not load the Ravelink viewer (or one of its components). Make sure that the viewer exists in "
          "your Ravelink directory and that all required libraries are available."},
    {137, "Could not load the Ravelink Client (or one of its components). Make sure that the client exists in "
          "your Ravelink directory and that all required libraries are available."},
    {138, "Ravelink Manager"},
    {139, "You have received new events in your mailbox."},
    {140, "Some events in your mailbox failed."},
    {141, "Select directory where the personal mailbox will be created."},
    {142, "Could not create directory '%s'. Operaion aborted."},
    {150, "Ravelink Manager"},
    {151, "Ravelink Manager - You have failed events"},
    {152, "Ravelink Manager - You have unread events"},
    {153, "Ravelink Manager - You have failed and unread events"},
    {160, "Save Log to File"},
    {161, "Text files (*.txt)"},
    {162, "All files (*.*)"},
    {163, "Standard"},
    {32772, "Show manager window\nOpen Manager"},
    {32780, "Sends again the selected events\nResubmit"},
    {32782, "Exports the visible events to a log file\nExport log"},
    {32789, "Toggles display of sent events\nToggle Sent events (Ctrl+S)"},
    {32790, "Toggles display of read events\nToggle Read events (Ctrl+R)"},
    {32791, "Toggles display of failed events\nToggle Failed events (Ctrl+F)"},
    {32798, "Configures your manager environment\nOptions"},
    {57344, "Ravelink Manager"},
    {57345, "Ready"},
    {61204, "To/From"},
    {61205, "Subject"},
    {61206, "Date/Time"},
    {61207, "State"},
    {61209, "<Unknown>"},
    {61712, "Please enter an integer."},
};

// One word per language that only that language uses: the blocks carry the right language ids.
const struct {
  LCID locale;
  UINT id;
  const wchar_t* text;
} samples[] = {
    {1031, IDS_STATE_UNREAD, L"Ungelesen"},
    {1031, IDS_DETAILS_RECEIVED, L"Empfangen:"},
    {1036, IDS_STATE_FAILED, L"Échec"},
    {1036, IDS_FOLDER_INBOX, L"Boîte de réception"},
    {1040, IDS_FOLDER_INBOX, L"Posta in arrivo"},
    {1040, IDS_COLUMN_SUBJECT, L"Oggetto"},
    {1034, IDS_IDLE_PROMPT, L"Listo"},
    {1034, IDS_STATE_READ, L"Leído"},
};

// The commands of the menus and the toolbar: each string is "prompt\ntooltip".
const UINT commands[] = {32772, 32776, 32777, 32778, 32779, 32780, 32781, 32782, 32783, 32789, 32790, 32791,
                         32792, 32796, 32798, 32801, 32802, 32803, 32806, 57664, 57665, 59392, 59393};

TEST(ManagerStrings, EnglishTextsAreExact) {
  threadlanguage_c english_(1033);
  for (const auto& e : english) {
    SCOPED_TRACE(e.id);
    EXPECT_EQ(loadstring(e.id), e.text);
  }
}

TEST(ManagerStrings, EveryStringExistsInEveryLanguage) {
  const std::vector<UINT> reference = stringids(1033);
  ASSERT_GE(reference.size(), sizeof english / sizeof english[0]);
  for (const auto& e : english) EXPECT_NE(std::find(reference.begin(), reference.end(), e.id), reference.end()) << e.id;
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    // The same ids, no more and no fewer, each with a text.
    EXPECT_EQ(stringids(l.locale), reference);
    std::wstring text;
    for (UINT id : reference) EXPECT_TRUE(rawstring(id, l.locale, text) && !text.empty()) << id;
  }
}

TEST(ManagerStrings, TheThreadLanguageChoosesTheText) {
  const std::vector<UINT> ids = stringids(1033);
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    threadlanguage_c choose(l.locale);
    std::wstring text;
    for (UINT id : ids) {
      ASSERT_TRUE(rawstring(id, l.locale, text));
      EXPECT_EQ(loadstring(id), narrow(text)) << id;
    }
  }
  for (const auto& s : samples) {
    SCOPED_TRACE(s.locale);
    threadlanguage_c choose(s.locale);
    std::wstring text;
    ASSERT_TRUE(rawstring(s.id, s.locale, text));
    EXPECT_EQ(text, s.text);
    EXPECT_EQ(loadstring(s.id), narrow(s.text));
  }
}

TEST(ManagerStrings, TranslationsDifferFromEnglishWhereTheyShould) {
  // A block that silently repeats English would pass every other check. Product names and a few
  // words shared by the languages are the same; everything else must be translated.
  const std::set<UINT> shared = {IDR_MAINFRAME, IDR_TRAYMENU, IDS_TRAY, IDS_APP_TITLE, IDS_TOOLBAR_TITLE};
  for (const language_t& l : languages) {
    if (l.locale == 1033) continue;
    SCOPED_TRACE(l.name);
    std::wstring en, text;
    for (UINT id : stringids(1033)) {
      rawstring(id, 1033, en);
      rawstring(id, l.locale, text);
      if (shared.count(id)) continue;
      EXPECT_NE(text, en) << "string " << id << " is the English text";
    }
  }
}

TEST(ManagerStrings, CommandStringsHoldPromptAndTooltip) {
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    std::wstring text;
    for (UINT id : commands) {
      ASSERT_TRUE(rawstring(id, l.locale, text)) << id;
      size_t split = text.find(L'\n');
      ASSERT_NE(split, std::wstring::npos) << id;
      EXPECT_GT(split, 0u) << id;
      EXPECT_LT(split + 1, text.size()) << id;
      EXPECT_EQ(text.find(L'\n', split + 1), std::wstring::npos) << id;
    }
  }
}

TEST(ManagerStrings, FormatFieldsSurviveTranslation) {
  // The program fills these with sprintf: a lost or extra field would print garbage or crash.
  const UINT formatted[] = {IDS_FOLDER_DIR_EXISTS, IDS_FOLDER_MKDIR_FAILED};
  for (const language_t& l : languages) {
    SCOPED_TRACE(l.name);
    std::wstring text;
    for (UINT id : formatted) {
      ASSERT_TRUE(rawstring(id, l.locale, text));
      size_t first = text.find(L'%');
      ASSERT_NE(first, std::wstring::npos) << id;
      EXPECT_EQ(text.substr(first, 2), L"%s") << id;
      EXPECT_EQ(text.find(L'%', first + 1), std::wstring::npos) << id;
    }
    // Nothing else carries a field.
    for (UINT id : stringids(1033)) {
      if (id == IDS_FOLDER_DIR_EXISTS || id == IDS_FOLDER_MKDIR_FAILED) continue;
      rawstring(id, l.locale, text);
      EXPECT_EQ(text.find(L'%'), std::wstring::npos) << id;
    }
  }
}

}  // namespace
