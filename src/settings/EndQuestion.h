#pragma once

namespace vornel {

class Dialogs;

// Asks in language `langNo` whether to end the program; true for Yes. A
// language without texts of its own asks in Turkish, the program's language
// at its first start.
bool askToEndProgram(Dialogs& dialogs, int langNo);

}  // namespace vornel
