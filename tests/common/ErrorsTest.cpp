#include "common/Errors.h"

#include <gtest/gtest.h>

namespace wf {
namespace {

TEST(Errors, IoErrorMessagesFollowTheCodeTable) {
  EXPECT_EQ(IoErrorMessage(2), "File not found");
  EXPECT_EQ(IoErrorMessage(3), "Invalid filename");
  EXPECT_EQ(IoErrorMessage(4), "Too many open files");
  EXPECT_EQ(IoErrorMessage(5), "File access denied");
  EXPECT_EQ(IoErrorMessage(100), "Read beyond end of file");
  EXPECT_EQ(IoErrorMessage(101), "Disk full");
  EXPECT_EQ(IoErrorMessage(106), "Invalid numeric input");
  EXPECT_EQ(IoErrorMessage(32), "I/O error 32");
  EXPECT_STREQ(EInOutError(5).what(), "File access denied");
  EXPECT_EQ(EInOutError(5).ErrorCode(), 5);
}

TEST(Errors, FileAndListMessages) {
  EXPECT_STREQ(EFOpenError("C:\\x.mul").what(), "Cannot open file C:\\x.mul");
  EXPECT_STREQ(EFCreateError("locations.txt").what(), "Cannot create file locations.txt");
  EXPECT_STREQ(EFCreateError("locations.txt", "No space left on device").what(),
               "Cannot create file locations.txt: No space left on device");
  EXPECT_STREQ(EListError(2).what(), "List index out of bounds (2)");
  EXPECT_STREQ(EListError(2).KindName(), "EListError");
}

TEST(Errors, FullStopIsAddedOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(WithFullStop("File not found"), "File not found.");
  EXPECT_EQ(WithFullStop("List index out of bounds (2)"), "List index out of bounds (2)");  // ')' < '.'
  EXPECT_EQ(WithFullStop("'x' is not a valid integer value"), "'x' is not a valid integer value.");
  EXPECT_EQ(WithFullStop("Done."), "Done.");
  EXPECT_EQ(WithFullStop("Path /"), "Path /.");          // '/' sorts after '.'
  EXPECT_EQ(WithFullStop("Stop!"), "Stop!");             // '!' sorts before '.'
  EXPECT_EQ(WithFullStop("Umlaut \xE4"), "Umlaut \xE4.");  // bytes above 127 count unsigned
  EXPECT_EQ(WithFullStop(""), "");
}

}  // namespace
}  // namespace wf
