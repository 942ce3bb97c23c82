// A process whose driver manager cannot be found: its own executable, since the binding is
// process-wide and loads once.
#include <gtest/gtest.h>

#include "dac/DACDatabase.h"
#include "dac/ODBCApi.h"
#include "dac/ODBCEnvironment.h"
#include "toolkit/db/DBTypes.h"

using namespace dac;

TEST(MissingDriverManager, ConnectingRaisesTheLibraryMessageAndIsRetriedLater) {
  SetODBCLibraryName("libodbc-not-here.so.2");
  EXPECT_FALSE(ODBCLibraryLoaded());
  try {
    TDACDatabase database;
    FAIL() << "a connection was created without a driver manager";
  } catch (const db::EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "ODBC library libodbc-not-here.so.2 not found in the path");
  }
  // The library is looked for again at the next call.
  SetODBCLibraryName("libodbc.so.2");
  TDACDatabase database;
  EXPECT_TRUE(ODBCLibraryLoaded());
  EXPECT_TRUE(DefaultEnvironment().Active());
  EXPECT_EQ(DefaultEnvironment().Name(), "Default");
}

TEST(MissingDriverManager, ALibraryWithoutTheEntryPointsIsRefusedAndReleased) {
  // libc has none of the ODBC names: binding fails on the first and the library is let go.
  SetODBCLibraryName("libc.so.6");
  EXPECT_THROW(LoadODBCLibrary(), std::runtime_error);
  EXPECT_EQ(odbcapi::SQLAllocConnect, nullptr);
  SetODBCLibraryName("libodbc-not-here.so.2");
  EXPECT_FALSE(ODBCLibraryLoaded());
}
