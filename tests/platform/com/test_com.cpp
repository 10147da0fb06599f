// Component errors and property bags.
#include "platform/com/com_error.h"
#include "platform/com/property_bag.h"

#include <gtest/gtest.h>

namespace {

TEST(ComError, CarriesNumberSourceAndDescription) {
    try {
        throw com::ComError(com::vbObjectError + 111, "Tagweave.clsID3v2", "File is read-only");
    } catch (const std::exception& e) {
        auto* ce = dynamic_cast<const com::ComError*>(&e);
        ASSERT_NE(ce, nullptr);
        EXPECT_EQ(static_cast<std::uint32_t>(ce->number()), 0x8004006Fu);
        EXPECT_EQ(ce->source(), "Tagweave.clsID3v2");
        EXPECT_EQ(ce->description(), "File is read-only");
        EXPECT_STREQ(e.what(), "File is read-only");
    }
}

TEST(PropertyBag, DefaultsOrderAndOverwrite) {
    com::PropertyBag bag;
    EXPECT_EQ(bag.readProperty("Song", "none").toString(), "none");
    bag.writeProperty("Song", "Intro", "");
    bag.writeProperty("Progress", 1, 1);
    bag.writeProperty("BackColor", 0xFF00, 0);
    bag.writeProperty("Song", "Outro", "");
    EXPECT_EQ(bag.keys(), (QStringList{"Song", "Progress", "BackColor"}));
    EXPECT_EQ(bag.readProperty("Song").toString(), "Outro");
    EXPECT_EQ(bag.readProperty("Progress", 50).toInt(), 1);
    bag.clear();
    EXPECT_TRUE(bag.keys().isEmpty());
    EXPECT_FALSE(bag.contains("Song"));
}

} // namespace
