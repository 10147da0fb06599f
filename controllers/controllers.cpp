#include "controllers/controllers.h"

#include "controllers/controller_window.h"
#include "core/fixed_texts.h"
#include "core/program_state.h"
#include "core/registry_values.h"
#include "platform/system/folders.h"
#include "platform/system/safe_rewrite.h"
#include "platform/ui/dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace controllers {

namespace {
// The registry value (under the program's settings) naming the mapping file in use.
const QString kMappingValue = "Controller mapping";
} // namespace

Controllers::Controllers(core::ProgramState& state, mixer::ActionRunner& actions,
                         std::vector<std::unique_ptr<midi::MidiTransport>> transports)
    : state_(state), transports_(std::move(transports)),
      controller_(actions, [this](const midi::MidiMessage& m) { sendToAll(m); }) {
    lightsTimer_.setInterval(kLightsMs);
    connect(&lightsTimer_, &QTimer::timeout, this, [this] {
        checkDevices();
        controller_.updateLights();
    });
    for (const auto& transport : transports_)
        transport->setWake([this] { poll(); });
}

void Controllers::listen() {
    const bool on = !transports_.empty() && (controller_.mapping() || learning_);
    if (on && !lightsTimer_.isActive())
        lightsTimer_.start();
    else if (!on)
        lightsTimer_.stop();
}

void Controllers::restoreMapping() {
    const QString path =
        core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), kMappingValue);
    if (path != core::notFoundMarker() && !path.isEmpty())
        useMapping(path);
}

Controllers::~Controllers() {
    // Their threads go before anything they could wake.
    transports_.clear();
}

QString Controllers::shippedFolder() {
    return QDir::cleanPath(sys::programFolder() + "/../share/vorlan/controllers");
}

QString Controllers::userFolder() {
    return sys::systemFolder() + "/controllers";
}

QStringList Controllers::mappingFiles() const {
    QStringList files;
    for (const QString& folder : {shippedFolder(), userFolder()})
        for (const QFileInfo& file :
             QDir(folder).entryInfoList({"*.json"}, QDir::Files, QDir::Name))
            files << file.absoluteFilePath();
    return files;
}

bool Controllers::useMapping(const QString& path) {
    learning_.reset();
    mappingPath_.clear();
    controller_.setMapping(std::nullopt);
    MappingRead read = path.isEmpty() ? MappingRead{} : readMappingFile(path);
    if (read.mapping) {
        mappingPath_ = path;
        controller_.setMapping(std::move(read.mapping));
    }
    core::save_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), kMappingValue,
                        reg::REG_SZ, mappingPath_);
    listen();
    if (!read.error.isEmpty())
        state_.dialogs.msgBox(read.error, ui::vbExclamation, "Controller mapping");
    return read.error.isEmpty();
}

QStringList Controllers::devices() const {
    QStringList names;
    for (const auto& transport : transports_)
        for (const std::string& name : transport->devices())
            names << QString::fromStdString(name);
    return names;
}

void Controllers::learn(mixer::Action action) {
    learning_ = action;
    listen();
}

void Controllers::cancelLearning() {
    learning_.reset();
    listen();
}

void Controllers::poll() {
    received_.clear();
    for (const auto& transport : transports_)
        transport->poll(received_);
    for (const midi::MidiMessage& message : received_) {
        if (learning_)
            learnFrom(message);
        else
            controller_.receive(message);
    }
}

void Controllers::checkDevices() {
    const QStringList now = devices();
    if (now == devices_)
        return;
    devices_ = now;
    // A device that came has every light sent again.
    controller_.setMapping(controller_.mapping());
    emit devicesChanged();
}

void Controllers::learnFrom(const midi::MidiMessage& message) {
    Binding b;
    b.action = *learning_;
    b.channel = message.channel();
    b.number = message.data1();
    const bool value = mixer::actionRow(b.action).repeat == mixer::Repeat::Value;
    switch (message.kind()) {
    case midi::kNoteOn:
        if (message.data2() == 0)
            return;
        b.kind = MessageKind::Note;
        b.light = !value;
        break;
    case midi::kControlChange:
        b.kind = MessageKind::Control;
        b.softTakeover = value;
        break;
    case midi::kPitchBend:
        b.kind = MessageKind::PitchBend;
        b.number = 0;
        b.softTakeover = value;
        break;
    default:
        return; // note offs and the like: still waiting
    }
    learning_.reset();
    Mapping mapping = controller_.mapping().value_or(Mapping{"Learned", {}});
    // The control moved now does only this; its old binding goes.
    std::erase_if(mapping.bindings, [&](const Binding& old) {
        return old.kind == b.kind && old.channel == b.channel && old.number == b.number;
    });
    mapping.bindings.push_back(b);
    // A shipped mapping is saved as the user's own copy.
    QString path = mappingPath_;
    if (path.isEmpty() || !path.startsWith(userFolder() + "/"))
        path = userFolder() + "/" +
               (path.isEmpty() ? QString("learned.json") : QFileInfo(path).fileName());
    QDir().mkpath(userFolder());
    const bool saved = sys::writeFileContents(path, mappingText(mapping)).isEmpty();
    controller_.setMapping(std::move(mapping));
    if (saved) {
        mappingPath_ = path;
        core::save_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), kMappingValue,
                            reg::REG_SZ, mappingPath_);
    }
    listen();
    emit learned(saved ? path : QString());
}

ControllerWindow& Controllers::window() {
    if (!window_)
        window_ = std::make_unique<ControllerWindow>(*this);
    return *window_;
}

void Controllers::showWindow() {
    window().Form_Load();
    window().show();
    window().raise();
    window().activateWindow();
}

void Controllers::sendToAll(const midi::MidiMessage& message) {
    for (const auto& transport : transports_)
        transport->send(message);
}

} // namespace controllers
