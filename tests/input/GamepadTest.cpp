// The gamepad read through SDL's own virtual controllers, which SDL maps and reports exactly
// as it does a pad on a USB port.
#include "input/Gamepad.h"
#include "support/TestSupport.h"
#include "support/VirtualPad.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using testsupport::VirtualPad;

namespace {

std::string describe(const std::vector<PadEvent>& events)
{
    std::string text;
    for (const PadEvent& e : events) {
        text += std::string(e.pressed ? "+" : "-") + padButtonName(e.button) + " ";
    }
    return text;
}

// A Gamepad that has already opened one virtual pad.
class GamepadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gamepad.started());
        pad = std::make_unique<VirtualPad>("Test Pad");
        ASSERT_TRUE(pad->ok());
        testsupport::StdoutCapture log;
        EXPECT_EQ(describe(gamepad.poll()), "");
        EXPECT_EQ(log.finish(), "gamepad connected: Test Pad\n");
        ASSERT_EQ(gamepad.padCount(), 1);
    }
    void TearDown() override { pad.reset(); }

    Gamepad gamepad;
    std::unique_ptr<VirtualPad> pad;
};

} // namespace

TEST_F(GamepadTest, HoldingAButtonGivesOnePressThenOneRelease)
{
    pad->press(PadButton::A);
    EXPECT_EQ(describe(gamepad.poll()), "+A ");
    // Held over many steps: no repeats.
    for (int step = 0; step < 30; ++step) {
        EXPECT_EQ(describe(gamepad.poll()), "") << "step " << step;
    }
    pad->release(PadButton::A);
    EXPECT_EQ(describe(gamepad.poll()), "-A ");
    EXPECT_EQ(describe(gamepad.poll()), "");

    // A tap shorter than a step still counts, press before release.
    pad->press(PadButton::Start);
    pad->release(PadButton::Start);
    EXPECT_EQ(describe(gamepad.poll()), "+Start -Start ");

    // Every button the game uses, in the order pressed; the others are ignored.
    for (PadButton b : {PadButton::Y, PadButton::Up, PadButton::B, PadButton::Down, PadButton::X, PadButton::Left,
                        PadButton::Right}) {
        pad->press(b);
    }
    EXPECT_EQ(describe(gamepad.poll()), "+Y +Up +B +Down +X +Left +Right ");
}

TEST_F(GamepadTest, StickHasADeadZoneAndDoesNotChatterNearTheEdge)
{
    pad->stick(PAD_STICK_PRESS - 1, -(PAD_STICK_PRESS - 1));
    EXPECT_EQ(describe(gamepad.poll()), "") << "inside the dead zone";

    pad->stick(PAD_STICK_PRESS, 0);
    EXPECT_EQ(describe(gamepad.poll()), "+Right ");
    // A stick wobbling around the press threshold, and falling back towards the release one,
    // stays one press.
    for (int value : {PAD_STICK_PRESS - 300, PAD_STICK_PRESS + 300, PAD_STICK_PRESS - 300, PAD_STICK_RELEASE}) {
        pad->stick(value, 0);
        EXPECT_EQ(describe(gamepad.poll()), "") << "at " << value;
    }
    pad->stick(PAD_STICK_RELEASE - 1, 0);
    EXPECT_EQ(describe(gamepad.poll()), "-Right ");
    pad->stick(PAD_STICK_PRESS - 1, 0);
    EXPECT_EQ(describe(gamepad.poll()), "") << "released: needs the press threshold again";

    // Up is negative y; diagonals hold both directions. Within a step, events come in the
    // order SDL saw them: x before y.
    pad->stick(-32768, -32768);
    EXPECT_EQ(describe(gamepad.poll()), "+Left +Up ");
    // Swung through the centre in one step: let go first, then pushed.
    pad->stick(32767, -32768);
    EXPECT_EQ(describe(gamepad.poll()), "-Left +Right ");
    pad->stick(0, 32767);
    EXPECT_EQ(describe(gamepad.poll()), "-Right -Up +Down ");
    pad->stick(0, 0);
    EXPECT_EQ(describe(gamepad.poll()), "-Down ");
}

TEST_F(GamepadTest, DpadStickAndSeveralPadsHoldingTheSameButtonAreOnePress)
{
    pad->press(PadButton::Left);
    pad->stick(-32768, 0);
    EXPECT_EQ(describe(gamepad.poll()), "+Left ");
    pad->release(PadButton::Left);
    EXPECT_EQ(describe(gamepad.poll()), "") << "the stick still holds left";
    pad->stick(0, 0);
    EXPECT_EQ(describe(gamepad.poll()), "-Left ");

    VirtualPad second("Second Pad");
    ASSERT_TRUE(second.ok());
    testsupport::StdoutCapture log;
    gamepad.poll();
    EXPECT_EQ(log.finish(), "gamepad connected: Second Pad\n");
    EXPECT_EQ(gamepad.padCount(), 2);

    second.press(PadButton::A);
    EXPECT_EQ(describe(gamepad.poll()), "+A ") << "any pad drives the game";
    pad->press(PadButton::A);
    EXPECT_EQ(describe(gamepad.poll()), "");
    second.release(PadButton::A);
    EXPECT_EQ(describe(gamepad.poll()), "");
    pad->release(PadButton::A);
    EXPECT_EQ(describe(gamepad.poll()), "-A ");
}

TEST_F(GamepadTest, UnpluggingReleasesWhatThePadHeldAndSaysSoOnce)
{
    pad->press(PadButton::B);
    pad->stick(0, 32767);
    EXPECT_EQ(describe(gamepad.poll()), "+B +Down ");

    testsupport::StdoutCapture log;
    pad->detach();
    EXPECT_EQ(describe(gamepad.poll()), "-Down -B ");
    for (int step = 0; step < 5; ++step) {
        EXPECT_EQ(describe(gamepad.poll()), "");
    }
    pad->press(PadButton::A);   // on a detached pad: nothing, and no crash
    EXPECT_EQ(describe(gamepad.poll()), "");
    EXPECT_EQ(log.finish(), "gamepad disconnected: Test Pad\n");
    EXPECT_EQ(gamepad.padCount(), 0);

    // Plugged in again: a new pad as far as the game knows, starting with nothing held.
    testsupport::StdoutCapture again;
    VirtualPad back("Test Pad");
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(describe(gamepad.poll()), "");
    back.press(PadButton::X);
    EXPECT_EQ(describe(gamepad.poll()), "+X ");
    EXPECT_EQ(again.finish(), "gamepad connected: Test Pad\n");
}

TEST(Gamepad, PollsWithoutAnyPadAndLetsTheLastUserShutSdlDown)
{
    {
        Gamepad gamepad;
        ASSERT_TRUE(gamepad.started());
        testsupport::StdoutCapture log;
        for (int step = 0; step < 3; ++step) {
            EXPECT_EQ(describe(gamepad.poll()), "");
        }
        EXPECT_EQ(gamepad.padCount(), 0);
        EXPECT_EQ(log.finish(), "");
    }
    // A second start after a full shutdown reads pads as the first did.
    Gamepad gamepad;
    ASSERT_TRUE(gamepad.started());
    VirtualPad pad("Late Pad");
    ASSERT_TRUE(pad.ok());
    testsupport::StdoutCapture log;
    gamepad.poll();
    pad.press(PadButton::Start);
    EXPECT_EQ(describe(gamepad.poll()), "+Start ");
    EXPECT_EQ(log.finish(), "gamepad connected: Late Pad\n");
}
