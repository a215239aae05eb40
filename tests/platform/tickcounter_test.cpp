#include "platform/os/tickcounter.h"

#include <gtest/gtest.h>

#include "platform/color.h"

TEST(TickCounter, SpanIsTakenModulo2To32) {
  EXPECT_EQ(tickSpan(1500u, 500u), 1000u);
  // The counter wrapped between the two readings.
  EXPECT_EQ(tickSpan(200u, 0xFFFFFF00u), 456u);
  EXPECT_EQ(tickSpan(0u, 0xFFFFFFFFu), 1u);
}

TEST(TickCounter, RealCounterDoesNotRunBackwards) {
  QtTickCounter tick;
  const quint32 a = tick.now();
  const quint32 b = tick.now();
  EXPECT_LT(tickSpan(b, a), 1000u);
}

TEST(Color, ChannelsRoundTripAndSystemColoursResolve) {
  EXPECT_EQ(toQColor(colors::navy), QColor(0, 0, 128));
  EXPECT_EQ(toQColor(0x2070D0), QColor(0xD0, 0x70, 0x20));
  EXPECT_EQ(fromQColor(QColor(0xD0, 0x70, 0x20)), 0x2070D0u);
  EXPECT_TRUE(isSystemColor(colors::btnShadow));
  EXPECT_FALSE(isSystemColor(colors::white));
  EXPECT_TRUE(toQColor(colors::btnHighlight).isValid());
}
