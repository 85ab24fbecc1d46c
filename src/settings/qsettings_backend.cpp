#include "settings/qsettings_backend.h"

#include <QSettings>
#include <QString>
#include <QVariant>

namespace vk::settings {

QSettingsBackend::QSettingsBackend() {
    Reopen();
}

QSettingsBackend::QSettingsBackend(const std::string& iniPath) : iniPath_(iniPath) {
    Reopen();
}

QSettingsBackend::~QSettingsBackend() = default;

std::unique_ptr<QSettings> QSettingsBackend::Open() const {
    if (!iniPath_.empty()) {
        return std::make_unique<QSettings>(QString::fromStdString(iniPath_), QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganization,
                                       kApplication);
}

void QSettingsBackend::Reopen() {
    settings_ = Open();
    if (settings_->status() == QSettings::FormatError) {
        // What could be parsed of a damaged file is not trusted: start from empty. The
        // status of a QSettings object keeps its first error, so a fresh one judges the
        // writes that follow.
        settings_->clear();
        settings_->sync();
        settings_ = Open();
    }
}

std::optional<StoredValue> QSettingsBackend::Read(const std::string& name) {
    const QVariant value = settings_->value(QString::fromStdString(name));
    switch (value.typeId()) {
        case QMetaType::Int:  // a registry DWORD
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return static_cast<std::uint32_t>(value.toULongLong());
        case QMetaType::QString:  // every value of an INI file
        case QMetaType::QByteArray:
            return value.toString().toStdString();
        default:  // missing, or a type no setting has
            return std::nullopt;
    }
}

bool QSettingsBackend::Write(const std::string& name, const StoredValue& value) {
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
    return settings_->fileName().toStdString();
}

}  // namespace vk::settings
