#include <gtest/gtest.h>

#include <new>

#include "app/StartupError.h"
#include "common/Errors.h"

namespace wf::app {
namespace {

TEST(StartupErrorTest, TheTextNamesKindModuleAddressAndMessage) {
  EXPECT_EQ(ApplicationErrorText("EFOpenError", "wayfarer.exe", reinterpret_cast<const void*>(0x4A3B2C),
                                 "Cannot open file C:\\UO\\map0.mul"),
            "Exception EFOpenError in module wayfarer.exe at 00000000004A3B2C.\n"
            "Cannot open file C:\\UO\\map0.mul.");
  EXPECT_EQ(ApplicationErrorText("Exception", "w.exe", nullptr, "Done."),
            "Exception Exception in module w.exe at 0000000000000000.\nDone.");
}

TEST(StartupErrorTest, KindsAreTheProgramsOwnErrorNames) {
  auto kind = [](auto error) { return ErrorKind(std::make_exception_ptr(error)); };
  EXPECT_EQ(kind(EFOpenError("x")), "EFOpenError");
  EXPECT_EQ(kind(EInOutError(5)), "EInOutError");
  EXPECT_EQ(kind(EOutOfResources("Can't allocate the DIB handle")), "EOutOfResources");
  EXPECT_EQ(kind(Exception("x")), "Exception");
  EXPECT_EQ(kind(std::bad_alloc()), "EOutOfMemory");
  EXPECT_EQ(kind(std::runtime_error("x")), "Exception");
  EXPECT_EQ(kind(7), "Exception");
}

}  // namespace
}  // namespace wf::app
