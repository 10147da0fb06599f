// Persistence of the meter's properties in the host's property bag.
#include "controls/peak/qzvPeak.h"

#include "platform/com/property_bag.h"

void qzvPeak::InitProperties() {
    enabled_ = false;
    left_.peak = 0;
    right_.peak = 0;
}

void qzvPeak::ReadProperties(const com::PropertyBag& bag) {
    enabled_ = bag.readProperty("Enabled", false).toBool();
    setBackStyle(static_cast<short>(bag.readProperty("BackStyle", 1).toInt()));
    // The levels are stored without lighting anything.
    left_.peak = static_cast<short>(bag.readProperty("LPeak", 0).toInt());
    right_.peak = static_cast<short>(bag.readProperty("RPeak", 0).toInt());
}

void qzvPeak::WriteProperties(com::PropertyBag& bag) const {
    bag.writeProperty("Enabled", enabled_, false);
    bag.writeProperty("BackStyle", backStyle_, short(1));
    bag.writeProperty("RPeak", right_.peak, short(0));
    bag.writeProperty("LPeak", left_.peak, short(0));
}
