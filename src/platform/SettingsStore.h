#pragma once

#include <map>
#include <string>
#include <tuple>

namespace vornel {

// The maker's name: the application name of the settings store, and the
// per-user folder the installer puts the components in.
inline constexpr const char* kMakerName = "Halvex";

// The per-user settings store: strings by application, section and key. A
// missing key reads as the empty string.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string read(const std::string& section, const std::string& key) const = 0;
    virtual void write(const std::string& section, const std::string& key, const std::string& value) = 0;
};

// A store that lives in memory only; for tests.
class MemorySettingsStore final : public SettingsStore {
public:
    std::string read(const std::string& section, const std::string& key) const override {
        auto it = values_.find({section, key});
        return it == values_.end() ? std::string() : it->second;
    }
    void write(const std::string& section, const std::string& key, const std::string& value) override {
        values_[{section, key}] = value;
    }

private:
    std::map<std::tuple<std::string, std::string>, std::string> values_;
};

}  // namespace vornel
