// The Reg* functions: Windows' rules for names, sizes, deletion, handles and
// enumeration, and what reaches the hive files.
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "registry_sandbox.h"

namespace {

using std::string;
using namespace std::string_literals;

class RegistryApi : public RegistrySandbox {};

std::string Bytes(const char* data, size_t size) { return std::string(data, size); }

TEST_F(RegistryApi, SmallHiveHasExactText) {
  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova");
  ASSERT_NE(key, nullptr);
  SetDword(key, "MaxCol", 100);
  SetString(key, "NullValue", "(NULL)");
  SetString(key, "", "Datrova 2.2");
  SetString(key, "Path", "C:\\Tools \"quoted\"");
  const BYTE blob[] = {0x01, 0xAB, 0x00};
  ASSERT_EQ(RegSetValueExA(key, "Display Settings", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
  CreateKey(key, "DSN");

  EXPECT_EQ(ReadFile(HivePath("HKEY_CURRENT_USER")),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Brenmoor]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Brenmoor\\Datrova]\n"
            "@=\"Datrova 2.2\"\n"
            "\"Display Settings\"=hex:01,ab,00\n"
            "\"MaxCol\"=dword:00000064\n"
            "\"NullValue\"=\"(NULL)\"\n"
            "\"Path\"=\"C:\\\\Tools \\\"quoted\\\"\"\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Brenmoor\\Datrova\\DSN]\n"
            "\n");
  // Nothing went to the other hives.
  struct stat st;
  EXPECT_NE(stat(HivePath("HKEY_LOCAL_MACHINE").c_str(), &st), 0);
}

TEST_F(RegistryApi, EveryTypeSurvivesTheFile) {
  HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Types");
  std::string big;
  for (int i = 0; i < 300; ++i) big.push_back(static_cast<char>(i * 7));
  const std::string multi = Bytes("one\0two\0\0", 9);
  const std::string expand = "%HOME%/x";
  const DWORD dword = 0xA0000040u;
  struct Case {
    const char* name;
    DWORD type;
    std::string written;
    std::string read;
  } cases[] = {
      {"sz", REG_SZ, "Grüße \"x\" \\y\0"s, "Grüße \"x\" \\y\0"s},
      {"lines", REG_SZ, "a\nb\r\n\0"s, "a\nb\r\n\0"s},
      {"empty", REG_SZ, "\0"s, "\0"s},
      {"expand", REG_EXPAND_SZ, expand + '\0', expand + '\0'},
      {"multi", REG_MULTI_SZ, multi, multi},
      {"dword", REG_DWORD, Bytes(reinterpret_cast<const char*>(&dword), 4), Bytes(reinterpret_cast<const char*>(&dword), 4)},
      {"short dword", REG_DWORD, Bytes("\x05\x00", 2), Bytes("\x05\x00", 2)},
      {"binary", REG_BINARY, big, big},
      {"no bytes", REG_BINARY, "", ""},
      {"none", REG_NONE, Bytes("\x00\x01", 2), Bytes("\x00\x01", 2)},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(RegSetValueExA(key, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.written.data()),
                             static_cast<DWORD>(c.written.size())),
              ERROR_SUCCESS)
        << c.name;
  }
  PlatformRegistryReset();  // from here on everything comes from the file
  for (const Case& c : cases) {
    const Value v = Query(key, c.name);
    EXPECT_EQ(v.type, c.type) << c.name;
    EXPECT_EQ(v.data, c.read) << c.name;
  }
  // Long hex lines are wrapped like the Windows editor's, none over 80 columns.
  const std::string text = ReadFile(HivePath("HKEY_LOCAL_MACHINE"));
  EXPECT_NE(text.find(",\\\n  "), std::string::npos) << text;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
    start = end + 1;
  }
  EXPECT_NE(text.find("\"dword\"=dword:a0000040\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"none\"=hex(0):00,01\n"), std::string::npos) << text;
}

