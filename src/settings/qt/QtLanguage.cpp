#include "settings/qt/QtLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "settings/TextTable.h"

namespace vornel {

QtLanguage::~QtLanguage() {
    if (installed_) QCoreApplication::removeTranslator(&turkish_);
}

// Only the two languages of the list exist; a number without texts of its
// own shows Turkish, the first-use language.
bool QtLanguage::apply(int lang) {
    if (lang == kLangEnglish) {
        if (installed_) QCoreApplication::removeTranslator(&turkish_);
        installed_ = false;
        return true;
    }
    if (installed_) return true;
    if (!loaded_)
        loaded_ = turkish_.load(QStringLiteral("qtbase_tr"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded_) return false;
    installed_ = QCoreApplication::installTranslator(&turkish_);
    return installed_;
}

}  // namespace vornel
