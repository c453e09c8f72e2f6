// The string tables: both languages complete, placeholders that agree, and
// the exact texts that other parts of the library depend on.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/module_state.h"

namespace {

class StringTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedOffset_ = g_languageOffset;
    RegisterModuleResources(nullptr);
  }
  void TearDown() override { g_languageOffset = savedOffset_; }

  static std::string German(unsigned id) {
    g_languageOffset = 0;
    return ResString(id);
  }
  static std::string English(unsigned id) {
    g_languageOffset = kEnglishOffset;
    return ResString(id);
  }

 private:
  UINT savedOffset_ = 0;
};

bool IsKnownStringId(unsigned id) {
  return std::find(std::begin(kAllStringIds), std::end(kAllStringIds), id) !=
         std::end(kAllStringIds);
}

// The printf conversions of a text in order ("%s", "%ld", ...); "%%" is no
// conversion.
std::vector<std::string> Placeholders(const std::string& text) {
  std::vector<std::string> out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    if (i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < text.size() && std::string("0123456789.-+ #hlLqjzt").find(text[j]) != std::string::npos)
      ++j;
    out.push_back(text.substr(i, j - i + 1));
    i = j;
  }
  return out;
}

TEST_F(StringTableTest, EveryNamedIdHasAGermanAndAnEnglishText) {
  for (unsigned id : kAllStringIds) {
    EXPECT_FALSE(German(id).empty()) << "German text " << id << " is missing";
    EXPECT_FALSE(English(id).empty()) << "English text " << kEnglishOffset + id << " is missing";
  }
}

TEST_F(StringTableTest, EveryTableEntryBelongsToANamedIdAndAppearsOnce) {
  std::set<unsigned> seen;
  for (size_t i = 0; i < kStringTableSize; ++i) {
    const unsigned id = kStringTable[i].id;
    EXPECT_TRUE(seen.insert(id).second) << "string " << id << " is defined twice";
    const unsigned base = id >= kEnglishOffset ? id - kEnglishOffset : id;
    EXPECT_TRUE(IsKnownStringId(base)) << "string " << id << " has no name in resource_ids.h";
    EXPECT_TRUE(id <= 79 || (id >= 1001 && id <= 1078)) << "string " << id << " out of range";
    ASSERT_NE(kStringTable[i].text, nullptr) << "string " << id;
  }
  // German and English entries pair up: as many of one as of the other.
  size_t german = 0;
  for (unsigned id : seen) german += id < kEnglishOffset ? 1 : 0;
  EXPECT_EQ(german * 2, seen.size());
}

TEST_F(StringTableTest, BothLanguagesUseTheSamePlaceholders) {
  for (unsigned id : kAllStringIds) {
    EXPECT_EQ(Placeholders(German(id)), Placeholders(English(id))) << "string " << id;
  }
}

TEST_F(StringTableTest, TextsAreValidUtf8) {
  for (size_t i = 0; i < kStringTableSize; ++i) {
    const std::string text = kStringTable[i].text;
    EXPECT_EQ(QString::fromUtf8(text).toUtf8().toStdString(), text)
        << "string " << kStringTable[i].id << " is not valid UTF-8";
  }
}

TEST_F(StringTableTest, ResultWindowMessagesAreExact) {
  EXPECT_EQ(English(IDS_COLUMNS_ROWS), "%ld columns, %ld rows");
  EXPECT_EQ(German(IDS_COLUMNS_ROWS), "%ld Spalten, %ld Zeilen");
  EXPECT_EQ(English(IDS_ROWS_TOUCHED), "The SQL-statement touched %ld rows.");
  EXPECT_EQ(German(IDS_ROWS_TOUCHED), "Das SQL-Statement hat %ld Zeilen bearbeitet.");
  EXPECT_EQ(English(IDS_NO_RESULT), "The SQL-Statement did not return any result.");
  EXPECT_EQ(English(IDS_STATEMENT_CANCELED), "Statement canceled !");
  EXPECT_EQ(German(IDS_STATEMENT_CANCELED), "Statement abgebrochen !");
  EXPECT_EQ(English(IDS_TOO_MANY_PARAMETERS),
            "For SQL-Statements only 10 Parameters are implemented. The statement will not be "
            "executed.");
  EXPECT_EQ(English(IDS_READING_ROW), "Reading row %ld ...");
  EXPECT_EQ(English(IDS_CONNECTING), "Connecting to the database");
  EXPECT_EQ(English(IDS_CANCEL), "Cancel");
  EXPECT_EQ(German(IDS_CANCEL), "Abbrechen");
}

