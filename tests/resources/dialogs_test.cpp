// Dialog texts: captions and control texts of both languages, and the data
// search dialogs that exist once.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "library/res/dialogs.h"
#include "library/res/resource_ids.h"
#include "library/shell/module_state.h"

namespace {

class DialogTextTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = g_languageOffset; }
  void TearDown() override { g_languageOffset = saved_; }
  static std::string Text(UINT offset, UINT dialog, int control) {
    g_languageOffset = offset;
    return DialogText(dialog, control);
  }
  static std::string Caption(UINT offset, UINT dialog) {
    g_languageOffset = offset;
    return DialogCaption(dialog);
  }

 private:
  UINT saved_ = 0;
};

constexpr UINT kDe = 0;
constexpr UINT kEn = kEnglishOffset;

TEST_F(DialogTextTest, EveryTemplateHasACaptionInBothLanguages) {
  for (UINT id : {IDD_ABOUT, IDD_STATEMENT_EDITOR, IDD_LOGIN, IDD_PARAMETERS, IDD_PAGE_COLUMN,
                  IDD_PAGE_DSN, IDD_PAGE_SETTINGS, IDD_PAGE_PROCEDURE, IDD_PAGE_FOREIGN_KEYS,
                  IDD_PAGE_INDEXES, IDD_PAGE_PRIVILEGES, IDD_PAGE_PRIMARY_KEYS, IDD_FIND_DATA,
                  IDD_FIND_RESULT}) {
    EXPECT_FALSE(Caption(kDe, id).empty()) << "dialog " << id;
    EXPECT_FALSE(Caption(kEn, id).empty()) << "dialog " << id + kEn;
  }
}

TEST_F(DialogTextTest, EveryDialogHasTheSameControlsInBothLanguages) {
  for (UINT id = 1; id <= 14; ++id) {
    const DialogDef* de = FindDialogDef(id);
    const DialogDef* en = FindDialogDef(id + kEn);
    ASSERT_EQ(de == nullptr, en == nullptr) << "dialog " << id;
    if (!de) continue;
    std::set<int> idsDe, idsEn;
    for (size_t i = 0; i < de->controlCount; ++i) {
      EXPECT_TRUE(idsDe.insert(de->controls[i].controlId).second) << "dialog " << id;
      EXPECT_NE(std::string(de->controls[i].text), "") << "dialog " << id;
    }
    for (size_t i = 0; i < en->controlCount; ++i) {
      EXPECT_TRUE(idsEn.insert(en->controls[i].controlId).second) << "dialog " << id + kEn;
      EXPECT_NE(std::string(en->controls[i].text), "") << "dialog " << id + kEn;
    }
    EXPECT_EQ(idsDe, idsEn) << "dialog " << id;
  }
}

TEST_F(DialogTextTest, LoginDialogTexts) {
  EXPECT_EQ(Caption(kEn, IDD_LOGIN), "Login to Database");
  EXPECT_EQ(Caption(kDe, IDD_LOGIN), "Anmeldung an der Datenbank");
  EXPECT_EQ(Text(kEn, IDD_LOGIN, IDC_LOGIN_USER), "&Loginname:");
  EXPECT_EQ(Text(kEn, IDD_LOGIN, IDC_LOGIN_PASSWORD), "&Password:");
  EXPECT_EQ(Text(kEn, IDD_LOGIN, IDC_LOGIN_SAVE_PASSWORD), "&Save Password");
  EXPECT_EQ(Text(kDe, IDD_LOGIN, IDC_CANCEL), "Abbrechen");
  EXPECT_EQ(Text(kEn, IDD_LOGIN, IDC_CANCEL), "Cancel");
}

