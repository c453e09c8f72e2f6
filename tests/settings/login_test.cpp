// Saved logins: the scrambled 512-byte value per data source.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "library/catalog/settings.h"
#include "tests/settings/registry_values.h"
#include "tests/support/world.h"

namespace {

uint8_t Swap(uint8_t b) { return static_cast<uint8_t>((b << 4) | (b >> 4)); }

// Scrambles a plain 512-byte login as any writer of the layout does.
std::vector<uint8_t> Scramble(std::vector<uint8_t> plain) {
  for (size_t i = 1; i < plain.size(); ++i) plain[i] = Swap(static_cast<uint8_t>(plain[0] ^ plain[i]));
  return plain;
}
std::vector<uint8_t> Unscramble(std::vector<uint8_t> stored) {
  for (size_t i = 1; i < stored.size(); ++i) stored[i] = static_cast<uint8_t>(Swap(stored[i]) ^ stored[0]);
  return stored;
}

// The plain layout: scramble byte, user and password in UTF-16LE with their
// terminators, then the given filler byte.
std::vector<uint8_t> PlainLogin(uint8_t scrambleByte, const std::u16string& user, const std::u16string& password,
                                uint8_t filler) {
  std::vector<uint8_t> plain(512, filler);
  plain[0] = scrambleByte;
  size_t at = 1;
  for (const std::u16string* s : {&user, &password}) {
    for (char16_t c : *s + u'\0') {
      plain[at++] = static_cast<uint8_t>(c & 0xFF);
      plain[at++] = static_cast<uint8_t>(c >> 8);
    }
  }
  return plain;
}

struct Login {
  bool found;
  std::string user;
  std::string password;
};

Login Load(const char* dsn, int userSize = 255, int passwordSize = 255) {
  std::vector<char> user(static_cast<size_t>(userSize), 'x');
  std::vector<char> password(static_cast<size_t>(passwordSize), 'x');
  const bool found = LoadLogin(dsn, user.data(), userSize, password.data(), passwordSize);
  return {found, user.data(), password.data()};
}

class LoginTest : public ::testing::Test {
 protected:
  void SetUp() override { UseLibraryModuleState(1000); }
  TestWorld world_;
};

TEST_F(LoginTest, RoundTripsWhateverTheScrambleByte) {
  std::set<uint8_t> scrambleBytes;
  const std::pair<std::string, std::string> pairs[] = {
      {"sa", "secret"}, {"Müller", "päßwörd€"}, {"user", ""}, {"", "onlypassword"}, {"a b;c=d", "}{"}};
  for (int round = 0; round < 60; ++round) {
    const auto& [user, password] = pairs[round % 5];
    ASSERT_TRUE(SaveLogin("Sales", user.c_str(), password.c_str())) << round;
    const RawValue raw = ReadRaw(kLoginsKey, "Sales");
    ASSERT_EQ(raw.type, REG_BINARY);
    ASSERT_EQ(raw.data.size(), 512u);
    scrambleBytes.insert(raw.data[0]);
    const Login got = Load("Sales");
    EXPECT_TRUE(got.found) << round;
    EXPECT_EQ(got.user, user) << round;
    EXPECT_EQ(got.password, password) << round;
  }
  EXPECT_GT(scrambleBytes.size(), 10u) << "the scramble byte should vary from save to save";
}

TEST_F(LoginTest, StoredValueFollowsThePlainLayout) {
  ASSERT_TRUE(SaveLogin("Sales", "Jö", "pw"));
  const RawValue raw = ReadRaw(kLoginsKey, "Sales");
  ASSERT_EQ(raw.data.size(), 512u);
  const std::vector<uint8_t> plain = Unscramble(raw.data);
  const std::vector<uint8_t> expected = {'J', 0, 0xF6, 0, 0, 0, 'p', 0, 'w', 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(plain.begin() + 1, plain.begin() + 13), expected);
  // Two saves of the same login differ in their filler.
  ASSERT_TRUE(SaveLogin("Sales", "Jö", "pw"));
  const std::vector<uint8_t> again = Unscramble(ReadRaw(kLoginsKey, "Sales").data);
  EXPECT_NE(std::vector<uint8_t>(plain.begin() + 13, plain.end()), std::vector<uint8_t>(again.begin() + 13, again.end()));
}

TEST_F(LoginTest, ValuesOfEarlierWritersReadBack) {
  struct Case {
    uint8_t scrambleByte;
    uint8_t filler;
  };
  for (const Case c : {Case{0x00, 0x00}, Case{0xA7, 0x5C}, Case{0xFF, 0xFF}, Case{0x3C, 0x00}}) {
    SetBinary(kLoginsKey, "Legacy", Scramble(PlainLogin(c.scrambleByte, u"scott", u"tiger", c.filler)));
    const Login got = Load("Legacy");
    EXPECT_TRUE(got.found) << int(c.scrambleByte);
    EXPECT_EQ(got.user, "scott") << int(c.scrambleByte);
    EXPECT_EQ(got.password, "tiger") << int(c.scrambleByte);
  }
  // A value written by hand: scramble byte 0x21, user "A", password "b".
  std::vector<uint8_t> handMade(512, 0x12);  // stored filler
  handMade[0] = 0x21;
  const uint8_t plainHead[] = {'A', 0, 0, 0, 'b', 0, 0, 0};
  for (size_t i = 0; i < sizeof plainHead; ++i) handMade[1 + i] = Swap(static_cast<uint8_t>(0x21 ^ plainHead[i]));
  EXPECT_EQ(handMade[1], 0x06);  // swap(0x21 ^ 0x41) = swap(0x60)
  SetBinary(kLoginsKey, "Hand", handMade);
  const Login got = Load("Hand");
  EXPECT_TRUE(got.found);
  EXPECT_EQ(got.user, "A");
  EXPECT_EQ(got.password, "b");
}

TEST_F(LoginTest, DataSourceNamesIgnoreCase) {
  ASSERT_TRUE(SaveLogin("Sales", "sa", "pw"));
  const Login got = Load("SALES");
  EXPECT_TRUE(got.found);
  EXPECT_EQ(got.user, "sa");
  EXPECT_FALSE(Load("Other").found);
}

TEST_F(LoginTest, EmptyPairDeletesAndUserOnlyStoresEmptyPassword) {
  ASSERT_TRUE(SaveLogin("Sales", "sa", "pw"));
  EXPECT_TRUE(SaveLogin("Sales", "", ""));
  EXPECT_EQ(ReadRaw(kLoginsKey, "Sales").type, REG_NONE) << "the value must be gone";
  const Login none = Load("Sales");
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.user, "");
  EXPECT_EQ(none.password, "");
  EXPECT_TRUE(SaveLogin("Sales", nullptr, nullptr)) << "deleting nothing is not a failure";

