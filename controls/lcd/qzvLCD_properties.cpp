// Persistence of the display's properties in the host's property bag.
// Booleans are stored as bool, integers as 16-bit values, BackColor as a
// 32-bit colour number 0x00BBGGRR (0 = black).
#include "controls/lcd/qzvLCD.h"

#include "platform/com/property_bag.h"

namespace {

const QString kNoPitch = QStringLiteral(" 0.00% ");
const QString kZeroTime = QStringLiteral("00:00:00");

qint32 toColourNumber(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QColor fromColourNumber(const QVariant& value) {
    if (value.typeId() == QMetaType::QColor)
        return value.value<QColor>();
    const qint32 n = value.toInt();
    return QColor(n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF);
}

short toShort(const QVariant& value) {
    return static_cast<short>(value.toInt());
}

} // namespace

void qzvLCD::InitProperties() {
    cueing_ = false;
    loopDir_ = 2;
    pitch_ = kNoPitch;
    loopPoint_ = kZeroTime;
    looping_ = false;
    blinkSlowWhileLooping();
    remain_ = kZeroTime;
    play_ = false;
    stopPlaying_ = false;
    pause_ = false;
    rec_ = false;
    song_.clear();
    progress_ = 0;
    loading_ = false;
    cueDir_ = 2;
}

void qzvLCD::ReadProperties(const com::PropertyBag& bag) {
    // Values are stored without running the setters' display actions; only
    // the back colour is applied at once.
    cueing_ = bag.readProperty("Cueing", false).toBool();
    loopDir_ = toShort(bag.readProperty("LoopDir", 2));
    pitch_ = bag.readProperty("Pitch", kNoPitch).toString();
    loopPoint_ = bag.readProperty("LoopPoint", kZeroTime).toString();
    looping_ = bag.readProperty("Looping", false).toBool();
    blinkSlowWhileLooping();
    remain_ = bag.readProperty("Remain", kZeroTime).toString();
    play_ = bag.readProperty("Play", false).toBool();
    stopPlaying_ = bag.readProperty("StopPlaying", false).toBool();
    pause_ = bag.readProperty("Pause", false).toBool();
    rec_ = bag.readProperty("Rec", false).toBool();
    song_ = bag.readProperty("Song", QString()).toString();
    progress_ = toShort(bag.readProperty("Progress", 0));
    loading_ = bag.readProperty("Loading", false).toBool();
    backColor_ = fromColourNumber(bag.readProperty("BackColor", 0));
    update();
    cueDir_ = toShort(bag.readProperty("CueDir", 2));
}

void qzvLCD::WriteProperties(com::PropertyBag& bag) const {
    bag.writeProperty("Cueing", cueing_, false);
    bag.writeProperty("LoopDir", loopDir_, short(2));
    bag.writeProperty("Pitch", pitch_, kNoPitch);
    bag.writeProperty("LoopPoint", loopPoint_, kZeroTime);
    bag.writeProperty("Looping", looping_, false);
    bag.writeProperty("Remain", remain_, kZeroTime);
    bag.writeProperty("Play", play_, false);
    bag.writeProperty("StopPlaying", stopPlaying_, false);
    bag.writeProperty("Pause", pause_, false);
    bag.writeProperty("Rec", rec_, false);
    bag.writeProperty("Song", song_, QString());
    bag.writeProperty("Progress", progress_, short(0));
    bag.writeProperty("Loading", loading_, false);
    bag.writeProperty("BackColor", toColourNumber(backColor_), 0);
    bag.writeProperty("CueDir", cueDir_, short(2));
}
