#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "installer/InstallerPlatform.h"

namespace vornel::test {

// Records every operation the installer asks for, in order, and fails the
// operation numbered `failAt` (0 = the folder query) by its result, or by an
// exception when `throwInstead` is set.
class FakeInstallerPlatform final : public InstallerPlatform {
public:
    struct Call {
        std::string op;
        std::string first;
        std::string second;
        friend bool operator==(const Call&, const Call&) = default;
    };
    struct Box {
        std::string text;
        std::string title;
        MessageIcon icon;
    };

    std::string folder = "/home/u/.local/share/Halvex/components";
    int failAt = -1;
    bool throwInstead = false;

    std::vector<Call> calls;
    std::vector<Box> boxes;

    std::optional<std::string> vbSysDir() override {
        if (!proceed({"vbSysDir", {}, {}})) return std::nullopt;
        return folder;
    }
    bool copyFile(const std::string& from, const std::string& to) override { return proceed({"copy", from, to}); }
    bool registerComponent(const std::string& name, const std::string& path) override {
        return proceed({"register", name, path});
    }
    bool startProgram(const std::string& path) override { return proceed({"start", path, {}}); }
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        boxes.push_back({text, title, icon});
    }

private:
    bool proceed(Call call) {
        calls.push_back(std::move(call));
        if (static_cast<int>(calls.size()) - 1 != failAt) return true;
        if (throwInstead) throw std::runtime_error("refused");
        return false;
    }
};

}  // namespace vornel::test
