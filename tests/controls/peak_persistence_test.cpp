// The meter's properties in the host's property bag.
#include "controls/peak/qzvPeak.h"
#include "platform/com/property_bag.h"
#include "tests/controls/app_first.h"

#include <gtest/gtest.h>

namespace {

using C = qzvPeak::Column;

class PeakPersistence : public ::testing::Test {
protected:
    controls_tests::AppFirst app;
};

TEST_F(PeakPersistence, WritesInItsOwnOrderWithDefaults) {
    qzvPeak meter;
    com::PropertyBag bag;
    meter.WriteProperties(bag);
    EXPECT_EQ(bag.keys(), QStringList({"Enabled", "BackStyle", "RPeak", "LPeak"}));
    EXPECT_FALSE(bag.readProperty("Enabled").toBool());
    EXPECT_EQ(bag.readProperty("BackStyle").toInt(), 1);
    EXPECT_EQ(bag.readProperty("RPeak").toInt(), 0);
    EXPECT_EQ(bag.readProperty("LPeak").toInt(), 0);
}

TEST_F(PeakPersistence, RoundTripStoresLevelsWithoutLighting) {
    qzvPeak source;
    source.setEnabled(true);
    source.setBackStyle(0);
    source.setLPeak(300);
    source.setRPeak(90);
    com::PropertyBag bag;
    source.WriteProperties(bag);

    qzvPeak copy;
    copy.tmrLpeakHold_Timer();
    copy.tmrRpeakHold_Timer();
    copy.ReadProperties(bag);
    EXPECT_TRUE(copy.Enabled());
    EXPECT_EQ(copy.BackStyle(), 0);
    EXPECT_FALSE(copy.testAttribute(Qt::WA_OpaquePaintEvent)) << "back style applied at once";
    EXPECT_EQ(copy.LPeak(), 128);
    EXPECT_EQ(copy.RPeak(), 90);
    EXPECT_EQ(copy.top(C::Left), -1);
    EXPECT_EQ(copy.top(C::Right), -1);
    EXPECT_TRUE(copy.isEnabled()) << "Enabled is stored only";
}

TEST_F(PeakPersistence, MissingKeysTakeTheirDefaults) {
    qzvPeak meter;
    meter.setEnabled(true);
    meter.setBackStyle(0);
    meter.setLPeak(50);
    meter.ReadProperties(com::PropertyBag());
    EXPECT_FALSE(meter.Enabled());
    EXPECT_EQ(meter.BackStyle(), 1);
    EXPECT_EQ(meter.LPeak(), 0);
    EXPECT_EQ(meter.RPeak(), 0);
}

} // namespace