TEST_F(StringTableTest, ShellTextsAreExact) {
  EXPECT_EQ(German(IDS_YES), "Ja");
  EXPECT_EQ(German(IDS_NO), "Nein");
  EXPECT_EQ(English(IDS_YES), "Yes");
  EXPECT_EQ(English(IDS_NO), "No");
  EXPECT_EQ(German(IDS_STATUS_DATABASE), "Datenbank: ");  // the trailing blank matters
  EXPECT_EQ(English(IDS_STATUS_DATABASE), "Database:");
  EXPECT_EQ(German(IDS_GETTING_DATA), "Bitte warten ... Daten werden gelesen.");
  EXPECT_EQ(English(IDS_GETTING_DATA), "Getting data ... please wait");
  EXPECT_EQ(German(IDS_CONFIRM_DELETE_DSN), "Möchten Sie die Datenquelle %s wirklich löschen");
  EXPECT_EQ(English(IDS_SORT_BY), "by %s");
  EXPECT_EQ(German(IDS_SORT_BY), "nach %s");
  EXPECT_EQ(German(IDS_MENU_ABOUT), "über den Datrova...");
  EXPECT_EQ(German(IDS_HDR_TABLE_OWNER), "Eigentümer");
  EXPECT_EQ(English(IDS_MENU_ODBC_ADMIN), "&ODBC administrator...");
  EXPECT_EQ(German(IDS_MENU_OPEN), "&Öffnen");
}

TEST_F(StringTableTest, RegistrationAndShortcutTextsAreExact) {
  EXPECT_EQ(English(IDS_SHORTCUT_TYPE), "Datrova-Shortcut");
  EXPECT_EQ(English(IDS_VERB_EXECUTE), "&Execute");
  EXPECT_EQ(English(IDS_SHORTCUT_FILTER), "Datrova-Shortcuts (*.dtq)@*.dtq@");
  // The save dialog turns every "@" into NUL: the filter must end in "@" so
  // the list ends in a double NUL, in both languages.
  const std::string filter = German(IDS_SHORTCUT_FILTER);
  ASSERT_FALSE(filter.empty());
  EXPECT_EQ(filter.back(), '@');
  EXPECT_EQ(std::count(filter.begin(), filter.end(), '@'), 2);
  EXPECT_EQ(English(IDS_CLASS_INFOTIP),
            "The Datrova shows the structure and data of ODBC-Datasources.");
  EXPECT_EQ(English(IDS_UNINSTALL_TITLE), "Datrova");
}

TEST_F(StringTableTest, RichEditMessageIsGermanInBothTables) {
  const std::string sentence =
      "Die Datei RICHED32.DLL konnte nicht geladen werden. Das Bearbeiten von SQL-Statement "
      "wird nicht möglich sein.";
  EXPECT_EQ(German(IDS_RICHEDIT_MISSING), sentence);
  EXPECT_EQ(English(IDS_RICHEDIT_MISSING), sentence);
}

TEST_F(StringTableTest, LoadResStringCutsToTheBuffer) {
  g_languageOffset = kEnglishOffset;
  char buffer[5];
  EXPECT_EQ(LoadResString(IDS_GETTING_DATA, buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "Gett");
  EXPECT_EQ(LoadResString(IDS_MENU_ABOUT + 500, buffer, sizeof buffer), 0);
}

}  // namespace
