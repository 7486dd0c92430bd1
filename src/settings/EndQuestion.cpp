#include "settings/EndQuestion.h"

#include <string>

#include "platform/Dialogs.h"
#include "settings/TextTable.h"

namespace vornel {

bool askToEndProgram(Dialogs& dialogs, int langNo) {
    if (langNo == kLangEnglish) return dialogs.askYesNo("Are you sure?", std::string(kAppTitle) + " - Exit (?)");
    return dialogs.askYesNo("Çıkmak istediğinizden emin misiniz?", kAppTitle);
}

}  // namespace vornel
