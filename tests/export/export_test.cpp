// Text buffer, RTF escaping, list renderings and the INSERT script writer.
#include <gtest/gtest.h>
#include "library/catalog/odbc_api.h"

#include <QStandardItemModel>
#include <memory>
#include <string>
#include <vector>

#include "library/query/insert_script.h"
#include "library/query/list_render.h"
#include "library/query/rtf_escape.h"
#include "library/query/text_buffer.h"
#include "platform/com/winbase.h"

namespace {

std::string Escape(std::string_view cell) {
  TextBuffer buffer;
  EXPECT_TRUE(EscapeRtfText(buffer, cell));
  return std::string(buffer.view());
}

std::unique_ptr<QStandardItemModel> MakeModel(const std::vector<std::vector<QString>>& rows) {
  auto model = std::make_unique<QStandardItemModel>(static_cast<int>(rows.size()),
                                                    rows.empty() ? 0 : static_cast<int>(rows[0].size()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      model->setItem(static_cast<int>(r), static_cast<int>(c), new QStandardItem(rows[r][c]));
  return model;
}

}  // namespace

TEST(TextBuffer, AppendsGrowsGeometricallyAndFreesItsBlock) {
  const long before = PlatformHeapLiveBlocks();
  {
    TextBuffer buffer;
    EXPECT_STREQ(buffer.text(), "");
    EXPECT_TRUE(buffer.append(static_cast<const char*>(nullptr)));
    EXPECT_EQ(buffer.length(), 0u);
    EXPECT_EQ(buffer.capacity(), 0u);

    ASSERT_TRUE(buffer.append("abc"));
    EXPECT_EQ(buffer.capacity(), 1024u);  // first block: whole kilobytes
    EXPECT_EQ(PlatformHeapLiveBlocks(), before + 1);

    std::string expected = "abc";
    size_t reallocations = 0;
    size_t lastCapacity = buffer.capacity();
    const std::string chunk(100, 'x');
    for (int i = 0; i < 20000; ++i) {
      ASSERT_TRUE(buffer.append(chunk));
      expected += chunk;
      if (buffer.capacity() != lastCapacity) {
        EXPECT_GE(buffer.capacity(), lastCapacity + lastCapacity / 2) << "growth must be geometric";
        EXPECT_EQ(buffer.capacity() % 1024, 0u);
        lastCapacity = buffer.capacity();
        ++reallocations;
      }
    }
    EXPECT_EQ(buffer.view(), expected);
    EXPECT_EQ(buffer.text()[buffer.length()], '\0');
    // 2 MB in 1 KiB steps would take about 2000 copies.
    EXPECT_LT(reallocations, 40u);
    EXPECT_EQ(PlatformHeapLiveBlocks(), before + 1);
  }
  EXPECT_EQ(PlatformHeapLiveBlocks(), before);
}

TEST(RtfEscape, EscapesEachByteClassAsTheTableSays) {
  EXPECT_EQ(Escape(""), "");
  EXPECT_EQ(Escape("abc"), " abc");
  EXPECT_EQ(Escape("a\tb"), " a\\tab b");
  EXPECT_EQ(Escape("O'Brien"), " O\\rquote Brien");
  EXPECT_EQ(Escape("'x"), "\\rquote x");
  EXPECT_EQ(Escape("\"q\""), "\\rdblquote q\\rdblquote");
  EXPECT_EQ(Escape("a\\b{c}"), " a\\\\b\\{c\\}");
  EXPECT_EQ(Escape("a\nb"), " a\\'0ab");
  EXPECT_EQ(Escape("|~\x7f"), " \\'7c\\'7e\\'7f");
  // A lone byte above 127 that is no UTF-8 sequence keeps the hex escape.
  EXPECT_EQ(Escape("\xE4"), " \\'e4");
  EXPECT_EQ(Escape("x\xE4y"), " x\\'e4y");
  // Valid UTF-8 characters become one \uN? escape each (N signed 16-bit).
  EXPECT_EQ(Escape("M\xC3\xBCller"), " M\\u252?ller");
  EXPECT_EQ(Escape("\xE2\x82\xAC"), " \\u8364?");        // euro sign U+20AC
  EXPECT_EQ(Escape("\xEF\xBF\xBD"), " \\u-3?");          // U+FFFD as signed
  EXPECT_EQ(Escape("\xF0\x9D\x84\x9E"), " \\u-10188?\\u-8930?");  // U+1D11E
  // Overlong and truncated sequences are bytes, not characters.
  EXPECT_EQ(Escape("\xC0\xAF"), " \\'c0\\'af");
  EXPECT_EQ(Escape("\xC3"), " \\'c3");
  EXPECT_EQ(Escape("'\xC3\xBC"), "\\rquote \\u252?");
}

TEST(ListRender, TextAndRichTextOfAllRowsWithoutHeader) {
  auto model = MakeModel({{"a", "b"}, {"O'x", ""}, {QString::fromUtf8("M\xC3\xBC"), "1\t2"}});
  model->setHorizontalHeaderLabels({"first", "second"});

  TextBuffer text;
  ASSERT_TRUE(RenderList(*model, ListFormat::Text, ";", text));
  EXPECT_EQ(text.view(), "a;b\r\nO'x;\r\nM\xC3\xBC;1\t2\r\n");

  TextBuffer rtf;
  ASSERT_TRUE(RenderList(*model, ListFormat::RichText, ";", rtf));
  EXPECT_EQ(rtf.view(),
            "{\\rtf1\\ansi\\deff0\\pard\\plain a\\tab b\r\n\\par O\\rquote x\\tab\r\n\\par M\\u252?\\tab "
            "1\\tab 2\r\n\\par }");

  QStandardItemModel empty(0, 3);
  TextBuffer none;
  ASSERT_TRUE(RenderList(empty, ListFormat::Text, ",", none));
  EXPECT_EQ(none.view(), "");
}

TEST(ListRender, CellsAreCutTo299Characters) {
  const QString longText(400, QChar('z'));
  const QString longUmlauts(400, QChar(0x00FC));
  auto model = MakeModel({{longText, longUmlauts}});
  TextBuffer text;
  ASSERT_TRUE(RenderList(*model, ListFormat::Text, ",", text));
  std::string expected = std::string(299, 'z') + "," + QString(299, QChar(0x00FC)).toStdString() + "\r\n";
  EXPECT_EQ(text.view(), expected);

  TextBuffer rtf;
  ASSERT_TRUE(RenderList(*model, ListFormat::RichText, ",", rtf));
  std::string body(rtf.view());
  EXPECT_NE(body.find(" " + std::string(299, 'z') + "\\tab"), std::string::npos);
  EXPECT_EQ(body.find(std::string(300, 'z')), std::string::npos);
  size_t escapes = 0;
  for (size_t at = body.find("\\u252?"); at != std::string::npos; at = body.find("\\u252?", at + 1)) ++escapes;
  EXPECT_EQ(escapes, 299u);
}

TEST(InsertScript, WritesOneStatementPerRowWithValidLiterals) {
  TextBuffer script;
  std::vector<InsertCell> row = {
      {"id", SQL_INTEGER, "7"},
      {"first name", SQL_VARCHAR, "O'Brien"},
      {"born", SQL_TYPE_DATE, "{d '1970-01-02'}"},
      {"photo", SQL_VARBINARY, "CAFE"},
      {"note", SQL_WVARCHAR, "it's"},
      {"guid", SQL_GUID, "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
      {"gone", SQL_CHAR, nullptr},
  };
  ASSERT_TRUE(AppendInsertRow(script, row));
  EXPECT_EQ(script.view(),
            "INSERT INTO XXX (id,[first name],born,photo,note,guid) VALUES "
            "(7,'O''Brien',{d '1970-01-02'},X'CAFE','it''s','6F9619FF-8B86-D011-B42D-00C04FC964FF');\r\n");

  // NULL in the bracketed column: left out of both lists of that row only.
  std::vector<InsertCell> second = {{"id", SQL_INTEGER, "8"}, {"first name", SQL_VARCHAR, nullptr}};
  ASSERT_TRUE(AppendInsertRow(script, second));
  EXPECT_NE(script.view().find("INSERT INTO XXX (id) VALUES (8);\r\n"), std::string_view::npos);

  // An all-NULL row writes nothing at all.
  const size_t before = script.length();
  std::vector<InsertCell> allNull = {{"id", SQL_INTEGER, nullptr}, {"x", SQL_VARCHAR, nullptr}};
  ASSERT_TRUE(AppendInsertRow(script, allNull));
  EXPECT_EQ(script.length(), before);

  // Empty strings are values, not NULLs.
  TextBuffer empty;
  std::vector<InsertCell> blank = {{"s", SQL_CHAR, ""}};
  ASSERT_TRUE(AppendInsertRow(empty, blank));
  EXPECT_EQ(empty.view(), "INSERT INTO XXX (s) VALUES ('');\r\n");
}

TEST(InsertScript, LiteralKindsCoverTheOdbcTypes) {
  using Types = std::vector<int>;
  for (int t : Types{SQL_CHAR, SQL_VARCHAR, SQL_LONGVARCHAR, SQL_WCHAR, SQL_WVARCHAR, SQL_WLONGVARCHAR, SQL_GUID,
                     SQL_INTERVAL_DAY})
    EXPECT_EQ(LiteralKindOf(static_cast<int16_t>(t)), LiteralKind::Quoted) << t;
  for (int t : Types{SQL_BIT, SQL_TINYINT, SQL_BIGINT, SQL_NUMERIC, SQL_DECIMAL, SQL_INTEGER, SQL_SMALLINT, SQL_FLOAT,
                     SQL_REAL, SQL_DOUBLE, SQL_DATE, SQL_TIME, SQL_TIMESTAMP, SQL_TYPE_DATE, SQL_TYPE_TIME,
                     SQL_TYPE_TIMESTAMP})
    EXPECT_EQ(LiteralKindOf(static_cast<int16_t>(t)), LiteralKind::Verbatim) << t;
  for (int t : Types{SQL_BINARY, SQL_VARBINARY, SQL_LONGVARBINARY})
    EXPECT_EQ(LiteralKindOf(static_cast<int16_t>(t)), LiteralKind::HexBinary) << t;
}
