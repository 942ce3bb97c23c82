// The login step and the trace hub.
#include <gtest/gtest.h>

#include "dac/DACDatabase.h"
#include "dac/ODBCError.h"
#include "dac/SQLMonitor.h"
#include "tests/support/TestDatabases.h"

using namespace dac;

namespace {

class ScriptedLogin : public ILoginDialog {
 public:
  ScriptedLogin(bool confirm, std::string user, std::string password)
      : confirm_(confirm), user_(std::move(user)), password_(std::move(password)) {}
  bool Execute(const std::string& dataSource, std::string& user, std::string& password) override {
    shownDataSource = dataSource;
    shownUser = user;
    if (!confirm_) return false;
    user = user_;
    password = password_;
    return true;
  }
  std::string shownDataSource, shownUser;

 private:
  bool confirm_;
  std::string user_, password_;
};

struct DialogGuard {
  explicit DialogGuard(ILoginDialog* dialog) { SetLoginDialog(dialog); }
  ~DialogGuard() { SetLoginDialog(nullptr); }
};

std::vector<std::string> withWrongPassword() {
  std::vector<std::string> params = testdb::PostgresParams();
  SetParam(params, "PWD", "wrong");
  params.push_back("DSN= /etc/odbc/mine.dsn ");
  return params;
}

TEST(LoginStep, ConfirmedDialogReplacesUserAndPasswordForThisConnectOnly) {
  ScriptedLogin dialog(true, "morvel", "morvel");
  DialogGuard guard(&dialog);
  TDACDatabase database;
  std::vector<std::string> params = withWrongPassword();
  database.SetParams(params);
  database.Open();
  EXPECT_TRUE(database.Connected());
  EXPECT_EQ(dialog.shownDataSource, "/etc/odbc/mine.dsn");
  EXPECT_EQ(dialog.shownUser, "morvel");
}

TEST(LoginStep, CancelledDialogRaisesAndAllocatesNothing) {
  ScriptedLogin dialog(false, "", "");
  DialogGuard guard(&dialog);
  TDACDatabase database;
  database.SetParams(withWrongPassword());
  try {
    database.Open();
    FAIL();
  } catch (const EODBCError&) {
    FAIL() << "must not reach the driver";
  } catch (const db::EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Operation cancelled at user's request");
  }
  EXPECT_EQ(database.Handle(), nullptr);
}

TEST(LoginStep, OnLoginSeesTheValuesAndChangesNothing) {
  TDACDatabase database;
  std::vector<std::string> params = testdb::PostgresParams();
  params.push_back("FILEDSN=/x/y/file.dsn");
  database.SetParams(params);
  std::string seenUser, seenPassword;
  database.OnLogin = [&](TODBCConnection&, const std::string& user, const std::string& password) {
    seenUser = user;
    seenPassword = password;
  };
  database.Open();
  EXPECT_EQ(seenUser, "morvel");
  EXPECT_EQ(seenPassword, "morvel");
}

TEST(LoginStep, NoPromptPassesUserAndPasswordUnchanged) {
  ScriptedLogin dialog(true, "someone", "else");
  DialogGuard guard(&dialog);
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(testdb::PostgresParams());
  database.Open();
  EXPECT_TRUE(dialog.shownUser.empty()) << "no dialog with LoginPrompt off";
}

TEST(SQLMonitorHub, NotifiesHooksByCategoryInOrder) {
  TSQLMonitor monitor;
  std::vector<std::string> calls;
  int first = monitor.AddHook(
      [&](const void*, int category, const std::string& a, const std::string&) {
        calls.push_back("1:" + std::to_string(category) + a);
      },
      0b101);
  monitor.AddHook([&](const void*, int category, const std::string&,
                      const std::string& b) { calls.push_back("2:" + std::to_string(category) + b); },
                  0b100);
  EXPECT_EQ(monitor.Count(), 2u);
  monitor.Notify(nullptr, 0, "a", "b");
  monitor.Notify(nullptr, 1, "a", "b");
  monitor.Notify(nullptr, 2, "a", "b");
  monitor.Notify(nullptr, 8, "a", "b");
  EXPECT_EQ(calls, (std::vector<std::string>{"1:0a", "1:2a", "2:2b"}));
  monitor.RemoveHook(first);
  EXPECT_EQ(monitor.Count(), 1u);
  EXPECT_EQ(SQLMonitor().Count(), 0u) << "the system itself registers no hooks";
}

}  // namespace
