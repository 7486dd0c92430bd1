#pragma once

#include <QSettings>
#include <QString>
#include <memory>
#include <string>

#include "platform/SettingsStore.h"

namespace vornel {

// The per-user settings store on QSettings: organisation and application
// "Halvex" (on Linux ~/.config/Halvex/Halvex.conf), one group per section.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    // An INI file at `iniPath` instead of the user's store.
    explicit QtSettingsStore(const QString& iniPath);

    std::string read(const std::string& section, const std::string& key) const override;
    void write(const std::string& section, const std::string& key,
               const std::string& value) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace vornel
