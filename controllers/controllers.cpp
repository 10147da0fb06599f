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
// The registry value (under the program's settings) naming the mapping file
// of all devices, and the key whose values name each device's own.
const QString kMappingValue = "Controller mapping";
const QString kDeviceMappingsKey = "Controller mappings";

QString deviceMappingsKey() {
    return core::settingsKeyPath() + "\\" + kDeviceMappingsKey;
}

} // namespace

Controllers::Controllers(core::ProgramState& state, mixer::ActionRunner& actions,
                         std::vector<std::unique_ptr<midi::MidiTransport>> transports)
    : state_(state), transports_(std::move(transports)), actions_(actions) {
    all_.controller = std::make_unique<MappedController>(
        actions, [this](const midi::MidiMessage& m) { sendLight(m, {}); });
    lightsTimer_.setInterval(kLightsMs);
    connect(&lightsTimer_, &QTimer::timeout, this, [this] {
        checkDevices();
        all_.controller->updateLights();
        for (auto& [device, played] : own_)
            played.controller->updateLights();
    });
    for (const auto& transport : transports_)
        transport->setWake([this] { poll(); });
}

void Controllers::listen() {
    const bool on = !transports_.empty() && (mapping() || !own_.empty() || learning_);
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
    for (const QString& device :
         core::list_RegValues(reg::HKEY_LOCAL_MACHINE, deviceMappingsKey())) {
        const QString own =
            core::get_RegValue(reg::HKEY_LOCAL_MACHINE, deviceMappingsKey(), device);
        if (own != core::notFoundMarker() && !own.isEmpty())
            useMapping(own, device);
    }
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

QString Controllers::play(Played& played, const QString& path) {
    played.path.clear();
    played.controller->setMapping(std::nullopt);
    MappingRead read = path.isEmpty() ? MappingRead{} : readMappingFile(path);
    if (read.mapping) {
        played.path = path;
        played.controller->setMapping(std::move(read.mapping));
    }
    return read.error;
}

void Controllers::remember(const QString& device, const QString& path) {
    if (device.isEmpty())
        core::save_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), kMappingValue,
                            reg::REG_SZ, path);
    else if (path.isEmpty())
        core::delete_RegValue(reg::HKEY_LOCAL_MACHINE, deviceMappingsKey(), device);
    else
        core::save_RegValue(reg::HKEY_LOCAL_MACHINE, deviceMappingsKey(), device, reg::REG_SZ,
                            path);
}

bool Controllers::useMapping(const QString& path, const QString& device) {
    learning_.reset();
    QString error;
    if (device.isEmpty()) {
        error = play(all_, path);
    } else {
        Played played;
        played.controller = std::make_unique<MappedController>(
            actions_, [this, device](const midi::MidiMessage& m) { sendLight(m, device); });
        error = play(played, path);
        if (played.path.isEmpty()) {
            own_.erase(device);
            // All devices' lights now include this one's.
            all_.controller->resendLights();
        } else {
            own_[device] = std::move(played);
        }
    }
    remember(device, device.isEmpty() ? all_.path : mappingPath(device));
    listen();
    if (!error.isEmpty())
        state_.dialogs.msgBox(error, ui::vbExclamation, "Controller mapping");
    return error.isEmpty();
}

QString Controllers::mappingPath(const QString& device) const {
    const auto own = own_.find(device);
    return own == own_.end() ? QString() : own->second.path;
}

QStringList Controllers::devices() const {
    QStringList names;
    for (const auto& transport : transports_)
        for (const midi::MidiDevice& device : transport->devices())
            names << QString::fromStdString(device.name);
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

Controllers::Played& Controllers::playedBy(const QString& device) {
    const auto own = own_.find(device);
    return own == own_.end() ? all_ : own->second;
}

void Controllers::poll() {
    for (const auto& transport : transports_) {
        received_.clear();
        transport->poll(received_);
        if (received_.empty())
            continue;
        // Names only matter where a device has a mapping of its own.
        std::map<std::uint32_t, QString> names;
        if (!own_.empty() || learning_)
            for (const midi::MidiDevice& device : transport->devices())
                names[device.id] = QString::fromStdString(device.name);
        for (const midi::MidiMessage& message : received_) {
            const auto name = names.find(message.device);
            const QString device = name == names.end() ? QString() : name->second;
            if (learning_)
                learnFrom(message, device);
            else
                playedBy(device).controller->receive(message);
        }
    }
}

void Controllers::checkDevices() {
    const QStringList now = devices();
    if (now == devices_)
        return;
    devices_ = now;
    // A device that came has every light sent again; the faders already
    // taken over stay so.
    all_.controller->resendLights();
    for (auto& [device, played] : own_)
        played.controller->resendLights();
    emit devicesChanged();
}

void Controllers::learnFrom(const midi::MidiMessage& message, const QString& device) {
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
    Played& played = playedBy(device);
    MappedController& controller = *played.controller;
    Mapping mapping = controller.mapping().value_or(Mapping{"Learned", {}});
    // The control moved now does only this; its old binding goes.
    std::erase_if(mapping.bindings, [&](const Binding& old) {
        return old.kind == b.kind && old.channel == b.channel && old.number == b.number;
    });
    mapping.bindings.push_back(b);
    // A shipped mapping is saved as the user's own copy.
    QString path = played.path;
    if (path.isEmpty() || !path.startsWith(userFolder() + "/"))
        path = userFolder() + "/" +
               (path.isEmpty() ? QString("learned.json") : QFileInfo(path).fileName());
    QDir().mkpath(userFolder());
    const bool saved = sys::writeFileContents(path, mappingText(mapping)).isEmpty();
    controller.setMapping(std::move(mapping));
    if (saved) {
        played.path = path;
        remember(&played == &all_ ? QString() : device, path);
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

void Controllers::sendLight(midi::MidiMessage message, const QString& device) {
    for (const auto& transport : transports_) {
        if (device.isEmpty() && own_.empty()) {
            message.device = midi::kAllDevices;
            transport->send(message);
            continue;
        }
        for (const midi::MidiDevice& connected : transport->devices()) {
            const QString name = QString::fromStdString(connected.name);
            if (device.isEmpty() ? own_.contains(name) : name != device)
                continue;
            message.device = connected.id;
            transport->send(message);
        }
    }
}

} // namespace controllers
