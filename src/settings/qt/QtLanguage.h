#pragma once

#include <QTranslator>

namespace vornel {

// Qt's own texts (the Yes, No and OK of standard buttons and message boxes)
// in the program's language: Qt's Turkish translation is installed for
// Turkish and removed for English. Needs the application object.
class QtLanguage {
public:
    QtLanguage() = default;
    ~QtLanguage();
    QtLanguage(const QtLanguage&) = delete;
    QtLanguage& operator=(const QtLanguage&) = delete;

    // Installs or removes the translation for language `lang` (1 English,
    // any other Turkish). Returns false when Qt's Turkish translation cannot
    // be found; Qt's texts then stay in English.
    bool apply(int lang);

    bool turkishInstalled() const { return installed_; }

private:
    QTranslator turkish_;
    bool loaded_ = false;
    bool installed_ = false;
};

}  // namespace vornel
