#include "ui/HandlerErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "Fakes.h"
#include "common/Errors.h"

namespace wf::ui {
namespace {

using testing::FakeMessageBoxes;

TEST(HandlerErrors, AnErrorIsShownOnceWithTheTitleAndTheFullStopRule) {
  struct Case {
    std::function<void()> handler;
    std::string text;
  } cases[] = {
      {[] { throw EConvertError("'x' is not a valid integer value"); }, "'x' is not a valid integer value."},
      {[] { throw EListError(2); }, "List index out of bounds (2)"},
      {[] { throw EFCreateError("C:\\wf\\locations.txt"); }, "Cannot create file C:\\wf\\locations.txt."},
      {[] { throw std::runtime_error("ends in a stop."); }, "ends in a stop."},
      {[] { throw std::runtime_error(""); }, ""},
      {[] { throw 42; }, "An unknown error occurred."},
      {[] { throw std::bad_alloc(); }, "Out of memory."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FakeMessageBoxes boxes;
    int titles = 0;
    EXPECT_FALSE(RunHandler(c.handler, boxes, [&] {
      ++titles;
      return std::string("wayfarer");
    }));
    EXPECT_EQ(titles, 1);
    ASSERT_EQ(boxes.boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes.boxes[0].caption, "wayfarer");
    EXPECT_EQ(boxes.boxes[0].text, c.text);
  }
}

TEST(HandlerErrors, AHandlerThatSucceedsShowsNothingAndNeverAsksForTheTitle) {
  FakeMessageBoxes boxes;
  int runs = 0;
  int titles = 0;
  EXPECT_TRUE(RunHandler([&] { ++runs; }, boxes, [&] {
    ++titles;
    return std::string("wayfarer");
  }));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(titles, 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace wf::ui
