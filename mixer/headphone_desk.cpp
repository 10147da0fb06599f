#include "mixer/headphone_desk.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/slider.h"
#include "engine/headphones.h"

#include <QLabel>
#include <algorithm>

namespace mixer {

HeadphoneDesk::HeadphoneDesk(core::ProgramState& state, const HeadphoneControls& controls)
    : state_(state), controls_(controls) {
    for (int side = 0; side < 2; ++side)
        if (ConsoleButton* b = controls_.prelistenCB[static_cast<std::size_t>(side)])
            QObject::connect(b, &QPushButton::clicked, &connections_,
                             [this, side] { prelistenCB_Click(side); });
    if (controls_.splitCB)
        QObject::connect(controls_.splitCB, &QPushButton::clicked, &connections_,
                         [this] { splitCB_Click(); });
    for (Slider* s : {controls_.phonesMixScroll, controls_.phonesVolScroll})
        if (s)
            QObject::connect(s, &Slider::Change, &connections_, [this] { run_phones(); });
    showButtons();
}

bool HeadphoneDesk::engineStarted(const std::function<void()>& monitorOff) {
    active_ = engine::headphonesReady();
    for (QWidget* w : controls_.monitorColumn)
        w->setVisible(!active_);
    for (QWidget* w : controls_.phonesColumn)
        w->setVisible(active_);
    if (active_ && monitorOff)
        monitorOff();
    run_phones();
    return active_;
}

void HeadphoneDesk::prelistenCB_Click(int side) {
    if (!active_ || side < 0 || side > 1)
        return;
    bool& on = state_.phones.prelisten[static_cast<std::size_t>(side)];
    on = !on;
    applyPrelisten();
    showButtons();
}

void HeadphoneDesk::splitCB_Click() {
    if (!active_)
        return;
    state_.phones.split = !state_.phones.split;
    run_phones();
    showButtons();
}

void HeadphoneDesk::stepMix(int by) {
    if (active_ && controls_.phonesMixScroll)
        controls_.phonesMixScroll->setValue(std::clamp(controls_.phonesMixScroll->Value() + by,
                                                       controls_.phonesMixScroll->Min(),
                                                       controls_.phonesMixScroll->Max()));
}

void HeadphoneDesk::stepVolume(int by) {
    // The volume slider is loud at the top, where its value is lowest.
    if (active_ && controls_.phonesVolScroll)
        controls_.phonesVolScroll->setValue(std::clamp(controls_.phonesVolScroll->Value() - by,
                                                       controls_.phonesVolScroll->Min(),
                                                       controls_.phonesVolScroll->Max()));
}

void HeadphoneDesk::run_phones() {
    if (!active_ || !controls_.phonesMixScroll || !controls_.phonesVolScroll)
        return;
    const Slider& mix = *controls_.phonesMixScroll;
    const Slider& volume = *controls_.phonesVolScroll;
    engine::setHeadphoneMix(static_cast<double>(mix.Value()) / mix.Max(),
                            static_cast<double>(volume.Max() - volume.Value()) / volume.Max(),
                            state_.phones.split);
}

void HeadphoneDesk::applyPrelisten() {
    if (!active_)
        return;
    for (std::size_t side = 0; side < 2; ++side)
        engine::setPrelisten(state_.decks[side].stream, state_.phones.prelisten[side]);
}

void HeadphoneDesk::showButtons() {
    for (std::size_t side = 0; side < 2; ++side)
        if (ConsoleButton* b = controls_.prelistenCB[side])
            b->setBackColor(state_.phones.prelisten[side] ? app::kColourOn : app::kColourOff);
    if (controls_.splitCB)
        controls_.splitCB->setBackColor(state_.phones.split ? app::kColourOn : app::kColourOff);
}

HeadphoneControls buildHeadphoneControls(QWidget* panel) {
    HeadphoneControls c;
    auto button = [panel](const char* name, const QString& caption, const QString& tip,
                          const QRect& geometry) {
        auto* b = new ConsoleButton(caption, tip, panel);
        b->setObjectName(name);
        b->setGeometry(geometry);
        b->setFont(app::consoleFont(7.5));
        b->setBackColor(app::kColourOff);
        return b;
    };
    auto slider = [panel](const char* name, Qt::Orientation orientation, int value,
                          const QString& tip, const QRect& geometry) {
        auto* s = new Slider(orientation, panel);
        s->setObjectName(name);
        s->setRange(0, 100);
        s->setValue(value);
        s->setSingleStep(1);
        s->setPageStep(10);
        s->setTickInterval(10);
        s->setToolTip(tip);
        s->setGeometry(geometry);
        return s;
    };
    c.phonesColumn.push_back(makeCaption("PHONES", panel, {54, 30, 68, 12}));
    c.prelistenCB[0] = button("prelistenCB0", "PFL L",
                              "Pre-listen the left deck in the headphones (A)", {54, 44, 33, 20});
    c.prelistenCB[1] = button("prelistenCB1", "PFL R",
                              "Pre-listen the right deck in the headphones (L)", {89, 44, 33, 20});
    c.splitCB = button("splitCB", "SPLIT",
                       "Split: pre-listen on the left ear, the main mix on the right (H)",
                       {54, 66, 68, 20});
    c.phonesColumn.push_back(makeCaption("CUE  MAIN", panel, {54, 88, 68, 12}));
    c.phonesMixScroll = slider("phonesMixScroll", Qt::Horizontal, 50,
                               "Headphones: pre-listen (G) or the main mix (J)", {54, 100, 68, 20});
    c.phonesVolScroll = slider("phonesVolScroll", Qt::Vertical, 20,
                               "Headphone volume, loud at the top (Y / T)", {76, 122, 24, 50});
    for (QWidget* w : std::initializer_list<QWidget*>{c.prelistenCB[0], c.prelistenCB[1], c.splitCB,
                                                      c.phonesMixScroll, c.phonesVolScroll})
        c.phonesColumn.push_back(w);
    for (QWidget* w : c.phonesColumn)
        w->hide();
    return c;
}

} // namespace mixer
