#include "platform/qt/QtSettingsStore.h"

#include "platform/qt/QtConversions.h"

namespace vornel {

namespace {

// QSettings would read "a/b" as a nested group; a section or key is one name,
// and an empty one names nothing.
bool isName(const std::string& s) {
    return !s.empty() && s.find('/') == std::string::npos && s.find('\\') == std::string::npos;
}

QString path(const std::string& section, const std::string& key) {
    return qtString(section) + '/' + qtString(key);
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            kMakerName, kMakerName)) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

std::string QtSettingsStore::read(const std::string& section, const std::string& key) const {
    if (!isName(section) || !isName(key)) return {};
    return settings_->value(path(section, key)).toString().toStdString();
}

// Written through at once, as the store is read back by a later start that may
// follow a crash or a killed process.
void QtSettingsStore::write(const std::string& section, const std::string& key,
                            const std::string& value) {
    if (!isName(section) || !isName(key)) return;
    settings_->setValue(path(section, key), qtString(value));
    settings_->sync();
}

}  // namespace vornel