TEST_F(RegistryApi, NamesIgnoreCaseAndKeepIt) {
  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova\\DSN");
  SetString(key, "Sales", "first");
  SetString(key, "SALES", "second");
  SetString(key, "Ärger", "umlaut");

  HKEY again = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\brenmoor\\DATROVA\\dsn", 0, KEY_READ, &again), ERROR_SUCCESS);
  EXPECT_EQ(Query(again, "sales").data, Bytes("second\0", 7));
  EXPECT_EQ(Query(again, "ärger").data, Bytes("umlaut\0", 7));

  char name[64];
  DWORD cch = sizeof name;
  ASSERT_EQ(RegEnumValueA(again, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Sales");  // the first spelling stays
  EXPECT_EQ(cch, 5u);
  cch = sizeof name;
  ASSERT_EQ(RegEnumValueA(again, 1, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Ärger");
  cch = sizeof name;
  EXPECT_EQ(RegEnumValueA(again, 2, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

  HKEY sw = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, KEY_READ, &sw), ERROR_SUCCESS);
  cch = sizeof name;
  ASSERT_EQ(RegEnumKeyExA(HKEY_CURRENT_USER, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Software");
  cch = sizeof name;
  EXPECT_EQ(RegEnumKeyExA(HKEY_CURRENT_USER, 1, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(sw);
  RegCloseKey(again);
}

TEST_F(RegistryApi, QuerySizesFollowWindows) {
  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Sizes");
  SetString(key, "text", "abc");
  DWORD type = 0;
  DWORD size = 0;
  ASSERT_EQ(RegQueryValueExA(key, "text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 4u);  // NUL included

  char buf[8] = "zzzzzzz";
  size = 3;
  type = 0;
  ASSERT_EQ(RegQueryValueExA(key, "text", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_STREQ(buf, "zzzzzzz");  // untouched
  size = 4;
  ASSERT_EQ(RegQueryValueExA(key, "text", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size), ERROR_SUCCESS);
  EXPECT_EQ(string(buf, 4), Bytes("abc\0", 4));

  // A text without its NUL in cbData still reads back terminated; one with
  // an inner NUL is kept up to it.
  ASSERT_EQ(RegSetValueExA(key, "bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("xyz"), 3), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, "bare").data, Bytes("xyz\0", 4));
  ASSERT_EQ(RegSetValueExA(key, "inner", 0, REG_SZ, reinterpret_cast<const BYTE*>("ab\0cd"), 6), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, "inner").data, Bytes("ab\0", 3));

  SetDword(key, "num", 7);
  size = 0;
  ASSERT_EQ(RegQueryValueExA(key, "num", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  DWORD num = 0;
  size = 2;
  EXPECT_EQ(RegQueryValueExA(key, "num", nullptr, nullptr, reinterpret_cast<BYTE*>(&num), &size), ERROR_MORE_DATA);
  EXPECT_EQ(num, 0u);

  size = sizeof buf;
  EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(key, "text", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), nullptr),
            ERROR_INVALID_PARAMETER);
  // Enumeration hands out data by the same rules.
  char name[16];
  DWORD cch = 2;
  size = 0;
  EXPECT_EQ(RegEnumValueA(key, 0, name, &cch, nullptr, nullptr, nullptr, &size), ERROR_MORE_DATA);  // "bare" needs 5
  cch = sizeof name;
  size = 1;
  EXPECT_EQ(RegEnumValueA(key, 0, name, &cch, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
}

TEST_F(RegistryApi, DeleteRules) {
  HKEY datrova = CreateKey(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova");
  HKEY dsn = CreateKey(datrova, "DSN");
  SetString(dsn, "Sales", "login");
  SetString(datrova, nullptr, "default");

  // A key with subkeys stays, as on Windows NT.
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Query(dsn, "Sales").type, REG_SZ);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova\\Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);  // a hive's root

  // The default value goes by its empty name as well as by null.
  EXPECT_EQ(RegDeleteValueA(datrova, ""), ERROR_SUCCESS);
  EXPECT_EQ(Query(datrova, nullptr).type, 0xFFFFFFFFu);
  EXPECT_EQ(RegDeleteValueA(datrova, nullptr), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueA(dsn, "nobody"), ERROR_FILE_NOT_FOUND);

  // A key with values only goes; its open handle then reports so.
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "software\\brenmoor\\datrova\\dsn"), ERROR_SUCCESS);
  EXPECT_EQ(Query(dsn, "Sales").type, 0xFFFFFFFFu);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(dsn, "Sales", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(RegSetValueExA(dsn, "x", 0, REG_BINARY, nullptr, 0), ERROR_KEY_DELETED);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova"), ERROR_SUCCESS);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova", 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(gone, nullptr);
  EXPECT_EQ(ReadFile(HivePath("HKEY_CURRENT_USER")),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Brenmoor]\n\n");
}

TEST_F(RegistryApi, CreateOpenAndHandles) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{X}\\InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  // KEY_WRITE does not allow reading.
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExA(key, "x", 0, REG_BINARY, nullptr, 0), ERROR_INVALID_HANDLE);

  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "clsid\\{x}", 0, nullptr, 0, KEY_READ, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(RegSetValueExA(key, "x", 0, REG_BINARY, nullptr, 0), ERROR_ACCESS_DENIED);
  char name[32];
  DWORD cch = sizeof name;
  ASSERT_EQ(RegEnumKeyExA(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "InprocServer32");
  cch = 5;  // too small for the name and its NUL
  EXPECT_EQ(RegEnumKeyExA(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  RegCloseKey(key);

  // RegSetValueA writes the default value of a subkey, creating it.
  HKEY classes = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "DatrovaFile", &classes), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueA(classes, "shell\\Exec\\Command", REG_SZ, "rundll32 x,Exec EXEC \"%1\"", 0), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueA(classes, "", REG_DWORD, "x", 1), ERROR_INVALID_PARAMETER);
  HKEY command = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "DatrovaFile\\Shell\\Exec\\Command", 0, KEY_READ, &command),
            ERROR_SUCCESS);
  EXPECT_EQ(Query(command, "").data, std::string("rundll32 x,Exec EXEC \"%1\"") + '\0');
  RegCloseKey(command);
  RegCloseKey(classes);

  // Names that a hive file could not hold are refused.
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "a\nb", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, std::string(256, 'k').c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "two\nlines", 0, REG_BINARY, nullptr, 0), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegOpenKeyExA(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000003u)), "", 0, KEY_READ, &key),
            ERROR_INVALID_HANDLE);
}

TEST_F(RegistryApi, ThreadsWritingAtOnceKeepEveryValue) {
  HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Threads");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([key, t] {
      for (DWORD i = 0; i < 25; ++i) {
        const std::string name = "t" + std::to_string(t) + "-" + std::to_string(i);
        RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), sizeof i);
      }
    });
  }
  for (auto& th : threads) th.join();
  PlatformRegistryReset();
  for (int t = 0; t < 4; ++t) {
    for (DWORD i = 0; i < 25; ++i) {
      const std::string name = "t" + std::to_string(t) + "-" + std::to_string(i);
      EXPECT_EQ(Query(key, name.c_str()).data, std::string(reinterpret_cast<const char*>(&i), 4)) << name;
    }
  }
}

}  // namespace
