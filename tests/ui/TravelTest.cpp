#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "FormRig.h"
#include "common/Errors.h"

namespace wf::ui {
namespace {

using testing::FormRig;

constexpr platform::IClientWindows::Handle kClient = 7;

// What the client window received: CR, prefix, command, CR per command.
std::string Typed(FormRig& rig) { return rig.client.Received(kClient); }

TEST(Travel, DetailRightPressesSendTheClickedCellWithTheCentresAltitude) {
  struct Case {
    uint16_t map, zoom, cx, cy;
    int8_t cz;
    int x, y;
    std::string command;
  } cases[] = {
      {2, 2, 10, 10, -3, 0, 99, "GoSelf -90 108 -3 2"},
      {0, 1, 0, 0, 0, 0, 0, "GoSelf -50 -50 0 0"},
      {3, 16, 65535, 65535, 127, 99, 99, "GoSelf 66319 66319 127 3"},
      {4, 5, 100, 200, -128, 50, 50, "GoSelf 100 200 -128 4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    FormRig rig;
    rig.client.Windows["Ultima Online"] = kClient;
    rig.config->AddPair("commandchar", ".");
    TMapForm& form = rig.Start();
    form.FMapIndex = c.map;
    form.FZoom = c.zoom;
    form.FCenterX = c.cx;
    form.FCenterY = c.cy;
    form.FCenterZ = c.cz;
    rig.eX.text = "text";
    rig.zoomMap.bitmap.SetDimensions(1, 1);
    form.ZoomMapMouseDown(TMouseButton::Right, c.x, c.y);
    EXPECT_EQ(Typed(rig), "\r." + c.command + "\r");
    EXPECT_EQ(rig.zoomMap.bitmap.Width(), 100) << "redrawn afterwards";
    EXPECT_EQ(form.FCenterX, c.cx);
    EXPECT_EQ(form.FCenterY, c.cy);
    EXPECT_EQ(form.FCenterZ, c.cz);
    EXPECT_EQ(form.FZoom, c.zoom);
    EXPECT_EQ(rig.eX.text, "text");
  }
}

TEST(Travel, GoSendsTheWindowsCentreNotTheEditFieldsAndDrawsNothing) {
  FormRig rig;
  rig.client.Windows["Ultima Online Third Dawn"] = kClient;
  TMapForm& form = rig.Start();
  form.FMapIndex = 3;
  form.FCenterX = 1030;
  form.FCenterY = 970;
  form.FCenterZ = 12;
  rig.eX.text = "500";
  const int changes = rig.zoomMap.changes + rig.mapImage.changes;
  form.btnGoClick();
  EXPECT_EQ(Typed(rig), "\rGoSelf 1030 970 12 3\r");
  EXPECT_EQ(rig.zoomMap.changes + rig.mapImage.changes, changes);
  EXPECT_EQ(form.FMapIndex, 3);
}

TEST(Travel, TheDetailPanesMiddleSendsWhatGoSends) {
  FormRig rig;
  rig.client.Windows["Ultima Online"] = kClient;
  TMapForm& form = rig.Start();
  form.ZoomMapMouseDown(TMouseButton::Left, 0, 0);  // wraps the centre to 65486
  form.FCenterZ = -7;
  form.ZoomMapMouseDown(TMouseButton::Right, 50, 50);
  form.btnGoClick();
  EXPECT_EQ(Typed(rig), "\rGoSelf 65486 65486 -7 0\r\rGoSelf 65486 65486 -7 0\r");
}

TEST(Travel, WithoutAClientTheBoxIsShownNothingIsSentAndTheViewStillRedraws) {
  FormRig rig;
  rig.client.Windows["Ultima Online Second Age"] = kClient;  // not a class it looks for
  TMapForm& form = rig.Start();
  form.FCenterX = 1;
  form.FCenterY = 2;
  form.FCenterZ = 3;
  // The box is modal: the pane must not have been redrawn while it is up.
  int widthWhileShown = -1;
  rig.boxes.onShow = [&] { widthWhileShown = rig.zoomMap.bitmap.Width(); };
  rig.zoomMap.bitmap.SetDimensions(1, 1);
  form.ZoomMapMouseDown(TMouseButton::Right, 50, 50);
  ASSERT_EQ(rig.boxes.boxes.size(), 1u);
  EXPECT_EQ(rig.boxes.boxes[0].caption, "UO Client not started");
  EXPECT_EQ(rig.boxes.boxes[0].text,
            "The Command 'GoSelf 1 2 3 0' couldn't be sent, please start your UO Client.");
  EXPECT_EQ(widthWhileShown, 1);
  EXPECT_EQ(rig.zoomMap.bitmap.Width(), 100);
  EXPECT_TRUE(rig.client.Sends.empty());

  form.btnGoClick();
  EXPECT_EQ(rig.boxes.boxes.size(), 2u);
  EXPECT_TRUE(rig.client.Sends.empty());
}

TEST(Travel, ACommandTheClientRefusedIsReportedAfterTheHandlersOwnWork) {
  struct Case {
    const char* name;
    std::function<void(TMapForm&)> press;
    bool redraws;
  };
  const Case cases[] = {
      {"detail right press", [](TMapForm& f) { f.ZoomMapMouseDown(TMouseButton::Right, 50, 50); }, true},
      {"Go", [](TMapForm& f) { f.btnGoClick(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    rig.client.Windows["Ultima Online"] = kClient;
    rig.client.FailAtSend = 0;
    rig.client.FailWith = platform::TSendOutcome::Refused;
    TMapForm& form = rig.Start();
    form.FCenterX = 4;
    form.FCenterY = 5;
    rig.zoomMap.bitmap.SetDimensions(1, 1);
    try {
      c.press(form);
      ADD_FAILURE() << "nothing reported";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()),
                "The command 'GoSelf 4 5 0 0' was not completely delivered to the game client: the "
                "client runs with higher rights than Wayfarer (as administrator), and Windows does "
                "not let a program with normal rights send to it");
    }
    EXPECT_EQ(rig.zoomMap.bitmap.Width(), c.redraws ? 100 : 1);
    EXPECT_TRUE(rig.boxes.boxes.empty());

    // Reported once: a left press afterwards is quiet again.
    rig.client.FailAtSend.reset();
    EXPECT_NO_THROW(form.ZoomMapMouseDown(TMouseButton::Left, 50, 50));
  }
}

TEST(Travel, TheCommandFollowsTheConfiguredTemplate) {
  struct Case {
    const char* name;
    const char* prefix;
    std::optional<std::string> format;  // nothing: no "commandformat" pair
    std::string typed;
    const char* refusedKey = nullptr;  // the key the message names when nothing is sent
  };
  const Case cases[] = {
      {"no template", ".", std::nullopt, "\r.GoSelf 1030 970 12 3\r"},
      {"empty template", ".", "", "\r.GoSelf 1030 970 12 3\r"},
      {"POL", ".", "goxyz {x} {y} {z} {realm}", "\r.goxyz 1030 970 12 malas\r"},
      {"a backspace in the prefix", "\x08", std::nullopt, "", "commandchar"},
      {"an escape in the template", ".", "go\x1B {x} {y}", "", "commandformat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    rig.client.Windows["Ultima Online"] = kClient;
    rig.config->AddPair("commandchar", c.prefix);
    if (c.format) rig.config->AddPair("commandformat", *c.format);
    TMapForm& form = rig.Start();
    form.FMapIndex = 3;
    form.FCenterX = 1030;
    form.FCenterY = 970;
    form.FCenterZ = 12;
    try {
      form.btnGoClick();
      EXPECT_FALSE(c.refusedKey) << "not refused";
    } catch (const Exception& e) {
      EXPECT_TRUE(c.refusedKey && std::string(e.what()).find(std::string("'") + c.refusedKey + "'") != std::string::npos)
          << e.what();
    }
    EXPECT_EQ(Typed(rig), c.typed);
    EXPECT_TRUE(rig.boxes.boxes.empty());
  }
}

TEST(Travel, AnUnusableTemplateIsReportedOnceAndTheClassicCommandSent) {
  FormRig rig;
  rig.client.Windows["Ultima Online"] = kClient;
  rig.config->AddPair("commandformat", "go {x} {y} {height}");
  TMapForm& form = rig.Start();
  form.FCenterX = 7;
  try {
    form.btnGoClick();
    ADD_FAILURE() << "nothing reported";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()),
              "The command format 'go {x} {y} {height}' cannot be used: it has the unknown "
              "placeholder {height}. The command is sent as 'GoSelf {x} {y} {z} {map}'");
  }
  EXPECT_NO_THROW(form.btnGoClick());
  EXPECT_EQ(Typed(rig), "\rGoSelf 7 0 0 0\r\rGoSelf 7 0 0 0\r");
}

TEST(Travel, WithoutAClientTheBoxShowsTheCommandAsFormatted) {
  FormRig rig;
  rig.config->AddPair("commandformat", "goxyz {x} {y} {z} {realm}");
  TMapForm& form = rig.Start();
  form.FCenterX = 1;
  form.FCenterY = 2;
  form.btnGoClick();
  ASSERT_EQ(rig.boxes.boxes.size(), 1u);
  EXPECT_EQ(rig.boxes.boxes[0].text,
            "The Command 'goxyz 1 2 0 britannia' couldn't be sent, please start your UO Client.");
}

}  // namespace
}  // namespace wf::ui
