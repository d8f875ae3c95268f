#pragma once
// Qt's own texts (standard buttons, the print preview, file and colour
// dialogs) in Russian, like the rest of the program.

// Installs the translator of qtbase_ru.qm from Qt's translations folder into
// the application. False, changing nothing, when that file cannot be loaded
// (the standard texts then stay in English).
bool installQtTranslations();