  ASSERT_TRUE(SaveLogin("Sales", "reader", ""));
  const Login userOnly = Load("Sales");
  EXPECT_TRUE(userOnly.found);
  EXPECT_EQ(userOnly.user, "reader");
  EXPECT_EQ(userOnly.password, "");
}

TEST_F(LoginTest, PairTooLongForTheLayoutIsRefusedAndNothingWritten) {
  // 253 characters together fill the 512 bytes exactly (with both terminators).
  const std::string user(200, 'u');
  ASSERT_TRUE(SaveLogin("Full", user.c_str(), std::string(53, 'p').c_str()));
  const Login full = Load("Full");
  EXPECT_TRUE(full.found);
  EXPECT_EQ(full.user, user);
  EXPECT_EQ(full.password, std::string(53, 'p'));

  ASSERT_TRUE(SaveLogin("Sales", "old", "login"));
  const RawValue before = ReadRaw(kLoginsKey, "Sales");
  EXPECT_FALSE(SaveLogin("Sales", user.c_str(), std::string(54, 'p').c_str()));
  EXPECT_FALSE(SaveLogin("Sales", std::string(255, 'u').c_str(), std::string(255, 'p').c_str()));
  EXPECT_FALSE(SaveLogin("Sales", std::string(600, 'u').c_str(), ""));
  EXPECT_EQ(ReadRaw(kLoginsKey, "Sales"), before) << "a refused login must leave the saved one alone";
  EXPECT_FALSE(SaveLogin("New", std::string(300, 'u').c_str(), "p"));
  EXPECT_EQ(ReadRaw(kLoginsKey, "New").type, REG_NONE);
}