TEST_F(DialogTextTest, PropertyPageTexts) {
  EXPECT_EQ(Text(kDe, IDD_PAGE_DSN, IDC_DSN_CLEAR_LOGIN), "User und Passwort &löschen");
  EXPECT_EQ(Text(kEn, IDD_PAGE_DSN, IDC_DSN_LONG_LIST), "&Long list");
  EXPECT_EQ(Caption(kDe, IDD_PAGE_COLUMN), "Spalte");
  EXPECT_EQ(Text(kDe, IDD_PAGE_COLUMN, IDC_COL_SCALE), "Nachkomma:");
  EXPECT_EQ(Text(kEn, IDD_PAGE_COLUMN, IDC_COL_NULLABLE), "Nullable");
  EXPECT_EQ(Text(kDe, IDD_PAGE_PROCEDURE, IDC_PROC_NOT_IMPLEMENTED), "Noch nicht implementiert. ");
  EXPECT_EQ(Text(kEn, IDD_PAGE_PROCEDURE, IDC_PROC_NOT_IMPLEMENTED), "Not yet implemented");
  EXPECT_EQ(Caption(kDe, IDD_PAGE_PRIMARY_KEYS), "Tabellen Primärschlüssel");
  EXPECT_EQ(Caption(kEn, IDD_PAGE_INDEXES), "Table Indexes");
  EXPECT_EQ(Text(kEn, IDD_PAGE_SETTINGS, IDC_SET_MAXROW), "Maximal &Rows (unlimited):");
  EXPECT_EQ(Text(kDe, IDD_PAGE_SETTINGS, IDC_SET_MAXROW), "Maximale &Zeilen (0=unbegrenzt):");
  EXPECT_EQ(Text(kEn, IDD_PAGE_SETTINGS, IDC_SET_RESULTS_GROUP), "Results of selections");
  EXPECT_EQ(Text(kDe, IDD_PAGE_SETTINGS, IDC_SET_DELETE_PASSWORDS), "&Alle Passwörter löschen");
  EXPECT_EQ(Text(kEn, IDD_PAGE_SETTINGS, IDC_SET_PRODUCT).rfind("Datrova Version 2.2", 0), 0u);
  // The about box carries the German caption in both languages.
  EXPECT_EQ(Caption(kEn, IDD_ABOUT), "Über den Datrova");
  EXPECT_EQ(Text(kEn, IDD_ABOUT, IDC_WEBSITE), "&Web-Site");
  EXPECT_EQ(Text(kDe, IDD_ABOUT, IDC_WEBSITE), "&Web-Seite");
}

TEST_F(DialogTextTest, DataSearchDialogsExistOnceAndAnswerUnderBothIds) {
  EXPECT_EQ(FindDialogDef(IDD_FIND_DATA), FindDialogDef(IDD_FIND_DATA + kEn));
  EXPECT_EQ(FindDialogDef(IDD_FIND_RESULT), FindDialogDef(IDD_FIND_RESULT + kEn));
  for (UINT offset : {kDe, kEn}) {
    EXPECT_EQ(Caption(offset, IDD_FIND_DATA), "Find Data");
    EXPECT_EQ(Caption(offset, IDD_FIND_RESULT), "Find Result");
    EXPECT_EQ(Text(offset, IDD_FIND_DATA, IDC_FIND_DSN), "DSN to be seached (t.ex. 'PROD_DB,DBFR*')");
    EXPECT_EQ(Text(offset, IDD_FIND_DATA, IDC_FIND_TYPE_STRING), "String (char, varchar, ...)");
    EXPECT_EQ(Text(offset, IDD_FIND_DATA, IDC_CANCEL), "Abbrechen");
    EXPECT_EQ(Text(offset, IDD_FIND_RESULT, IDC_CANCEL), "Cancel");
  }
}

TEST_F(DialogTextTest, UnknownDialogsAndControlsGiveEmptyTexts) {
  EXPECT_EQ(FindDialogDef(14), nullptr);
  EXPECT_EQ(Caption(kEn, 2), "");
  EXPECT_EQ(Text(kEn, IDD_LOGIN, 4711), "");
  EXPECT_EQ(Text(kDe, IDD_PAGE_INDEXES, IDC_TABLE_LIST), "");
}

}  // namespace
