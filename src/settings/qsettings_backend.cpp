#include "settings/qsettings_backend.h"

#include <QSettings>
#include <QString>
#include <QVariant>
#include <filesystem>

#include "core/persist/atomic_file.h"
#include "core/persist/tool_settings.h"

namespace vk::settings {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxStoreBytes = 1u << 20;

}  // namespace

QSettingsBackend::QSettingsBackend() {
    Reopen();
}

QSettingsBackend::QSettingsBackend(const std::string& iniPath) : iniPath_(iniPath) {
    Reopen();
}

QSettingsBackend::~QSettingsBackend() = default;

std::unique_ptr<QSettings> QSettingsBackend::Open() {
    location_ = iniPath_;
    if (location_.empty()) {
        // Where QSettings keeps it, found without opening it: a QSettings object reads its
        // file at once, and a FIFO there would stop the program before it is checked. A
        // name of nobody's gives the folder.
        const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, "vk-probe", "p");
        const fs::path folder =
            fs::path(probe.fileName().toStdString()).parent_path().parent_path();
        location_ = (folder / kOrganization / (std::string(kApplication) + ".conf")).string();
    }
    const WriteTarget target = ResolveWriteTarget(location_);
    problem_.clear();
    if (!target.outcome) {
        problem_ = location_ + ": " + target.outcome.reason;
        return nullptr;
    }
    location_ = target.path.string();
    std::error_code ec;
    if (fs::is_regular_file(target.path, ec) && fs::file_size(target.path, ec) > kMaxStoreBytes) {
        problem_ = location_ + ": is too large (" + std::to_string(fs::file_size(target.path, ec)) +
                   " bytes; at most " + std::to_string(kMaxStoreBytes) +
                   "); the defaults are used, the file is kept";
        return nullptr;
    }
    return std::make_unique<QSettings>(QString::fromStdString(location_), QSettings::IniFormat);
}

void QSettingsBackend::Reopen() {
    settings_ = Open();
    if (!settings_) return;
    if (settings_->status() == QSettings::FormatError) {
        // What could be parsed of a damaged file is not trusted: start from empty. The
        // status of a QSettings object keeps its first error, so a fresh one judges the
        // writes that follow.
        settings_->clear();
        settings_->sync();
        settings_ = Open();
        if (!settings_) return;
    }
    ForgetOtherValues();
}

// Values that are not the tool's (hand-written, or left by another version) are not
// carried on into the next write.
void QSettingsBackend::ForgetOtherValues() {
    for (const QString& key : settings_->allKeys()) {
        if (!ToolSettings::IsSettingName(key.toStdString())) settings_->remove(key);
    }
}

std::optional<StoredValue> QSettingsBackend::Read(const std::string& name) {
    if (!settings_) return std::nullopt;
    const QVariant value = settings_->value(QString::fromStdString(name));
    switch (value.typeId()) {
        case QMetaType::Int:  // a registry DWORD, whose bits are kept
            return static_cast<std::uint32_t>(value.toInt());
        case QMetaType::UInt:
            return value.toUInt();
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            bool ok = false;
            const qulonglong number = value.toULongLong(&ok);
            // Not cut down to 32 bits, which could make a wrong value a valid one.
            if (!ok || number > UINT32_MAX) return std::nullopt;
            return static_cast<std::uint32_t>(number);
        }
        case QMetaType::QString:  // every value of an INI file
        case QMetaType::QByteArray:
            return value.toString().toStdString();
        default:  // missing, or a type no setting has
            return std::nullopt;
    }
}

bool QSettingsBackend::Write(const std::string& name, const StoredValue& value) {
    if (!settings_) return false;
    const QString key = QString::fromStdString(name);
    const QVariant previous = settings_->value(key);
    if (const auto* number = std::get_if<std::uint32_t>(&value)) {
        settings_->setValue(key, QVariant::fromValue(static_cast<uint>(*number)));
    } else {
        settings_->setValue(key, QString::fromStdString(std::get<std::string>(value)));
    }
    settings_->sync();
    if (settings_->status() == QSettings::NoError) return true;
    // A value that did not reach the store is not read back either.
    if (previous.isValid()) {
        settings_->setValue(key, previous);
    } else {
        settings_->remove(key);
    }
    Reopen();  // so that a later write is judged on its own
    return false;
}

std::string QSettingsBackend::Location() const {
    return location_;
}

}  // namespace vk::settings