TEST_F(LoginTest, DamagedValuesAreNoLogin) {
  // Shorter than 512 bytes.
  std::vector<uint8_t> shortValue = Scramble(PlainLogin(0x11, u"a", u"b", 0));
  shortValue.resize(100);
  SetBinary(kLoginsKey, "Short", shortValue);
  Login got = Load("Short");
  EXPECT_FALSE(got.found);
  EXPECT_EQ(got.user, "");
  EXPECT_EQ(got.password, "");
  // No terminator anywhere: every plain byte is 'x'.
  std::vector<uint8_t> noTerminator(512, 'x');
  noTerminator[0] = 0x42;
  SetBinary(kLoginsKey, "NoEnd", Scramble(noTerminator));
  got = Load("NoEnd");
  EXPECT_FALSE(got.found);
  EXPECT_EQ(got.user, "");
  // A user name that ends, but a password that runs to the last byte.
  std::vector<uint8_t> openPassword = PlainLogin(0x42, u"u", u"", 'y');
  openPassword[5] = 'y';
  openPassword[6] = 'y';
  SetBinary(kLoginsKey, "OpenPw", Scramble(openPassword));
  got = Load("OpenPw");
  EXPECT_FALSE(got.found);
  EXPECT_EQ(got.user, "") << "a half-read login must not leave the user name behind";
  // Larger than 512 bytes.
  std::vector<uint8_t> longer = Scramble(PlainLogin(0x10, u"a", u"b", 0));
  longer.resize(600, 0);
  SetBinary(kLoginsKey, "Long", longer);
  EXPECT_FALSE(Load("Long").found);
}

TEST_F(LoginTest, BuffersTooSmallGiveNoLogin) {
  ASSERT_TRUE(SaveLogin("Sales", "abcdef", "pw"));
  Login got = Load("Sales", 6, 255);
  EXPECT_FALSE(got.found);
  EXPECT_EQ(got.user, "");
  EXPECT_EQ(got.password, "");
  got = Load("Sales", 7, 255);
  EXPECT_TRUE(got.found);
  EXPECT_EQ(got.user, "abcdef");
  // Fits as UTF-16 characters but not as UTF-8 bytes.
  ASSERT_TRUE(SaveLogin("Sales", "üüüü", "pw"));
  got = Load("Sales", 6, 255);
  EXPECT_FALSE(got.found);
  EXPECT_EQ(got.user, "");
}

TEST_F(LoginTest, DeleteOneAndAll) {
  ASSERT_TRUE(SaveLogin("A", "u", "p"));
  ASSERT_TRUE(SaveLogin("B", "u", "p"));
  EXPECT_TRUE(DeleteLogin("a"));
  EXPECT_FALSE(Load("A").found);
  EXPECT_TRUE(Load("B").found);
  EXPECT_TRUE(DeleteAllLogins());
  EXPECT_FALSE(Load("B").found);
  EXPECT_FALSE(KeyExists(kLoginsKey));
  EXPECT_FALSE(DeleteAllLogins()) << "nothing left to delete";
  EXPECT_TRUE(KeyExists(kSettingsKey)) << "only the logins go";
}

}  // namespace
